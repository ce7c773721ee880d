// The interface file: a Qt Designer file with the application's windows, views and menus.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QString;
class QWidget;

// What the application does with the windows and menus of an interface file. Every handler
// may be left empty.
struct InterfaceHandlers {
    // Makes a widget of a class the application defines itself; null for Qt's own classes.
    std::function<QWidget*(const QString& className, QWidget* parent)> makeWidget;
    // Is given the interface as loaded, before its windows become top-level windows.
    std::function<void(QWidget* root)> loaded;
    // A window's close button: true lets the window close, after `windowWillClose`.
    std::function<bool(QWidget* window)> windowShouldClose;
    std::function<void(QWidget* window)> windowWillClose;
    std::function<void(QWidget* window)> windowDidResize;
    // A menu item was chosen (any but the Quit item, which quits the application).
    std::function<void(QAction* item)> menuItemChosen;
};

// Loads the interface file at `path`: every window in it becomes a top-level window with the
// application's menus in its menu bar; window and menu events go to `handlers`. Returns
// false when the file cannot be loaded.
bool loadinterface(const std::string& path, const InterfaceHandlers& handlers);

// What kind of widget an outlet must be.
enum class OutletKind { widget, textView, textField };
// The widget named `name` inside the interface `root` as loaded, when it is of `kind`: a text
// view is a QPlainTextEdit, a text field a QLineEdit. Null when there is none.
QWidget* findoutlet(QWidget* root, const std::string& name, OutletKind kind = OutletKind::widget);

// The windows the loaded interface files made, in the order of the files.
std::vector<QWidget*> interfacewindows();
// The menus of the loaded interface files, which every window's menu bar shows.
std::vector<QMenu*> interfacemenus();
