#include "platform/interface_file.h"

#include "app/app_delegate.h"
#include "events/views.h"
#include "platform/log.h"
#include "platform/widgets.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QUiLoader>

namespace {

std::vector<QPointer<QWidget>> loadedWindows;
std::vector<QPointer<QMenu>> loadedMenus;

class InterfaceLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        if (QWidget* view = makeview(className, parent)) {
            view->setObjectName(name);
            return view;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
};

// Hands the window events of the interface's windows to the delegate.
class WindowEvents : public QObject {
public:
    explicit WindowEvents(AppDelegate& delegate) : delegate_(delegate) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Close:
            if (applicationquitting()) return false;  // closing as the application ends
            if (delegate_.windowShouldClose(window)) {
                delegate_.windowWillClose(window);
                return false;
            }
            event->ignore();
            return true;
        case QEvent::Resize:
            delegate_.windowDidResize(window);
            return false;
        case QEvent::WindowActivate:
            notewindowactivated(window);
            return false;
        default:
            return false;
        }
    }

private:
    AppDelegate& delegate_;
};

// Keeps the menus' key equivalents for the menus in every window: a text view that would take
// such a key for itself (Ctrl+Shift+Z is its Redo) is not asked first.
class MenuKeys : public QObject {
public:
    explicit MenuKeys(const QList<QMenu*>& menus)
    {
        for (QMenu* menu : menus)
            for (QAction* item : menu->actions())
                if (!item->shortcut().isEmpty()) items_.append(item);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QPointer<QAction>& item : items_) {
            if (item && item->isEnabled() && item->shortcut().matches(key) == QKeySequence::ExactMatch) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    QList<QPointer<QAction>> items_;
};

template <typename T = QWidget>
QWidget* outlet(QWidget* root, const char* name)
{
    return root->findChild<T*>(QString::fromLatin1(name));
}

void connectOutlets(QWidget* root, AppDelegate& d)
{
    QWidget** views[] = {&d.t_View00, &d.t_View01, &d.t_View02, &d.t_View03,
                         &d.t_View04, &d.t_View05, &d.t_View06, &d.t_View07};
    for (int n = 0; n < 8; ++n) *views[n] = outlet(root, ("t_View0" + std::to_string(n)).c_str());
    d.VirtualPrinterWindow = outlet(root, "VirtualPrinterWindow");
    d.VirtualPrinterScrollView = outlet(root, "VirtualPrinterScrollView");
    d.VirtualPrinterTextView = outlet<QPlainTextEdit>(root, "VirtualPrinterTextView");
    d.VirtualPrinterRuler = outlet<QLineEdit>(root, "VirtualPrinterRuler");
    d.SystemConsoleWindow = outlet(root, "SystemConsoleWindow");
    d.SystemConsoleScrollView = outlet(root, "SystemConsoleScrollView");
    d.SystemConsoleTextView = outlet<QPlainTextEdit>(root, "SystemConsoleTextView");
    d.SystemConsoleRuler = outlet<QLineEdit>(root, "SystemConsoleRuler");
    d.PasteboardWindow = outlet(root, "PasteboardWindow");
    d.PasteboardScrollView = outlet(root, "PasteboardScrollView");
    d.PasteboardTextView = outlet<QPlainTextEdit>(root, "PasteboardTextView");
    d.MainWindow = outlet(root, "MainWindow");
    d.PreferencesWindow = outlet(root, "PreferencesWindow");
}

// The menus of the interface: those of its first menu bar.
QList<QMenu*> interfaceMenus(QWidget* root)
{
    QList<QMenu*> menus;
    auto* bar = root->findChild<QMenuBar*>();
    if (bar == nullptr) return menus;
    for (QAction* action : bar->actions())
        if (action->menu() != nullptr) menus.append(action->menu());
    return menus;
}

void connectMenuItems(const QList<QMenu*>& menus, AppDelegate& delegate)
{
    for (QMenu* menu : menus) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || item->menu() != nullptr) continue;
            // Every window shows the same menus; a key equivalent works in each of them.
            item->setShortcutContext(Qt::ApplicationShortcut);
            if (item->objectName() == QLatin1String("actionQuit"))
                QObject::connect(item, &QAction::triggered, item, [] { quitapplication(); });
            else
                QObject::connect(item, &QAction::triggered, item, [item, &delegate] { delegate.MenuHandler(item); });
        }
    }
}

