// Geometry codes, sizing, titles, visibility and the border of the windows.
#include "app/app_delegate.h"
#include "platform/widgets.h"
#include "window_test_support.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>

namespace {

class WindowPlacement : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    }
    void TearDown() override
    {
        t_WindowTitleVisible(0, true);
        WindowTest::TearDown();
    }

    const int64_t c = sideWindowChromeHeight;
};

}  // namespace

TEST_F(WindowPlacement, GeometryCodesOfTheProgramWindow)
{
    t_Rect screen = screenframe(windowobject(0)), frame = widgetframe(windowobject(0));
    const std::pair<int64_t, int64_t> codes[] = {
        {0, 1}, {2, 80}, {5, 25}, {8, 1280}, {9, 800}, {10, 1312}, {11, 832}, {12, 832 + c}, {18, 16}, {17, 0},
        {99, 0}, {15, int64_t(screen.width)}, {16, int64_t(screen.height)}, {13, int64_t(frame.x)},
        {20, int64_t(frame.y)}, {14, int64_t(screen.height) - int64_t(frame.y) - (832 + c)}};
    for (auto [code, value] : codes) EXPECT_EQ(t_WindowPos(0, code), value) << "code " << code;
    EXPECT_EQ(loglines([] { EXPECT_EQ(t_WindowPos(13, 0), 0); }), Lines{"t_WindowPos: Window does not exist."});
    // The side windows' codes use their frame.
    windowobject(11)->resize(400, 300);
    for (auto [code, value] : {std::pair{2, 399}, {7, 300}, {9, 300 - int(c)}, {18, 0}})
        EXPECT_EQ(t_WindowPos(11, code), value) << "code " << code;
}

