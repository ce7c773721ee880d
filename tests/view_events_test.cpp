// Key and mouse events from the views: Qt's key events as key records, clicks in the
// picture, the close box, and events under load.
#include "events/keyboard.h"
#include "events/mouse.h"
#include "events/view_scaling.h"
#include "platform/key_events.h"
#include "window_test_support.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTest>

#include <thread>

namespace {

class ViewEvents : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        while (t_NextKeyEvent() >= 0) {}
        takemouseevents();
    }
    void TearDown() override
    {
        programMouseHandler = nullptr;
        WindowTest::TearDown();
    }
};

KeyEventRecord translated(int key, Qt::KeyboardModifiers modifiers, const QString& text, quint32 scanCode = 0)
{
    return keyrecordfromqt(QKeyEvent(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text));
}

}  // namespace

TEST_F(ViewEvents, QtKeyEventsBecomeKeyRecords)
{
    EXPECT_EQ(keypositionfromx11(111 + 8), 117);  // Delete: forward delete
    EXPECT_EQ(keypositionfromx11(500), -1);
    // Qt's key, modifiers, text and X11 key code (0: none); the key position, characters and flags.
    // The key's position counts, else Qt's key. Arrows are function keys on the numeric pad. The
    // pad types its digits also with NumLock off, where X gives cursor keys; Insert is the Help
    // key, NumLock the pad's Clear key.
    const auto pad = Qt::KeypadModifier;
    const std::tuple<int, Qt::KeyboardModifiers, const char*, quint32, int64_t, std::string, uint64_t> keys[] = {
        {Qt::Key_A, {}, "a", 30 + 8, 0, "a", 0}, {Qt::Key_Y, {}, "y", 44 + 8, 6, "y", 0}, {Qt::Key_A, {}, "a", 0, 0, "a", 0},
        {Qt::Key_Left, {}, "", 0, 123, "\uf702", 0xA00000}, {Qt::Key_F1, {}, "", 0, 122, "\uf704", 0x800000},
        {Qt::Key_S, Qt::ControlModifier, "", 0, 1, "\x13", 0x40000}, {Qt::Key_Backtab, Qt::ShiftModifier, "", 0, 48, "\x19", 0x20000},
        {Qt::Key_9, Qt::ControlModifier | pad, "9", 0, 92, "9", 0x240000},
        {Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier, "Q", 0, 12, "Q", 0x1A0000},
        {Qt::Key_Insert, pad, "", 82 + 8, 82, "0", 0x200000}, {Qt::Key_Clear, pad, "", 76 + 8, 87, "5", 0x200000},
        {Qt::Key_Left, pad, "", 75 + 8, 86, "4", 0x200000}, {Qt::Key_Home, pad | Qt::AltModifier, "", 71 + 8, 89, "7", 0x280000},
        {Qt::Key_Delete, pad, "", 83 + 8, 65, ".", 0x200000}, {Qt::Key_Insert, {}, "", 110 + 8, 114, "\uf746", 0xC00000},
        {Qt::Key_NumLock, {}, "", 69 + 8, 71, "\uf739", 0xA00000}};
    for (const auto& [key, modifiers, text, scanCode, position, characters, flags] : keys) {
        KeyEventRecord record = translated(key, modifiers, text, scanCode);
        EXPECT_EQ(std::tuple(record.keyCode, record.characters, record.modifierFlags), std::tuple(position, characters, flags))
            << key << " " << scanCode;
    }
    EXPECT_FALSE(ismodifierkey(QKeyEvent(QEvent::KeyPress, Qt::Key_NumLock, Qt::NoModifier)));
    // The keyboard's lock, latch and group keys (X keysyms 0xfe01 ... 0xfe0f: a layout switch
    // comes as key 0 with the keysym ISO_Next_Group) change modifiers only.
    for (auto [keysym, modifier] : {std::pair{0xfe01u, true}, {0xfe08u, true}, {0xfe0fu, true}, {0xfe00u, false}, {0xfe10u, false}})
        EXPECT_EQ(ismodifierkey(QKeyEvent(QEvent::KeyPress, 0, {}, 66, keysym, 0)), modifier) << std::hex << keysym;
}

