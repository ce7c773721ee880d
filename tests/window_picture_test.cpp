// The picture of a window at every depth, the views that show it, updates and the text screen.
#include "events/views.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"
#include "windows/window_update.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

class WindowPicture : public ::testing::Test {
protected:
    void SetUp() override { resetwindows(); }
    void TearDown() override
    {
        for (uint8_t n : {0, 1}) windowobject(n)->hide();
        resetwindows();
    }

    // Creates window 1 of 32 x 32 pixels at `depth`, shown, and fills its graphic memory
    // with `bytes` repeated.
    static void makeWindow(int64_t depth, const std::vector<uint8_t>& bytes)
    {
        t_InitWindow(1, depth, false, 32, 32, 0, 0, t_Font{}, true);
        ASSERT_TRUE(windowTable[1].Initialized);
        t_WindowVisible(1, true);
        const t_Window& w = windowTable[1];
        for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; ++i)
            memoryPool[i] = bytes[(i - w.MemoryStart) % bytes.size()];
    }

    static QRgb pixel(int x, int y = 0)
    {
        QImage picture = t_WindowImage(1);
        EXPECT_FALSE(picture.isNull());
        return picture.isNull() ? 0 : picture.pixel(x, y);
    }
};

}  // namespace

TEST_F(WindowPicture, OneBitShowsWhiteAndBlack)
{
    makeWindow(1, {170});
    for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(x), x % 2 == 0 ? 0xFFFFFFFFu : 0xFF000000u) << x;
}

TEST_F(WindowPicture, FourBitsPickPaletteEntries)
{
    makeWindow(4, {0xF0, 0x71});
    EXPECT_EQ(pixel(0), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(1), 0xFF000000u);
    EXPECT_EQ(pixel(2), qRgb(0, 128, 255));
    EXPECT_EQ(pixel(3), qRgb(255, 0, 0));
}

TEST_F(WindowPicture, GreyDepths)
{
    makeWindow(8, {0, 200});
    EXPECT_EQ(pixel(1), qRgb(200, 200, 200));
    makeWindow(16, {9, 100});
    EXPECT_EQ(pixel(3), qRgb(100, 100, 100));  // the first byte of a pixel is not shown
}

TEST_F(WindowPicture, ColourDepths)
{
    makeWindow(24, {10, 20, 30, 40, 50, 60});
    EXPECT_EQ(pixel(0), qRgb(10, 20, 30));
    EXPECT_EQ(pixel(1), qRgb(40, 50, 60));
    EXPECT_EQ(pixel(31, 31), qRgb(40, 50, 60));  // the last pixel, read byte by byte
    makeWindow(32, {0, 255, 0, 0, 123, 1, 2, 3});
    EXPECT_EQ(pixel(0), qRgb(255, 0, 0));
    EXPECT_EQ(pixel(1), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(pixel(1)), 255);
}

TEST_F(WindowPicture, EveryPixelOfTheColourDepthsFollowsItsBytes)
{
    for (int64_t depth : {24, 32}) {
        std::vector<uint8_t> bytes(997);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 193 + 17);
        makeWindow(depth, bytes);
        QImage picture = t_WindowImage(1);
        const t_Window& w = windowTable[1];
        const int64_t size = depth / 8, skip = depth == 32 ? 1 : 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint8_t* p = &memoryPool[w.MemoryStart + (y * 32 + x) * size + skip];
                ASSERT_EQ(picture.pixel(x, y), qRgb(p[0], p[1], p[2])) << depth << " bit at " << x << "," << y;
            }
        }
    }
}

TEST_F(WindowPicture, NoPictureOfHiddenOrMissingWindows)
{
    makeWindow(8, {1});
    t_WindowVisible(1, false);
    std::vector<std::string> lines = loglines([] { EXPECT_TRUE(t_WindowImage(1).isNull()); });
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(windowTable[1].UpdateDuration, 0);
    lines = loglines([] { EXPECT_TRUE(t_WindowImage(4).isNull()); });
    EXPECT_EQ(lines, std::vector<std::string>{"t_WindowImage: Graphic window #4 not initialized."});
    EXPECT_TRUE(windowNSImage(9).isNull());
}

