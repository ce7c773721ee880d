// Geometry codes, sizing, titles, visibility and the border of the windows.
#include "app/app_delegate.h"
#include "platform/widgets.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QWidget>

namespace {

class WindowPlacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetwindows();
        t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    }
    void TearDown() override
    {
        t_WindowTitleVisible(0, true);
        for (uint8_t n : {0, 8, 9, 10, 11}) windowobject(n)->hide();
        resetwindows();
    }
};

}  // namespace

TEST_F(WindowPlacement, GeometryCodesOfTheProgramWindow)
{
    const int64_t c = sideWindowChromeHeight;
    EXPECT_EQ(t_WindowPos(0, 0), 1);
    EXPECT_EQ(t_WindowPos(0, 2), 80);
    EXPECT_EQ(t_WindowPos(0, 5), 25);
    EXPECT_EQ(t_WindowPos(0, 8), 1280);
    EXPECT_EQ(t_WindowPos(0, 9), 800);
    EXPECT_EQ(t_WindowPos(0, 10), 1312);
    EXPECT_EQ(t_WindowPos(0, 11), 832);
    EXPECT_EQ(t_WindowPos(0, 12), 832 + c);
    EXPECT_EQ(t_WindowPos(0, 18), 16);
    EXPECT_EQ(t_WindowPos(0, 17), 0);
    EXPECT_EQ(t_WindowPos(0, 99), 0);
    t_Rect screen = screenframe(windowobject(0));
    EXPECT_EQ(t_WindowPos(0, 15), screen.width);
    EXPECT_EQ(t_WindowPos(0, 16), screen.height);
    t_Rect frame = widgetframe(windowobject(0));
    EXPECT_EQ(t_WindowPos(0, 13), frame.x);
    EXPECT_EQ(t_WindowPos(0, 20), frame.y);
    EXPECT_EQ(t_WindowPos(0, 14), int64_t(screen.height) - int64_t(frame.y) - (832 + c));
    EXPECT_EQ(loglines([] { EXPECT_EQ(t_WindowPos(13, 0), 0); }),
              std::vector<std::string>{"t_WindowPos: Window does not exist."});
}

TEST_F(WindowPlacement, SideWindowCodesUseTheirFrame)
{
    const int64_t c = sideWindowChromeHeight;
    windowobject(11)->resize(400, 300);
    EXPECT_EQ(t_WindowPos(11, 2), 399);
    EXPECT_EQ(t_WindowPos(11, 7), 300);
    EXPECT_EQ(t_WindowPos(11, 9), 300 - c);
    EXPECT_EQ(t_WindowPos(11, 18), 0);
}

TEST_F(WindowPlacement, SizingKeepsTheOriginAndScalesTheView)
{
    const int64_t c = sideWindowChromeHeight;
    t_Rect before = widgetframe(windowobject(0));
    t_WindowSize(0, -1, -1, 640, 400);
    t_Rect after = widgetframe(windowobject(0));
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.width, 672);
    EXPECT_EQ(after.height, 432 + c);
    EXPECT_EQ(windowview(0)->size(), QSize(640, 400));
    EXPECT_EQ(windowTable[0].Width, 1280);
    t_WindowSize(0, 100, 200, -1, -1);
    EXPECT_EQ(widgetframe(windowobject(0)), (t_Rect{100, 200, 1312, 832.0 + c}));
    EXPECT_EQ(loglines([] { t_WindowSize(2, -1, -1, 10, 10); }),
              std::vector<std::string>{"t_WindowSize: Window #2 not initialized."});
}

TEST_F(WindowPlacement, InvisibleTitleMakesAFramelessWindow)
{
    t_WindowTitleVisible(0, false);
    EXPECT_EQ(windowTable[0].TitleHeight, 0);
    EXPECT_TRUE(windowobject(0)->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(qobject_cast<QMainWindow*>(windowobject(0))->menuBar()->isVisibleTo(windowobject(0)));
    t_WindowSize(0, -1, -1, -1, -1);
    EXPECT_EQ(widgetframe(windowobject(0)).height, 832);
    t_WindowTitleVisible(0, true);
    EXPECT_EQ(windowTable[0].TitleHeight, sideWindowChromeHeight.load());
}

TEST_F(WindowPlacement, FrontShowsAHiddenWindowAndCentreCentres)
{
    t_WindowVisible(0, false);
    EXPECT_FALSE(windowTable[0].Visible);
    t_WindowFront(0);
    EXPECT_TRUE(windowTable[0].Visible);
    EXPECT_TRUE(windowobject(0)->isVisible());
    EXPECT_EQ(mainwindownumber(), 0);
    t_WindowCenter(0);
    t_Rect screen = screenframe(windowobject(0));
    QRect box = windowobject(0)->geometry();
    EXPECT_LE(std::abs(box.center().x() - int(screen.width) / 2), 1);
}

TEST_F(WindowPlacement, BorderColourComesFromThePalette)
{
    t_ColorBorder(0, 21);
    EXPECT_EQ(windowTable[0].RGBColorBorder, palettecolor(5));
    t_ColorBorder(0, 1);
    EXPECT_EQ(windowTable[0].RGBColorBorder, palettecolor(1));
    QWidget* content = qobject_cast<QMainWindow*>(windowobject(0))->centralWidget();
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(loglines([] { t_ColorBorder(8, 1); }),
              std::vector<std::string>{"t_ColorBorder: Window is not a graphic window."});
    EXPECT_EQ(loglines([] { t_ColorBorder(4, 1); }),
              std::vector<std::string>{"t_ColorBorder: Window #4 not initialized."});
}

TEST_F(WindowPlacement, TitlesAndSideWindows)
{
    t_WindowTitle(11, "Vorgaben");
    EXPECT_EQ(windowobject(11)->windowTitle(), QStringLiteral("Vorgaben"));
    EXPECT_EQ(loglines([] { t_WindowTitle(200, "x"); }),
              std::vector<std::string>{"t_WindowTitle: Window does not exist."});

    QGuiApplication::clipboard()->setText(QStringLiteral("aus der Ablage"));
    t_WindowVisible(8, true);
    EXPECT_TRUE(windowobject(8)->isVisible());
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(windowtextview(8))->toPlainText(), QStringLiteral("aus der Ablage"));
    t_WindowVisible(8, false);
    EXPECT_FALSE(windowobject(8)->isVisible());

    AppDelegate full = appDelegate();
    appDelegate().VirtualPrinterTextView = nullptr;
    auto lines = loglines([] { t_WindowVisible(9, true); });
    appDelegate() = full;
    EXPECT_EQ(lines, std::vector<std::string>{"t_WindowVisible: Virtual printer window is nil, resource undefined."});
    EXPECT_FALSE(windowobject(9)->isVisible());

    const int64_t c = sideWindowChromeHeight;
    t_WindowSize(11, 10, 20, 300, 200);
    EXPECT_EQ(widgetframe(windowobject(11)), (t_Rect{10, 20, 300, 200.0 + c}));
}
