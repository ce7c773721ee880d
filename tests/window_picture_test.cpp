// The picture of a window at every depth, the views that show it, updates and the text screen.
#include "events/views.h"
#include "platform/threads.h"
#include "window_test_support.h"
#include "app/program_thread.h"
#include "windows/video_changes.h"
#include "windows/window_update.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

namespace {

class WindowPicture : public WindowTest {
protected:
    // Creates window 1 of 32 x 32 pixels at `depth`, shown, and fills its graphic memory
    // with `bytes` repeated.
    static void makeWindow(int64_t depth, const std::vector<uint8_t>& bytes)
    {
        t_InitWindow(1, depth, false, 32, 32, 0, 0, t_Font{}, true);
        ASSERT_TRUE(windowTable[1].Initialized);
        t_WindowVisible(1, true);
        const t_Window& w = windowTable[1];
        for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; ++i) memoryPool[i] = bytes[(i - w.MemoryStart) % bytes.size()];
    }
};

}  // namespace

TEST_F(WindowPicture, PixelsAtEveryDepth)
{
    const QRgb white = 0xFFFFFFFF, black = 0xFF000000;
    const std::tuple<int64_t, std::vector<uint8_t>, std::vector<QRgb>> cases[] = {
        {1, {170}, {white, black, white, black, white, black, white, black}},
        {4, {0xF0, 0x71}, {white, black, qRgb(0, 128, 255), qRgb(255, 0, 0)}},
        {8, {0, 200}, {black, qRgb(200, 200, 200)}},
        {16, {9, 100}, {qRgb(100, 100, 100), qRgb(100, 100, 100)}},  // the first byte of a pixel is not shown
    };
    for (const auto& [depth, bytes, first] : cases) {
        makeWindow(depth, bytes);
        QImage picture = t_WindowImage(1);
        ASSERT_EQ(picture.size(), QSize(32, 32)) << depth;
        for (int x = 0; x < int(first.size()); ++x) EXPECT_EQ(picture.pixel(x, 0), first[x]) << depth << " bit, x " << x;
    }
    // At 24 and 32 bits every pixel follows its bytes.
    for (int64_t depth : {24, 32}) {
        std::vector<uint8_t> bytes(997);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 193 + 17);
        makeWindow(depth, bytes);
        QImage picture = t_WindowImage(1);
        ASSERT_EQ(picture.size(), QSize(32, 32));
        EXPECT_GT(windowTable[1].UpdateFinished, 0);  // the picture notes its time
        const t_Window& w = windowTable[1];
        const int64_t size = depth / 8, skip = depth == 32 ? 1 : 0;
        for (int i = 0; i < 32 * 32; ++i) {
            const uint8_t* p = &memoryPool[w.MemoryStart + i * size + skip];
            ASSERT_EQ(picture.pixel(i % 32, i / 32), qRgb(p[0], p[1], p[2])) << depth << " bit at " << i % 32 << "," << i / 32;
        }
    }
    EXPECT_EQ(windowNSImage(1).size(), QSize(32, 32));
}

