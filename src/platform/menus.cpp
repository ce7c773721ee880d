#include "platform/menus.h"

#include "platform/key_events.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

// A title as the user reads it: Qt's "&&" is a literal "&", a single "&" marks the mnemonic.
std::string plainTitle(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) plain += text[i];
        else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) plain += text[++i];
    }
    return plain.toStdString();
}

std::string titleOf(const QAction* action)
{
    return action->isSeparator() ? std::string() : plainTitle(action->text());
}

QMenu* barMenu(QWidget* window, const std::string& title)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    if (mainWindow == nullptr || mainWindow->menuWidget() == nullptr) return nullptr;
    for (QAction* action : mainWindow->menuBar()->actions())
        if (action->menu() != nullptr && titleOf(action) == title) return action->menu();
    return nullptr;
}

QAction* itemAt(QMenu* menu, int64_t position)
{
    if (menu == nullptr || position < 0 || position >= menu->actions().size()) return nullptr;
    return menu->actions().at(static_cast<int>(position));
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
            info.menuTitle = plainTitle(menu->title());
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

int64_t menuitemcount(QWidget* window, const std::string& menu)
{
    QMenu* found = barMenu(window, menu);
    return found == nullptr ? -1 : found->actions().size();
}

std::string menuitemtitle(QWidget* window, const std::string& menu, int64_t position)
{
    QAction* item = itemAt(barMenu(window, menu), position);
    return item == nullptr ? std::string() : titleOf(item);
}

void removemenuitem(QWidget* window, const std::string& menu, int64_t position)
{
    QMenu* found = barMenu(window, menu);
    if (QAction* item = itemAt(found, position)) found->removeAction(item);
}
