// The interface file: windows, views, menus and outlets, and what the delegate does with them.
#include "app/app_delegate.h"
#include "events/views.h"
#include "platform/bundle.h"
#include "platform/interface_file.h"
#include "platform/widgets.h"
#include "windows/window_lookup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

QMenuBar* menubar(QWidget* window)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    return mainWindow ? mainWindow->menuBar() : nullptr;
}

// The tag of every menu item, by title, from the menus of `window`.
std::map<QString, int> menuTags(QWidget* window)
{
    std::map<QString, int> tags;
    for (QAction* menu : menubar(window) ? menubar(window)->actions() : QList<QAction*>{})
        for (QAction* item : menu->menu() ? menu->menu()->actions() : QList<QAction*>{}) {
            if (item->isSeparator()) continue;
            tags[item->text()] = item->property("tag").toInt();
        }
    return tags;
}

// The interface of the application, loaded by the test program.
using Interface = ::testing::Test;

}  // namespace

TEST_F(Interface, WindowNumbersMatch)
{
    // The other tests use every outlet.
    const AppDelegate& d = appDelegate();
    for (uint8_t n = 0; n <= 12; ++n) {
        QWidget* window = windowobject(n);
        ASSERT_NE(window, nullptr) << int(n);
        EXPECT_EQ(std::tuple(window->isWindow(), windowNumberForWindow(window)), std::tuple(true, n));
        if (n > 7) continue;
        auto* view = dynamic_cast<GraphicView*>(d.viewOutlet(n));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(std::tuple(view->windowNumber(), view->window()), std::tuple(n, window));
    }
    EXPECT_EQ(std::tuple(windowobject(13), windowview(8), windowtextview(11)), std::tuple(nullptr, nullptr, nullptr));
    QWidget stranger;
    EXPECT_EQ(std::tuple(windowNumberForWindow(nullptr), windowNumberForWindow(&stranger)), std::tuple(noWindow, noWindow));
    AppDelegate none;
    EXPECT_FALSE(loadinterface("/nonexistent/Calvotrimex.ui", none));
}

// Every window shows the menus; the menu tests choose their items by these tags.
TEST_F(Interface, EveryWindowShowsTheMenusWithTheirTags)
{
    const std::map<QString, int> tags = menuTags(appDelegate().MainWindow);
    EXPECT_EQ(tags.size(), 37u);
    for (uint8_t n = 0; n <= 12; ++n) EXPECT_EQ(menuTags(windowobject(n)), tags) << int(n);
    QStringList titles;
    for (QAction* menu : menubar(appDelegate().PasteboardWindow)->actions()) titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"Ablage", "Bearbeiten", "Fenster"}));
}

// The side windows' chrome is their menu bar; a resize of the window itself lays it out
// through the delegate (the placement tests size them through the runtime).
TEST_F(Interface, SideWindowsFollowTheirFrameBelowTheMenuBar)
{
    const AppDelegate& d = appDelegate();
    EXPECT_TRUE(menubar(d.PasteboardWindow)->height() > 0 && measuresidewindowchrome(d) == menubar(d.PasteboardWindow)->height());
    for (QWidget* window : {d.PasteboardWindow, d.SystemConsoleWindow}) {
        window->show();
        window->resize(600, 400);
    }
    QApplication::processEvents();
    EXPECT_EQ(widgetframe(d.PasteboardScrollView), (t_Rect{10, 10, 580, 380.0 - sideWindowChromeHeight}));
    EXPECT_EQ(widgetframe(d.SystemConsoleScrollView).width, 560);
    d.PasteboardWindow->hide();
    d.SystemConsoleWindow->hide();
    for (QWidget* field : {d.VirtualPrinterRuler, d.SystemConsoleRuler})  // shown from its first column
        EXPECT_EQ(qobject_cast<QLineEdit*>(field)->cursorPosition(), 0);
    EXPECT_FALSE(appDelegate().applicationShouldTerminateAfterLastWindowClosed());
}

// The window and tray icon: the program's own AppIcon.svg, else the runtime's calvotrimex.svg,
// drawn by Qt's SVG icon engine.
TEST(ApplicationIcon, TheProgramsOwnElseTheRuntimes)
{
    const std::string previous = bundlepath();
    EXPECT_EQ(bundleicon(), resourcespath() + "calvotrimex.svg");
    EXPECT_FALSE(QIcon(QString::fromStdString(bundleicon())).pixmap(32, 32).isNull());
    QTemporaryDir bundle;
    const std::string resources = bundle.path().toStdString() + "/Contents/Resources/";
    QDir().mkpath(QString::fromStdString(resources));
    setbundlepath(bundle.path().toStdString());
    EXPECT_EQ(bundleicon(), "");
    for (const char* name : {"calvotrimex.svg", "AppIcon.svg"}) {
        std::ofstream(resources + name) << "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
        EXPECT_EQ(bundleicon(), resources + name);
    }
    setbundlepath(previous);
}