TEST_F(WindowPicture, PictureNotesItsTimes)
{
    makeWindow(24, {1, 2, 3});
    EXPECT_FALSE(t_WindowImage(1).isNull());
    EXPECT_GT(windowTable[1].UpdateFinished, 0);
    EXPECT_GE(windowTable[1].UpdateDuration, 0);
    EXPECT_EQ(windowNSImage(1).size(), QSize(32, 32));
}

TEST_F(WindowPicture, ViewShowsThePictureScaledWithoutSmoothing)
{
    makeWindow(8, {0, 255});
    QWidget* view = windowview(1);
    t_WindowSize(1, -1, -1, 128, 128);  // four times the picture's size
    QImage shown = view->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(128, 128));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(3, 5), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(4, 5), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(7, 127), qRgb(255, 255, 255));
}

TEST_F(WindowPicture, QuickUpdateKeepsTheLastPicture)
{
    makeWindow(8, {90});
    auto* view = dynamic_cast<GraphicView*>(windowview(1));
    view->grab();
    EXPECT_EQ(view->shownPicture().pixel(0, 0), qRgb(90, 90, 90));
    t_WindowVisible(1, false);  // no new picture comes
    view->grab();
    EXPECT_FALSE(view->shownPicture().isNull());
    windowTable[1].QuickUpdate = false;  // the drawing path draws nothing then
    view->grab();
    EXPECT_TRUE(view->shownPicture().isNull());
}

TEST_F(WindowPicture, WindowZeroIsInVerticalBlankOutsideItsPicture)
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    t_WindowFront(0);
    windowview(0)->grab();
    EXPECT_TRUE(windowTable[0].VerticalBlank);
    EXPECT_TRUE(wantsupdatelayer(0));
    EXPECT_FALSE(wantsupdatelayer(5));
}

TEST_F(WindowPicture, UpdatesAndTheirRefusals)
{
    EXPECT_EQ(loglines([] { t_WindowUpdate(9, false); }),
              std::vector<std::string>{"t_WindowUpdate: Window is not a graphic window."});
    EXPECT_EQ(loglines([] { t_WindowAutoUpdate(3, true); }),
              std::vector<std::string>{"t_WindowAutoUpdate: Window #3 not initialized."});
    EXPECT_EQ(loglines([] { t_WindowAutoUpdate(8, true); }),
              std::vector<std::string>{"t_WindowAutoUpdate: Window is not a graphic window."});
    makeWindow(8, {1});
    EXPECT_TRUE(loglines([] { t_WindowUpdate(1, false); }).empty());
    t_WindowAutoUpdate(1, true);
    EXPECT_TRUE(windowTable[1].AutoUpdate);
}

TEST_F(WindowPicture, RefreshRateZeroRedisplaysOnEveryPass)
{
    makeWindow(8, {1});
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        windowTable[1].AutoUpdate = true;
        windowTable[1].RefreshRate = 0;
    }
    EXPECT_GE(autoupdatepass(), 1);
    EXPECT_GE(autoupdatepass(), 1);
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        windowTable[1].RefreshRate = 1;  // once a second at most
    }
    autoupdatepass();
    EXPECT_EQ(autoupdatepass(), 0);
}

TEST_F(WindowPicture, ScreenTextIsTidiedAtCarriageReturns)
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    const int64_t text = windowTable[0].TextMemoryStart;
    for (int i = 0; i < 5; ++i) memoryPool[text + i] = static_cast<uint8_t>("Hallo"[i]);
    EXPECT_EQ(t_GetScreen(0, "\r"), "Hallo");
    memoryPool[text + 80 + 2] = 0xE4;  // ä in line 2
    EXPECT_EQ(t_GetScreen(0, "\r"), "Hallo\r  \xC3\xA4");
    std::string plain = t_GetScreen(0, "");
    EXPECT_EQ(plain.size(), 80u * 25u + 1u);  // ä takes two bytes
    std::string newlines = t_GetScreen(0, "\n");
    EXPECT_EQ(newlines.back(), '\n');  // only the end is tidied, and there is no byte 13 to cut at
    EXPECT_EQ(loglines([] { t_GetScreen(9, "\r"); }),
              std::vector<std::string>{"t_GetScreen: Window is not a graphic window."});
    EXPECT_EQ(loglines([] { t_GetScreen(2, "\r"); }),
              std::vector<std::string>{"t_GetScreen: Window #2 not initialized."});
}