TEST_F(WindowPicture, UpdatesAndRefusals)
{
    makeWindow(8, {1});
    t_WindowVisible(1, false);
    EXPECT_TRUE(loglines([] { EXPECT_TRUE(t_WindowImage(1).isNull()); }).empty());
    EXPECT_EQ(windowTable[1].UpdateDuration, 0);
    t_WindowVisible(1, true);
    EXPECT_TRUE(loglines([] { t_WindowUpdate(1, false); }).empty());
    t_WindowAutoUpdate(1, true);
    EXPECT_TRUE(windowTable[1].AutoUpdate);
    // Later: the picture comes with the next paint, not during the call.
    windowTable[1].UpdateFinished = 0;
    t_WindowUpdate(1, true);
    EXPECT_EQ(windowTable[1].UpdateFinished, 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return windowTable[1].UpdateFinished != 0; }, 2000));
    EXPECT_EQ(loglines([] { EXPECT_TRUE(t_WindowImage(4).isNull()); }), Lines{"t_WindowImage: Graphic window #4 not initialized."});
    EXPECT_TRUE(windowNSImage(9).isNull());
    EXPECT_EQ(loglines([] { t_WindowUpdate(9, false); }), Lines{"t_WindowUpdate: Window is not a graphic window."});
    EXPECT_EQ(loglines([] { t_WindowAutoUpdate(3, true); }), Lines{"t_WindowAutoUpdate: Window #3 not initialized."});
    // Refresh rate 0: every pass redisplays a window whose memory changed, and only such a
    // window; the times a program can read move on every pass all the same.
    auto* view = dynamic_cast<GraphicView*>(windowview(1));
    std::unique_lock<std::mutex> guard(windowRecordLock);
    windowTable[1].RefreshRate = 0;  // AutoUpdate is on
    guard.unlock();
    const qint64 before = view->shownPicture().cacheKey();
    notevideochange(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { autoupdatepass(); return view->shownPicture().cacheKey() != before; }, 2000));
    guard.lock();
    windowTable[1].UpdateFinished = windowTable[1].UpdateStarted = 0;
    guard.unlock();
    EXPECT_EQ(autoupdatepass(), 0);
    guard.lock();
    EXPECT_TRUE(windowTable[1].UpdateStarted > 0 && windowTable[1].UpdateFinished > 0 && windowTable[1].VerticalBlank);
    windowTable[1].RefreshRate = 1;  // once a second at most
    guard.unlock();
    notevideochange(1);
    autoupdatepass();
    EXPECT_EQ(autoupdatepass(), 0);
}

// The first window starts the auto-update process on a named thread. The process sleeps while
// no shown window has auto-update on and, with no program running, while nothing has changed;
// otherwise it wakes at the refresh rate.
TEST_F(WindowPicture, TheAutoUpdateProcessSleepsWhileNoWindowNeedsIt)
{
    std::thread([] { (void)currentthreadnumber(); }).join();  // number 2, as the program thread has it
    makeWindow(8, {1});  // the first window starts the process; auto-update off
    ASSERT_TRUE(QTest::qWaitFor([] { return autoUpdateRunning.load(); }, 2000));
    // The process's wake-ups while the test waits `ms` milliseconds: the context switches of the
    // thread of its name (the system keeps 15 bytes of it).
    const auto wakeups = [](int ms) {
        const auto switches = [] {
            int64_t total = 0;
            for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
                std::string name, line;
                std::getline(std::ifstream(task.path() / "comm"), name);
                for (std::ifstream status(task.path() / "status"); name == "t_WindowAutoUpd" && std::getline(status, line);)
                    if (line.find("ctxt_switches:") != std::string::npos) total += std::stoll(line.substr(line.find(':') + 1));
            }
            return total;
        };
        const int64_t before = switches();
        QTest::qWait(ms);
        return switches() - before;
    };
    EXPECT_LE(wakeups(300), 2);
    t_WindowAutoUpdate(1, true);
    EXPECT_LE(wakeups(300), 4);  // nothing changes and no program runs: a pass or two at most
    std::promise<void> end;
    std::shared_future<void> ended = end.get_future().share();
    startprocess([ended] { ended.wait(); }, 512 * 1024);
    ASSERT_TRUE(QTest::qWaitFor([] { return runningprogramthreads() > 0; }, 2000));
    EXPECT_GE(wakeups(300), 4);  // 30 passes a second for a program that may read the times
    t_WindowVisible(1, false);
    wakeups(50);
    EXPECT_LE(wakeups(300), 2);
    end.set_value();
    ASSERT_TRUE(QTest::qWaitFor([] { return runningprogramthreads() == 0; }, 2000));
}

