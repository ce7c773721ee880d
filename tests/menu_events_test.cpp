// Menu selections through the real menu items: built-in actions, the queue, the program's
// handler, the clipboard, and the item routines.
#include "app/app_delegate.h"
#include "events/menus.h"
#include "events/sound.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <thread>

namespace {

// The menu item with `tag` in the menus of the main window.
QAction* itemWithTag(int64_t tag)
{
    for (QAction* menu : qobject_cast<QMainWindow*>(appDelegate().MainWindow)->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator() && item->property("tag").toLongLong() == tag) return item;
    return nullptr;
}

std::vector<std::string> choose(int64_t tag)
{
    QAction* item = itemWithTag(tag);
    EXPECT_NE(item, nullptr) << tag;
    return loglines([item] {
        if (item) item->trigger();
    });
}

class MenuEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetwindows();
        takemenuevents();
    }
    void TearDown() override
    {
        for (uint8_t n = 0; n <= 12; ++n)
            if (QWidget* window = windowobject(n)) window->hide();
        programMenuHandler = nullptr;
        resetwindows();
    }
};

}  // namespace

TEST_F(MenuEvents, PreparationRegistersTheBuiltInActions)
{
    EXPECT_EQ(t_MenuActionIndex(200), 0);
    EXPECT_EQ(t_MenuActionIndex(231), 31);
    EXPECT_EQ(t_MenuActionIndex(114), 36);
    EXPECT_EQ(t_MenuActionIndex(0), -1);
    EXPECT_EQ(t_MenuActionIndex(100), -1);  // the panels only when the program adds them
    EXPECT_EQ(t_MenuActionGet(5).Action, 205);
    // The Edit menu ends with an item, never a separator.
    EXPECT_FALSE(t_MenuItemTitle("Bearbeiten", 65535).empty());
}

TEST_F(MenuEvents, ItemsWithoutActionGoToTheProgram)
{
    std::atomic<int> calls{0};
    programMenuHandler = [&calls] { ++calls; };
    choose(101);  // a panel item the program did not register: an item like any other
    for (int i = 0; i < 100 && calls == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(calls, 1);
    std::vector<t_MenuEvent> events = takemenuevents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Kind, 3);
    EXPECT_EQ(events[0].MenuTitle, "Ablage");
    EXPECT_EQ(events[0].ItemTitle, "Sichern unter …");
    EXPECT_EQ(events[0].ItemKeyChar, "s");
    EXPECT_EQ(events[0].ItemKeyMods, 0x60000u);
    EXPECT_EQ(events[0].ItemKeyAsc, 's');
    EXPECT_EQ(events[0].ItemAction, 101);
    EXPECT_TRUE(menuEventPending);

    QAction loose(QStringLiteral("lose"));
    appDelegate().MenuHandler(&loose);  // a sender in no menu
    events = takemenuevents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Kind, 0);
    EXPECT_EQ(events[0].ItemTitle, "");
    for (int i = 0; i < 100 && calls < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(calls, 2);
}

TEST_F(MenuEvents, ShowingAndHidingWindows)
{
    std::atomic<int> calls{0};
    programMenuHandler = [&calls] { ++calls; };
    choose(209);
    EXPECT_TRUE(windowobject(9)->isVisible());
    choose(210);
    EXPECT_FALSE(windowobject(9)->isVisible());
    EXPECT_EQ(choose(215), std::vector<std::string>{"t_MenuEventHandler: Window #1 not initialized."});
    t_InitWindow(1, 8, false, 64, 64, 0, 0, t_Font{}, true);
    choose(215);
    EXPECT_TRUE(windowobject(1)->isVisible());
    EXPECT_TRUE(windowTable[1].Visible);
    choose(207);
    choose(200);
    for (uint8_t n : {1, 11}) EXPECT_FALSE(windowobject(n)->isVisible()) << int(n);
    EXPECT_EQ(takemenuevents().size(), 6u);  // every selection is queued
    EXPECT_EQ(calls, 0);
}

