#include "platform/menus.h"

#include "app/app_delegate.h"
#include "platform/key_events.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

std::string titleOf(const QAction* action)
{
    QString text = action->isSeparator() ? QString() : action->text();
    return text.remove(QLatin1Char('&')).toStdString();
}

QMenu* mainMenu(const std::string& title)
{
    auto* window = qobject_cast<QMainWindow*>(appDelegate().MainWindow);
    if (window == nullptr || window->menuWidget() == nullptr) return nullptr;
    for (QAction* action : window->menuBar()->actions())
        if (action->menu() != nullptr && titleOf(action) == title) return action->menu();
    return nullptr;
}

QAction* itemAt(const std::string& menu, int64_t position)
{
    QMenu* found = mainMenu(menu);
    if (found == nullptr || position < 0 || position >= found->actions().size()) return nullptr;
    return found->actions().at(static_cast<int>(position));
}

}  // namespace

MenuItemInfo menuiteminfo(QAction* item)
{
    MenuItemInfo info;
    if (item == nullptr) return info;
    info.itemTitle = titleOf(item);
    info.tag = item->property("tag").toLongLong();
    for (QObject* holder : item->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder)) {
            info.inMenu = true;
            info.menuTitle = menu->title().remove(QLatin1Char('&')).toStdString();
            break;
        }
    }
    if (!item->shortcut().isEmpty()) {
        QKeyCombination key = item->shortcut()[0];
        info.keyChar = QKeySequence(key.key()).toString().toLower().toStdString();
        info.keyMods = modifierbits(key.keyboardModifiers());
    }
    return info;
}

int64_t menuitemcount(const std::string& menu)
{
    QMenu* found = mainMenu(menu);
    return found == nullptr ? -1 : found->actions().size();
}

std::string menuitemtitle(const std::string& menu, int64_t position)
{
    QAction* item = itemAt(menu, position);
    return item == nullptr ? std::string() : titleOf(item);
}

void removemenuitem(const std::string& menu, int64_t position)
{
    if (QAction* item = itemAt(menu, position)) mainMenu(menu)->removeAction(item);
}