TEST_F(WindowPicture, ViewShowsThePictureScaledAndKeepsItForQuickUpdates)
{
    makeWindow(8, {0, 255});
    t_WindowSize(1, -1, -1, 128, 128);  // four times the picture's size
    auto* view = dynamic_cast<GraphicView*>(windowview(1));
    EXPECT_EQ(view->grab().size(), QSize(128, 128));  // drawn as the view scaling test says
    EXPECT_EQ(view->shownPicture().pixel(1, 0), qRgb(255, 255, 255));
    t_WindowVisible(1, false);  // no new picture comes
    view->grab();
    EXPECT_FALSE(view->shownPicture().isNull());
    windowTable[1].QuickUpdate = false;  // the drawing path draws nothing then
    view->grab();
    EXPECT_TRUE(view->shownPicture().isNull());
}

TEST_F(WindowPicture, WindowZeroIsInVerticalBlankOutsideItsPictureAndItsTextIsTidied)
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    t_WindowFront(0);
    windowview(0)->grab();
    EXPECT_TRUE(windowTable[0].VerticalBlank);
    EXPECT_TRUE(wantsupdatelayer(0));
    EXPECT_FALSE(wantsupdatelayer(5));
    // The screen's text is tidied at carriage returns.
    const int64_t text = windowTable[0].TextMemoryStart;
    for (int i = 0; i < 5; ++i) memoryPool[text + i] = static_cast<uint8_t>("Hallo"[i]);
    EXPECT_EQ(t_GetScreen(0, "\r"), "Hallo");
    memoryPool[text + 80 + 2] = 0xE4;  // ä in line 2
    EXPECT_EQ(t_GetScreen(0, "\r"), "Hallo\r  \xC3\xA4");
    EXPECT_EQ(t_GetScreen(0, "").size(), 80u * 25u + 1u);  // ä takes two bytes
    EXPECT_EQ(t_GetScreen(0, "\n").back(), '\n');  // only the end is tidied, and there is no byte 13 to cut at
    EXPECT_EQ(loglines([] { t_GetScreen(9, "\r"); t_GetScreen(2, "\r"); }),
              (Lines{"t_GetScreen: Window is not a graphic window.", "t_GetScreen: Window #2 not initialized."}));
}

// Pictures and the screen text read while a program thread draws, scrolls and moves the cursor
// show every glyph whole: the cell at the top left, drawn over and over with a full glyph and
// an empty one and scrolled into place, is all ink or all paper in every picture.
TEST_F(WindowPicture, PicturesWhileTheProgramDrawsShowWholeGlyphs)
{
    t_Font font = cellfont(16, 32, 256 * 16 * 32);
    std::fill_n(font.Data.begin() + 'A' * 16 * 32, 16 * 32, uint8_t{255});
    t_InitWindow(2, 24, false, 1024, 64, 0, 0, font, true);  // wide: a picture passes the cell's rows slowly
    t_WindowVisible(2, true);
    std::atomic<bool> drawing{true};
    std::thread program([&drawing] {
        while (drawing) {
            t_PrintSymbol(2, 'A', 0xF0, 1, 2);
            t_ScrollUp(2);  // the full glyph moves to line 1
            t_PrintSymbol(2, ' ', 0xF0, 1, 1);
            t_Cr(2);  // moves the cursor in the record, and scrolls at the last line
        }
    });
    int torn = 0;
    for (int i = 0; i < 300; ++i) {
        const QImage picture = t_WindowImage(2);
        ASSERT_EQ(picture.size(), QSize(1024, 64));
        const QRgb corner = picture.pixel(0, 0);
        bool whole = true;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 16; ++x) whole = whole && picture.pixel(x, y) == corner;
        torn += whole ? 0 : 1;
        const std::string screen = t_GetScreen(2, "");
        EXPECT_TRUE(screen.rfind("A", 0) == 0 || screen.rfind(" ", 0) == 0) << screen;
    }
    drawing = false;
    program.join();
    EXPECT_EQ(torn, 0);
}