// Modifier keys set the flags as they go down and up, Caps Lock as X locks it (on as its key
// goes down, off as it comes up the second time); other keys coming up, or repeating, leave
// the flags alone and clear keyPressed only when really released. Then keys typed in the view
// reach the queue.
TEST_F(ViewEvents, KeysInAView)
{
    constexpr quint32 lock = 0x2, shiftState = 0x1;
    const auto press = QEvent::KeyPress, release = QEvent::KeyRelease;
    // Event, Qt's key and modifiers, X11's key code and its modifier state before the event,
    // auto-repeat; then Caps Lock, Shift and keyPressed.
    const std::tuple<QEvent::Type, int, Qt::KeyboardModifiers, quint32, quint32, bool, bool, bool, bool> steps[] = {
        {press, Qt::Key_CapsLock, {}, 66, 0, false, true, false, false},
        {release, Qt::Key_CapsLock, {}, 66, lock, false, true, false, false},
        {press, Qt::Key_A, {}, 38, lock, false, true, false, true},
        {release, Qt::Key_A, {}, 38, lock, true, true, false, true},  // auto-repeat
        {release, Qt::Key_A, {}, 38, lock, false, true, false, false},
        {press, Qt::Key_Shift, {}, 50, lock, false, true, true, false},
        {release, Qt::Key_Shift, Qt::ShiftModifier, 50, lock | shiftState, false, true, false, false},
        {press, Qt::Key_CapsLock, {}, 66, lock, false, true, false, false},
        {release, Qt::Key_CapsLock, {}, 66, lock, false, false, false, false},
    };
    t_InitWindow(1, 8, false, 64, 64, 0, 0, t_Font{}, true);
    t_WindowFront(1);
    keyPressed = false;
    for (const auto& [type, key, modifiers, scanCode, state, autoRepeat, capsLock, shift, pressed] : steps) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, state, key == Qt::Key_A ? "a" : "", autoRepeat);
        QCoreApplication::sendEvent(windowview(1), &event);
        EXPECT_EQ(std::tuple(bool(capsLockPressed), bool(shiftPressed), bool(keyPressed)), std::tuple(capsLock, shift, pressed))
            << type << " " << key << " " << state;
    }
    ASSERT_EQ(t_NextKeyEvent(), 'a');
    EXPECT_TRUE(currentEvent().CapsLockPressed);

    // Keys typed in the view reach the queue, unless the window ignores events.
    QWidget* view = windowview(1);
    QTest::keyClick(view, Qt::Key_A);
    windowTable[1].IgnoreEvents = true;
    QTest::keyPress(view, Qt::Key_B);
    EXPECT_EQ(std::tuple(keyeventcount(), bool(keyPressed)), std::tuple(1u, true));
    QTest::keyRelease(view, Qt::Key_B);
    windowTable[1].IgnoreEvents = false;
    EXPECT_EQ(t_NextKeyEvent(), 'a');
    EXPECT_EQ(std::tuple(currentEvent().Window, bool(keyPressed)), std::tuple(1, false));
    EXPECT_EQ(loglines([] { QTest::keyClick(windowview(3), Qt::Key_A); }), Lines{"viewKeyDown: Graphic window (3) not initialized."});
}

