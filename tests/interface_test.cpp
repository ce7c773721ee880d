// The interface file: windows, views, menus and outlets, and what the delegate does with them.
#include "app/app_delegate.h"
#include "events/views.h"
#include "platform/interface_file.h"
#include "platform/widgets.h"
#include "windows/window_lookup.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::vector<QWidget*> outlets(const AppDelegate& d)
{
    return {d.t_View00, d.t_View01, d.t_View02, d.t_View03, d.t_View04, d.t_View05, d.t_View06,
            d.t_View07, d.VirtualPrinterWindow, d.VirtualPrinterScrollView, d.VirtualPrinterTextView,
            d.VirtualPrinterRuler, d.SystemConsoleWindow, d.SystemConsoleScrollView, d.SystemConsoleTextView,
            d.SystemConsoleRuler, d.PasteboardWindow, d.PasteboardScrollView, d.PasteboardTextView,
            d.MainWindow, d.PreferencesWindow};
}

// The tag of every menu item, by title, from the menus of `window`.
std::map<QString, int> menuTags(QWidget* window, std::map<QString, QKeySequence>* keys = nullptr)
{
    std::map<QString, int> tags;
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    if (mainWindow == nullptr) return tags;
    for (QAction* menu : mainWindow->menuBar()->actions()) {
        if (menu->menu() == nullptr) continue;
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator()) continue;
            tags[item->text()] = item->property("tag").toInt();
            if (keys) (*keys)[item->text()] = item->shortcut();
        }
    }
    return tags;
}

// The interface of the application, loaded by the test program.
using Interface = ::testing::Test;

}  // namespace

TEST_F(Interface, EveryOutletIsConnected)
{
    const AppDelegate& d = appDelegate();
    std::vector<QWidget*> connected = outlets(d);
    ASSERT_EQ(connected.size(), 21u);
    for (size_t i = 0; i < connected.size(); ++i) EXPECT_NE(connected[i], nullptr) << "outlet " << i;
    for (uint8_t n = 0; n < 8; ++n) {
        auto* view = dynamic_cast<GraphicView*>(d.viewOutlet(n));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->windowNumber(), n);
        EXPECT_TRUE(view->window()->isWindow());
    }
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(d.PasteboardTextView), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(d.SystemConsoleRuler), nullptr);
}

TEST_F(Interface, WindowNumbersAndWindowsMatch)
{
    for (uint8_t n = 0; n <= 12; ++n) {
        QWidget* window = windowobject(n);
        ASSERT_NE(window, nullptr) << int(n);
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(windowNumberForWindow(window), n);
    }
    EXPECT_EQ(windowobject(13), nullptr);
    EXPECT_EQ(windowview(8), nullptr);
    EXPECT_EQ(windowNumberForWindow(nullptr), noWindow);
    QWidget stranger;
    EXPECT_EQ(windowNumberForWindow(&stranger), noWindow);
    EXPECT_EQ(windowtextview(9), appDelegate().VirtualPrinterTextView);
    EXPECT_EQ(windowtextview(11), nullptr);
}

TEST_F(Interface, EveryWindowShowsTheMenusWithTheirTags)
{
    std::map<QString, QKeySequence> keys;
    std::map<QString, int> tags = menuTags(appDelegate().MainWindow, &keys);
    std::multiset<int> seen;
    for (const auto& [title, tag] : tags) seen.insert(tag);
    for (int tag : {100, 101, 110, 111, 112, 113, 114, 200, 201}) EXPECT_EQ(seen.count(tag), 1u) << tag;
    for (int tag = 205; tag <= 230; ++tag) EXPECT_EQ(seen.count(tag), 1u) << tag;
    EXPECT_EQ(keys[QStringLiteral("Beenden")], QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(keys[QStringLiteral("Text kopieren")], QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    for (const auto& [title, key] : keys) {
        if (key.isEmpty() || title == QStringLiteral("Beenden")) continue;
        EXPECT_TRUE(key[0].keyboardModifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) << title.toStdString();
    }
    for (uint8_t n = 0; n <= 12; ++n) EXPECT_EQ(menuTags(windowobject(n)), tags) << int(n);
    auto* bar = qobject_cast<QMainWindow*>(appDelegate().PasteboardWindow)->menuBar();
    QStringList titles;
    for (QAction* menu : bar->actions()) titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"Ablage", "Bearbeiten", "Fenster"}));
}

