#include "platform/interface_file.h"

#include "platform/log.h"
#include "platform/widgets.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
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
    explicit InterfaceLoader(const InterfaceHandlers& handlers) : handlers_(handlers) {}

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        if (QWidget* own = handlers_.makeWidget ? handlers_.makeWidget(className, parent) : nullptr) {
            own->setObjectName(name);
            return own;
        }
        return QUiLoader::createWidget(className, parent, name);
    }

private:
    const InterfaceHandlers& handlers_;
};

// Hands the window events of the interface's windows to the handlers.
class WindowEvents : public QObject {
public:
    explicit WindowEvents(const InterfaceHandlers& handlers) : handlers_(handlers) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Close:
            if (applicationquitting()) return false;  // closing as the application ends
            if (!handlers_.windowShouldClose || handlers_.windowShouldClose(window)) {
                if (handlers_.windowWillClose) handlers_.windowWillClose(window);
                return false;
            }
            event->ignore();
            return true;
        case QEvent::Resize:
            if (handlers_.windowDidResize) handlers_.windowDidResize(window);
            return false;
        case QEvent::WindowActivate:
            notewindowactivated(window);
            return false;
        default:
            return false;
        }
    }

private:
    InterfaceHandlers handlers_;
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

void connectMenuItems(const QList<QMenu*>& menus, const std::function<void(QAction*)>& chosen)
{
    for (QMenu* menu : menus) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || item->menu() != nullptr) continue;
            // Every window shows the same menus; a key equivalent works in each of them.
            item->setShortcutContext(Qt::ApplicationShortcut);
            if (item->objectName() == QLatin1String("actionQuit"))
                QObject::connect(item, &QAction::triggered, item, [] { quitapplication(); });
            else if (chosen)
                QObject::connect(item, &QAction::triggered, item, [item, chosen] { chosen(item); });
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

}  // namespace

bool loadinterface(const std::string& path, const InterfaceHandlers& handlers)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QFile::ReadOnly)) {
        logline("loadinterface: Interface file " + path + " not found.");
        return false;
    }
    InterfaceLoader loader(handlers);
    QWidget* root = loader.load(&file);
    if (root == nullptr) {
        logline("loadinterface: Interface file " + path + " not readable: " + loader.errorString().toStdString());
        return false;
    }
    if (handlers.loaded) handlers.loaded(root);
    QList<QMenu*> menus = interfaceMenus(root);
    connectMenuItems(menus, handlers.menuItemChosen);
    auto* menuKeys = new MenuKeys(menus);
    menuKeys->setParent(qApp);
    for (QMenu* menu : menus) loadedMenus.emplace_back(menu);

    QList<QWidget*> windows;
    for (QObject* child : root->children())
        if (auto* window = qobject_cast<QWidget*>(child)) windows.append(window);
    auto* events = new WindowEvents(handlers);
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
    return true;
}

QWidget* findoutlet(QWidget* root, const std::string& name, OutletKind kind)
{
    const QString objectName = QString::fromStdString(name);
    switch (kind) {
    case OutletKind::textView:
        return root->findChild<QPlainTextEdit*>(objectName);
    case OutletKind::textField:
        return root->findChild<QLineEdit*>(objectName);
    case OutletKind::widget:
        break;
    }
    return root->findChild<QWidget*>(objectName);
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
