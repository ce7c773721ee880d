#include "platform/menus.h"

#include "app/app_delegate.h"

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

uint64_t modifierBits(Qt::KeyboardModifiers modifiers)
{
    uint64_t bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= 0x20000;
    if (modifiers & Qt::ControlModifier) bits |= 0x40000;
    if (modifiers & Qt::AltModifier) bits |= 0x80000;
    if (modifiers & Qt::MetaModifier) bits |= 0x100000;
    return bits;
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
        info.keyMods = modifierBits(key.keyboardModifiers());
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