// Gives every window of the interface the application's menus in a menu bar of its own.
void shareMenus(const QList<QWidget*>& windows, const QList<QMenu*>& menus)
{
    for (QWidget* window : windows) {
        auto* mainWindow = qobject_cast<QMainWindow*>(window);
        if (mainWindow == nullptr) continue;
        QMenuBar* bar = mainWindow->menuBar();
        if (!bar->actions().isEmpty()) continue;
        for (QMenu* menu : menus) bar->addMenu(menu);
    }
}

// Sizes a side window's scroll view to fill its window's content below the ruler, so that
// the chrome measured at launch is the height of the window's menu bar.
void fitScrollView(QWidget* scrollView, int side, int top)
{
    if (scrollView == nullptr || scrollView->parentWidget() == nullptr) return;
    QWidget* content = scrollView->parentWidget();
    if (QLayout* layout = content->window()->layout()) layout->activate();
    scrollView->setGeometry(side, top, content->width() - 2 * side, content->height() - top - side);
}

}  // namespace

bool loadinterface(const std::string& path, AppDelegate& delegate)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QFile::ReadOnly)) {
        logline("loadinterface: Interface file " + path + " not found.");
        return false;
    }
    InterfaceLoader loader;
    QWidget* root = loader.load(&file);
    if (root == nullptr) {
        logline("loadinterface: Interface file " + path + " not readable: " + loader.errorString().toStdString());
        return false;
    }
    connectOutlets(root, delegate);
    QList<QMenu*> menus = interfaceMenus(root);
    connectMenuItems(menus, delegate);
    auto* menuKeys = new MenuKeys(menus);
    menuKeys->setParent(qApp);
    for (QMenu* menu : menus) loadedMenus.emplace_back(menu);

    QList<QWidget*> windows;
    for (QObject* child : root->children())
        if (auto* window = qobject_cast<QWidget*>(child)) windows.append(window);
    auto* events = new WindowEvents(delegate);
    for (QWidget* window : windows) {
        window->setParent(nullptr, Qt::Window);
        window->installEventFilter(events);
        loadedWindows.emplace_back(window);
        // On the interface's own widgets only: events that other threads post to the
        // application (the runtime's GUI-thread calls, Qt's own) are none of its business.
        window->installEventFilter(menuKeys);
        for (QWidget* widget : window->findChildren<QWidget*>()) widget->installEventFilter(menuKeys);
    }
    events->setParent(windows.isEmpty() ? nullptr : windows.first());
    shareMenus(windows, menus);
    delete root;

    for (QWidget* text : {delegate.PasteboardTextView, delegate.VirtualPrinterTextView, delegate.SystemConsoleTextView,
                          delegate.VirtualPrinterRuler, delegate.SystemConsoleRuler})
        settextviewfont(text, "Menlo", 12);
    // A ruler wider than its field shows its first columns, as the text below it does.
    for (QWidget* ruler : {delegate.VirtualPrinterRuler, delegate.SystemConsoleRuler})
        if (auto* field = qobject_cast<QLineEdit*>(ruler)) field->setCursorPosition(0);
    fitScrollView(delegate.PasteboardScrollView, 10, 10);
    fitScrollView(delegate.VirtualPrinterScrollView, 20, 35);
    fitScrollView(delegate.SystemConsoleScrollView, 20, 35);
    return true;
}

std::vector<QWidget*> interfacewindows()
{
    std::vector<QWidget*> windows;
    for (const QPointer<QWidget>& window : loadedWindows)
        if (!window.isNull()) windows.push_back(window.data());
    return windows;
}

std::vector<QMenu*> interfacemenus()
{
    std::vector<QMenu*> menus;
    for (const QPointer<QMenu>& menu : loadedMenus)
        if (!menu.isNull()) menus.push_back(menu.data());
    return menus;
}
