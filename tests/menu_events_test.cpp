// Menu selections through the real menu items: built-in actions, the queue, the program's
// handler, the clipboard, and the item routines.
#include "app/app_delegate.h"
#include "events/menus.h"
#include "events/sound.h"
#include "window_test_support.h"

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

// Selects the menu item with `tag` in the menus of the main window; the lines it logs.
Lines choose(int64_t tag)
{
    QAction* chosen = nullptr;
    for (QAction* menu : qobject_cast<QMainWindow*>(appDelegate().MainWindow)->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator() && item->property("tag").toLongLong() == tag) chosen = item;
    EXPECT_NE(chosen, nullptr) << tag;
    return chosen ? loglines([chosen] { chosen->trigger(); }) : Lines{};
}

class MenuEvents : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        takemenuevents();
        programMenuHandler = [this] { ++calls; };
    }
    void TearDown() override
    {
        programMenuHandler = nullptr;
        WindowTest::TearDown();
    }

    std::atomic<int> calls{0};
};

}  // namespace

TEST_F(MenuEvents, BuiltInActionsAndItemRoutines)
{
    for (auto [tag, index] : {std::pair{200, 0}, {231, 31}, {114, 36}, {0, -1}, {100, -1}})  // panels: only when added
        EXPECT_EQ(t_MenuActionIndex(tag), index) << tag;
    EXPECT_EQ(t_MenuActionGet(5).Action, 205);
    // The Edit menu ends with an item, never a separator.
    EXPECT_FALSE(t_MenuItemTitle("Bearbeiten", 65535).empty());
    // The item routines; a separator has no title.
    EXPECT_EQ(std::tuple(t_MenuItemIndex("Ablage", "Beenden"), t_MenuItemIndex("Ablage", "Fehlt")), std::tuple(4, -1));
    EXPECT_EQ(loglines([] { EXPECT_EQ(t_MenuItemIndex("Edit", "Undo"), -2); }), Lines{"t_MenuItemIndex: Menu not found."});
    EXPECT_EQ(std::tuple(t_MenuItemTitle("Ablage", 0), t_MenuItemTitle("Ablage", 3)), std::tuple("Öffnen …", ""));
    EXPECT_EQ(loglines([] { t_MenuItemTitle("Ablage", 99); }), Lines{"t_MenuItemTitle: Item position out of range"});
    EXPECT_EQ(loglines([] { t_MenuItemDelete("Edit", 65535); }), Lines{"t_MenuItemDelete: Menu not found."});

    QMenu empty(QStringLiteral("Leer"));
    QMenuBar* bar = qobject_cast<QMainWindow*>(appDelegate().MainWindow)->menuBar();
    QAction* added = bar->addMenu(&empty);
    EXPECT_EQ(loglines([] { t_MenuItemDelete("Leer", 65535); }), Lines{"t_MenuItemDelete: Item position out of range"});
    empty.addAction(QStringLiteral("eins"));
    empty.addAction(QStringLiteral("zwei"));
    t_MenuItemDelete("Leer", 65535);
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "eins");
    // Qt writes a literal "&" twice; a single one marks the mnemonic.
    empty.setTitle(QStringLiteral("&Leer && Voll"));
    for (const char* title : {"Emoji && Symbols", "&Neu", "A&&&B", "&&&&"}) empty.addAction(QString::fromUtf8(title));
    Lines titles;
    for (int64_t position = 1; position <= 4; ++position) titles.push_back(t_MenuItemTitle("Leer & Voll", position));
    EXPECT_EQ(titles, (Lines{"Emoji & Symbols", "Neu", "A&B", "&&"}));
    EXPECT_EQ(t_MenuItemIndex("Leer & Voll", "Emoji & Symbols"), 1);
    bar->removeAction(added);
}