TEST_F(ViewEvents, ClicksBecomeColumnsAndRowsOfThePictureAndTheCloseBoxHides)
{
    t_InitWindow(1, 8, false, 640, 480, 10, 10, t_Font{}, true);
    std::atomic<int> handlerCalls{0};
    programMouseHandler = [&handlerCalls] { ++handlerCalls; };
    const std::tuple<double, double, int64_t, int64_t> clicks[] = {
        {10, 489, 0, 1}, {9, 300, -1, 190}, {650, 300, -2, 190}, {100, 495, 90, -1}, {100, 11, 90, 479}, {100, 10, 90, -2}};
    for (auto [x, y, column, row] : clicks)
        EXPECT_EQ(loglines([&, x = x, y = y] { t_MouseEventHandler(1, MouseEventRecord{x, y, 1, 0x20000}, x, y); }),
                  (Lines{"t_MouseEventHandler: Graphic #1 window, X = " + std::to_string(column) + ", Y = " + std::to_string(row),
                         "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
    EXPECT_EQ(loglines([] { t_MouseEventHandler(9, MouseEventRecord{}, 5.7, 6.2); }),
              (Lines{"t_MouseEventHandler: Unknown window, AbsX = 5, AbsY = 6", "t_MouseEventHandler:  window, X = -3, Y = -3",
                     "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
    std::vector<t_Event> events = takemouseevents();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(std::tuple(events[0].Kind, events[0].Index, events[0].WindowY, events[0].ShiftPressed), std::tuple(2, 1, 489, true));
    for (int i = 0; i < 100 && handlerCalls < 7; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(handlerCalls, 7);  // also after the rejected click
    programMouseHandler = nullptr;

    // A click in a view, and its close box.
    t_InitWindow(3, 8, false, 64, 64, 16, 16, t_Font{}, true);
    t_WindowFront(3);
    QTest::mouseClick(windowview(3), Qt::LeftButton, Qt::NoModifier, QPoint(5, 7));
    events = takemouseevents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::tuple(events[0].ClickX, events[0].ClickY, bool(leftMouseButtonPressed)), std::tuple(5, 7, false));
    EXPECT_TRUE(haslogline(loglines([] { windowobject(3)->close(); }), "t_MouseEventPostCloseBoxClick: Window = 3"));
    EXPECT_FALSE(windowobject(3)->isVisible() || windowTable[3].Visible);
    t_WindowVisible(3, true);
    EXPECT_TRUE(windowobject(3)->isVisible());
}

// On screens of every scale and in views smaller than the picture, each device pixel shows the
// picture pixel that a click on it reports; a pixel beside the view reports none.
TEST(ViewScaling, EveryDevicePixelShowsThePixelAClickOnItReports)
{
    QImage picture(1280, 800, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x & 255, (x >> 8) | (y >> 8) << 4, y & 255));
    auto column = [](QRgb c) { return qRed(c) | (qGreen(c) & 15) << 8; };
    auto row = [](QRgb c) { return qBlue(c) | (qGreen(c) >> 4) << 8; };
    const QPointF offset(16, 35);  // left border; menu bar and top border
    for (double ratio : {1.0, 1.25, 1.5, 2.0})
        for (QSize view : {QSize(1280, 800), QSize(1157, 723), QSize(640, 401)}) {
            SCOPED_TRACE(testing::Message() << ratio << " " << view.width() << "x" << view.height());
            QImage screen(QSize(1330, 860) * ratio, QImage::Format_RGB32);
            screen.fill(Qt::white);
            screen.setDevicePixelRatio(ratio);
            {
                QPainter painter(&screen);
                painter.translate(offset);
                drawpicture(painter, view, picture);
            }
            // Along the middle row and column of the view: what each device pixel shows (white:
            // nothing) and what a click on it reports.
            const int middleX = int((offset.x() + view.width() / 2) * ratio), middleY = int((offset.y() + view.height() / 2) * ratio);
            std::vector<QPoint> along;
            for (int x = 0; x < screen.width(); ++x) along.emplace_back(x, middleY);
            for (int y = 0; y < screen.height(); ++y) along.emplace_back(middleX, y);
            int wrong = 0;
            for (QPoint p : along) {
                const QRgb c = screen.pixel(p);
                const PicturePixel at = picturepixelunder(QPointF(p) / ratio, offset, ratio, view, picture.size());
                const bool beside = at.column < 0 || at.row < 0;
                wrong += c == qRgb(255, 255, 255) ? !beside : beside || at.column != column(c) || at.row != row(c);
            }
            EXPECT_EQ(wrong, 0);
            // Beside the view no pixel is reached.
            DeviceSpan across = devicespan(offset.x(), view.width(), ratio);
            EXPECT_EQ(std::pair(picturepixelat(-1, across.size, 1280), picturepixelat(across.size, across.size, 1280)),
                      std::pair(int64_t(-1), int64_t(-2)));
        }
    // At 2x both device pixels of a picture pixel report it.
    EXPECT_EQ(std::pair(picturepixelat(158, 2560, 1280), picturepixelat(159, 2560, 1280)), std::pair(int64_t(79), int64_t(79)));
}

// Control-S holds printing until the next key.
TEST_F(ViewEvents, ControlSHoldsThePrintingProgram)
{
    t_InitWindow(1, 24, 20, 5, 0, "MenloBold 16x32.font");
    t_KeyEventHandler(1, KeyEventRecord{1, "\x13", 0x40000});
    std::atomic<bool> printed{false};
    std::thread program([&printed] {
        t_Print(1, "eins\rzwei");  // holds at the carriage return
        printed = true;
    });
    // Time for the program thread to reach the carriage return, also on a loaded machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(std::tuple(bool(printed), windowTable[1].TextVpos), std::tuple(false, 1));
    t_KeyEventHandler(1, KeyEventRecord{0, "a", 0});
    program.join();
    EXPECT_EQ(std::tuple(windowTable[1].TextVpos, keyeventcount()), std::tuple(2, 0u));  // the resuming key was taken
}