TEST_F(WindowPlacement, SizingKeepsTheOriginAndScalesTheViewAndTheTitleCounts)
{
    t_Rect before = widgetframe(windowobject(0));
    t_WindowSize(0, -1, -1, 640, 400);
    EXPECT_EQ(widgetframe(windowobject(0)), (t_Rect{before.x, before.y, 672, 432.0 + c}));  // the picture stays 1280 x 800
    t_WindowSize(0, 100, 200, -1, -1);
    EXPECT_EQ(widgetframe(windowobject(0)), (t_Rect{100, 200, 1312, 832.0 + c}));
    EXPECT_EQ(loglines([] { t_WindowSize(2, -1, -1, 10, 10); }), Lines{"t_WindowSize: Window #2 not initialized."});
    t_WindowSize(11, 10, 20, 300, 200);
    EXPECT_EQ(widgetframe(windowobject(11)), (t_Rect{10, 20, 300, 200.0 + c}));
    // Without a title the window is frameless.
    t_WindowTitleVisible(0, false);
    EXPECT_TRUE(windowobject(0)->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(qobject_cast<QMainWindow*>(windowobject(0))->menuBar()->isVisibleTo(windowobject(0)));
    t_WindowSize(0, -1, -1, -1, -1);
    EXPECT_EQ(std::tuple(windowTable[0].TitleHeight, widgetframe(windowobject(0)).height), std::tuple(0, 832.0));
    t_WindowTitleVisible(0, true);
    EXPECT_EQ(windowTable[0].TitleHeight, c);
    // The view is placed from the bottom: the border below it stays when the title goes or
    // comes back without a resize, in a shown and in a hidden window.
    t_WindowSize(0, -1, -1, -1, -1);
    for (bool shown : {true, false}) {
        t_WindowVisible(0, shown);
        Lines borders;
        for (bool title : {false, true}) {
            t_WindowTitleVisible(0, title);
            t_WindowVisible(0, true);
            QCoreApplication::processEvents();
            const t_Rect view = widgetframe(windowview(0));
            borders.push_back(std::to_string(view.x) + " " + std::to_string(view.y));
            t_WindowVisible(0, shown);
        }
        EXPECT_EQ(borders, Lines(2, "16.000000 16.000000")) << shown;
    }
}

TEST_F(WindowPlacement, FrontShowsAHiddenWindowCentreCentresAndTheBorderHasAPaletteColour)
{
    t_WindowVisible(0, false);
    t_WindowFront(0);
    EXPECT_TRUE(windowTable[0].Visible && windowobject(0)->isVisible());
    EXPECT_EQ(mainwindownumber(), 0);
    t_WindowCenter(0);
    EXPECT_LE(std::abs(windowobject(0)->geometry().center().x() - int(screenframe(windowobject(0)).width) / 2), 1);
    // The border colour comes from the palette.
    t_ColorBorder(0, 21);
    EXPECT_EQ(windowTable[0].RGBColorBorder, palettecolor(5));
    t_ColorBorder(0, 1);
    QWidget* content = qobject_cast<QMainWindow*>(windowobject(0))->centralWidget();
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(loglines([] { t_ColorBorder(4, 1); }), Lines{"t_ColorBorder: Window #4 not initialized."});
}

TEST_F(WindowPlacement, TitlesAndSideWindows)
{
    t_WindowTitle(11, "Vorgaben");
    EXPECT_EQ(windowobject(11)->windowTitle(), QStringLiteral("Vorgaben"));
    EXPECT_EQ(loglines([] { t_WindowTitle(200, "x"); }), Lines{"t_WindowTitle: Window does not exist."});
    t_WindowVisible(8, true);  // the menu tests show what it shows
    EXPECT_TRUE(windowobject(8)->isVisible());

    AppDelegate full = appDelegate();
    appDelegate().VirtualPrinterTextView = nullptr;
    auto lines = loglines([] { t_WindowVisible(9, true); });
    appDelegate() = full;
    EXPECT_EQ(lines, Lines{"t_WindowVisible: Virtual printer window is nil, resource undefined."});
    EXPECT_FALSE(windowobject(9)->isVisible());
}

TEST_F(WindowPlacement, ExtremeNumbersAreHeldAtTheLimits)
{
    // Borders of any size: the frame's sums stop at the largest Int, the screen's size stays.
    t_InitWindow(1, 8, false, 64, 48, INT64_MAX, INT64_MAX, t_Font{}, false);
    for (auto [code, value] : {std::pair<int64_t, int64_t>{8, 64}, {9, 48}, {10, INT64_MAX}, {12, INT64_MAX}, {18, INT64_MAX}})
        EXPECT_EQ(t_WindowPos(1, code), value) << "code " << code;
    EXPECT_LT(t_WindowPos(1, 14), 0);
    // Frames far beyond the screen are held at what the window system takes.
    for (double far : {1e10, -1e10}) {
        t_WindowSize(0, int64_t(far), int64_t(far), INT64_MAX, int64_t(far));
        t_Rect frame = widgetframe(windowobject(0));
        EXPECT_EQ(std::tuple(std::abs(frame.x), frame.width), std::tuple(32767.0, 32767.0)) << far;
    }
    // A side window's scroll view keeps its size on a side given as -1.
    QWidget* scroll = appDelegate().VirtualPrinterScrollView;
    t_WindowSize(9, 10, 20, 500, 300);
    const QSize sized = scroll->size();
    t_WindowSize(9, -1, -1, -1, -1);
    EXPECT_EQ(scroll->size(), sized);
    t_WindowSize(9, -1, -1, 600, -1);
    EXPECT_EQ(scroll->size(), QSize(560, sized.height()));
    // The same size whether the window was hidden or shown when it was sized.
    for (bool shown : {false, true}) {
        t_WindowVisible(9, shown);
        t_WindowSize(9, 10, 20, 440, 280);
        t_WindowVisible(9, true);
        QCoreApplication::processEvents();
        EXPECT_EQ(scroll->size(), QSize(400, 203)) << shown;
        t_WindowVisible(9, false);
    }
}