TEST_F(MenuEvents, EveryShowAndHideItem)
{
    const std::pair<int64_t, uint8_t> items[] = {{205, 12}, {207, 11}, {209, 9}, {211, 8}, {229, 10}};
    for (auto [show, window] : items) {
        choose(show);
        EXPECT_TRUE(windowobject(window)->isVisible()) << show;
        EXPECT_EQ(mainwindownumber(), window) << show;
        choose(show + 1);
        EXPECT_FALSE(windowobject(window)->isVisible()) << show + 1;
    }
    choose(207);
    choose(201);  // hides the front window
    EXPECT_FALSE(windowobject(11)->isVisible());

    std::atomic<int> frontActions{0};
    frontWindowActionHandler = [&frontActions] { ++frontActions; };
    t_InitWindow(2, 8, false, 64, 64, 0, 0, t_Font{}, true);
    t_WindowFront(2);
    choose(113);
    choose(209);
    choose(113);  // the printer in front: a beep instead
    frontWindowActionHandler = playBeep;
    EXPECT_EQ(frontActions, 1);
}

TEST_F(MenuEvents, CopyingTheTextAndThePictureOfTheFrontWindow)
{
    t_InitWindow(0, 24, 10, 3, 4, "MenloBold 16x32.font");
    t_Print(0, "\u008aab\u008c");  // vertical and horizontal rule codes
    t_PrintSymbol(0, 156, 0xC0, 5, 1);
    t_PrintSymbol(0, 0xE4, 0xC0, 6, 1);
    t_WindowFront(0);
    choose(111);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "|ab--\u00e4");
    // Copied text shows in the pasteboard window when it is shown.
    choose(211);
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(windowtextview(8))->toPlainText().toStdString(), "|ab--\u00e4");
    t_WindowFront(0);
    choose(110);
    QImage picture = QGuiApplication::clipboard()->image();
    ASSERT_EQ(picture.size(), QSize(160, 96));
    EXPECT_EQ(picture.pixel(159, 95), qRgb(0, 0, 0));
}

TEST_F(MenuEvents, ClearingTheSideWindows)
{
    auto* printer = qobject_cast<QPlainTextEdit*>(windowtextview(9));
    printer->setPlainText(QStringLiteral("Druck"));
    choose(112);
    EXPECT_TRUE(printer->toPlainText().isEmpty());
    AppDelegate full = appDelegate();
    appDelegate().SystemConsoleTextView = nullptr;
    auto lines = choose(114);
    appDelegate() = full;
    EXPECT_EQ(lines, std::vector<std::string>{"t_MenuEventHandler: System console window is nil, resource undefined."});
}

TEST_F(MenuEvents, ItemRoutines)
{
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Beenden"), 4);
    EXPECT_EQ(t_MenuItemIndex("Ablage", "Fehlt"), -1);
    EXPECT_EQ(loglines([] { EXPECT_EQ(t_MenuItemIndex("Edit", "Undo"), -2); }),
              std::vector<std::string>{"t_MenuItemIndex: Menu not found."});
    EXPECT_EQ(t_MenuItemTitle("Ablage", 0), "Öffnen …");
    EXPECT_EQ(t_MenuItemTitle("Ablage", 3), "");  // a separator
    EXPECT_EQ(loglines([] { t_MenuItemTitle("Ablage", 99); }),
              std::vector<std::string>{"t_MenuItemTitle: Item position out of range"});
    EXPECT_EQ(loglines([] { t_MenuItemDelete("Edit", 65535); }),
              std::vector<std::string>{"t_MenuItemDelete: Menu not found."});

    QMenu empty(QStringLiteral("Leer"));
    QMenuBar* bar = qobject_cast<QMainWindow*>(appDelegate().MainWindow)->menuBar();
    QAction* added = bar->addMenu(&empty);
    EXPECT_EQ(loglines([] { t_MenuItemDelete("Leer", 65535); }),
              std::vector<std::string>{"t_MenuItemDelete: Item position out of range"});
    empty.addAction(QStringLiteral("eins"));
    empty.addAction(QStringLiteral("zwei"));
    t_MenuItemDelete("Leer", 65535);
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "eins");
    bar->removeAction(added);
}

TEST(GraphicText, MapsTheRuntimesGraphicCodes)
{
    EXPECT_EQ(graphictexttoascii("\u007f\u0080\u0081\u0082\u0083\u0084\u0085"), "#*#<=>O");
    EXPECT_EQ(graphictexttoascii("\u0086\u008a\u008b\u008c\u008d\u008e\u0099\u009a\u009b"), "+||--++--");
    EXPECT_EQ(graphictexttoascii("\u009c\u009d\u009e\u009f\u00a0"), "-|+=\u02fd");
    EXPECT_EQ(graphictexttoascii("a\u00e4\u00a1\xff"), "a\u00e4\u00a1\xff");
}