TEST_F(Interface, SideWindowsFollowTheirFrame)
{
    int64_t measured = sideWindowChromeHeight;
    sideWindowChromeHeight = 40;
    QWidget* pasteboard = appDelegate().PasteboardWindow;
    pasteboard->resize(400, 300);
    layoutsidewindow(8);
    EXPECT_EQ(widgetframe(appDelegate().PasteboardScrollView), (t_Rect{10, 10, 380, 240}));

    appDelegate().VirtualPrinterWindow->resize(700, 500);
    layoutsidewindow(9);
    EXPECT_EQ(widgetframe(appDelegate().VirtualPrinterScrollView), (t_Rect{20, 20, 660, 405}));
    t_Rect ruler = widgetframe(appDelegate().VirtualPrinterRuler);
    EXPECT_EQ(ruler.width, 652);
    EXPECT_EQ(ruler.height, 19);

    // A resize of the window itself lays it out through the delegate.
    appDelegate().SystemConsoleWindow->show();
    appDelegate().SystemConsoleWindow->resize(600, 400);
    QApplication::processEvents();
    EXPECT_EQ(widgetframe(appDelegate().SystemConsoleScrollView).width, 560);
    appDelegate().SystemConsoleWindow->hide();
    sideWindowChromeHeight = measured;
}

TEST_F(Interface, ChromeIsTheMenuBarOfTheSideWindows)
{
    QWidget* window = appDelegate().PasteboardWindow;
    int menuBar = qobject_cast<QMainWindow*>(window)->menuBar()->height();
    EXPECT_GT(menuBar, 0);
    EXPECT_EQ(measuresidewindowchrome(appDelegate()), menuBar);
}

TEST_F(Interface, CloseBoxHidesInsteadOfClosing)
{
    QWidget* preferences = appDelegate().PreferencesWindow;
    preferences->show();
    EXPECT_FALSE(preferences->close());
    EXPECT_FALSE(preferences->isVisible());
    preferences->show();  // shown again, unchanged
    EXPECT_TRUE(preferences->isVisible());
    preferences->hide();
    EXPECT_FALSE(appDelegate().applicationShouldTerminateAfterLastWindowClosed());
}

TEST(TrimmedInterface, MissingOutletsStayNull)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString path = folder.filePath(QStringLiteral("Trimmed.ui"));
    QFile file(path);
    ASSERT_TRUE(file.open(QFile::WriteOnly));
    file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Interface</class>
 <widget class="QWidget" name="Interface">
  <widget class="QMainWindow" name="GraphicWindow02">
   <widget class="QWidget" name="GraphicWindow02Content">
    <widget class="View02" name="t_View02"/>
   </widget>
  </widget>
  <widget class="QMainWindow" name="VirtualPrinterWindow">
   <widget class="QWidget" name="VirtualPrinterContent"/>
  </widget>
 </widget>
</ui>
)");
    file.close();

    AppDelegate trimmed;
    ASSERT_TRUE(loadinterface(path.toStdString(), trimmed));
    EXPECT_NE(trimmed.t_View02, nullptr);
    EXPECT_NE(trimmed.VirtualPrinterWindow, nullptr);
    int connected = 0;
    for (QWidget* outlet : outlets(trimmed)) connected += outlet != nullptr;
    EXPECT_EQ(connected, 2);
    EXPECT_EQ(measuresidewindowchrome(trimmed), 0);

    AppDelegate full = appDelegate();
    appDelegate() = trimmed;
    EXPECT_EQ(windowobject(0), nullptr);
    EXPECT_EQ(windowNumberForWindow(trimmed.t_View02->window()), 2);
    for (uint8_t n : {8, 9, 10}) layoutsidewindow(n);  // nothing to lay out; no crash
    trimmed.VirtualPrinterWindow->resize(500, 500);
    appDelegate().windowDidResize(trimmed.VirtualPrinterWindow);
    appDelegate() = full;

    EXPECT_FALSE(loadinterface("/nonexistent/Calvotrimex.ui", trimmed));
}