TEST_F(MenuEvents, ItemsWithoutActionGoToTheProgram)
{
    const auto called = [this](int n) {
        for (int i = 0; i < 100 && calls < n; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return calls == n;
    };
    choose(101);  // a panel item the program did not register: an item like any other
    EXPECT_TRUE(called(1));
    std::vector<t_MenuEvent> events = takemenuevents();
    ASSERT_EQ(events.size(), 1u);
    const t_MenuEvent& e = events[0];
    EXPECT_EQ(std::tuple(e.Kind, e.MenuTitle, e.ItemTitle, e.ItemKeyChar, e.ItemKeyMods, e.ItemKeyAsc, e.ItemAction),
              std::tuple(3, "Ablage", "Sichern unter …", "s", 0x60000u, 's', 101));
    EXPECT_TRUE(menuEventPending);

    QAction loose(QStringLiteral("lose"));
    appDelegate().MenuHandler(&loose);  // a sender in no menu
    events = takemenuevents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(std::tuple(events[0].Kind, events[0].ItemTitle), std::tuple(0, ""));
    EXPECT_TRUE(called(2));
}

TEST_F(MenuEvents, EveryShowAndHideItem)
{
    const std::pair<int64_t, uint8_t> items[] = {{205, 12}, {207, 11}, {209, 9}, {211, 8}, {229, 10}};
    for (auto [show, window] : items) {
        choose(show);
        EXPECT_EQ(std::tuple(windowobject(window)->isVisible(), mainwindownumber()), std::tuple(true, window)) << show;
        choose(show + 1);
        EXPECT_FALSE(windowobject(window)->isVisible()) << show + 1;
    }
    EXPECT_EQ(choose(215), Lines{"t_MenuEventHandler: Window #1 not initialized."});
    t_InitWindow(1, 8, false, 64, 64, 0, 0, t_Font{}, true);
    choose(215);
    EXPECT_TRUE(windowobject(1)->isVisible() && windowTable[1].Visible);
    choose(207);
    choose(200);  // hides them all
    for (uint8_t n : {1, 11}) EXPECT_FALSE(windowobject(n)->isVisible()) << int(n);
    choose(207);
    choose(201);  // hides the front window
    EXPECT_FALSE(windowobject(11)->isVisible());
    EXPECT_EQ(std::tuple(takemenuevents().size(), int(calls)), std::tuple(16u, 0));  // all queued, none to the program

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

TEST_F(MenuEvents, CopyingTheFrontWindowAndClearingTheSideWindows)
{
    t_InitWindow(0, 24, 10, 3, 4, "MenloBold 16x32.font");
    t_Print(0, "\u008aab\u008c");  // vertical and horizontal rule codes
    t_PrintSymbol(0, 156, 0xC0, 5, 1);
    t_PrintSymbol(0, 0xE4, 0xC0, 6, 1);
    t_PrintSymbol(0, 'z', 0xC0, 1, 2);
    t_WindowFront(0);
    choose(111);
    // On the clipboard the lines end as Linux programs expect; the window's text keeps "\r".
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "|ab--\u00e4\nz");
    EXPECT_EQ(t_GetScreen(0, "\r"), "\u008aab\u008c\u009c\u00e4\rz");
    EXPECT_EQ(graphictexttoascii("\u007f\u009f\u00a0a\u00e4\u00a1\xff"), "#=\u02fda\u00e4\u00a1\xff");  // the ends of the graphic codes
    // Copied text shows in the pasteboard window when it is shown.
    choose(211);
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(windowtextview(8))->toPlainText().toStdString(), "|ab--\u00e4\nz");
    t_WindowFront(0);
    choose(110);
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_EQ(std::tuple(picture.size(), picture.pixel(159, 95)), std::tuple(QSize(160, 96), qRgb(0, 0, 0)));
    // Clearing the side windows.
    auto* printer = qobject_cast<QPlainTextEdit*>(windowtextview(9));
    printer->setPlainText(QStringLiteral("Druck"));
    choose(112);
    EXPECT_TRUE(printer->toPlainText().isEmpty());
    AppDelegate full = appDelegate();
    appDelegate().SystemConsoleTextView = nullptr;
    auto lines = choose(114);
    appDelegate() = full;
    EXPECT_EQ(lines, Lines{"t_MenuEventHandler: System console window is nil, resource undefined."});
}
