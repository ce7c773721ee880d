#include "events/menus.h"

#include "app/app_delegate.h"
#include "app/graphemes.h"
#include "events/file_panels.h"
#include "events/side_windows.h"
#include "events/sound.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "platform/main_thread.h"
#include "platform/threads.h"
#include "platform/widgets.h"
#include "windows/window_lookup.h"
#include "windows/window_table.h"

#include <algorithm>
#include <mutex>

std::atomic<bool> menuEventPending{false};
ClosureSlot programMenuHandler;
ClosureSlot frontWindowActionHandler{playBeep};

namespace {

constexpr int64_t lastItem = 65535;

// The window whose menu bar the menu routines read and change: the main window. GUI thread.
QWidget* mainWindow()
{
    return appDelegate().MainWindow;
}

std::mutex menuLock;
std::vector<t_MenuAction> menuActionTable;
std::vector<t_MenuEvent> menuEventQueue;

// The characters the graphic codes 127 ... 160 look like; 156, the rule of text lines, is a
// horizontal line like 140.
const char* asciiOfGraphic(int64_t code)
{
    static const char* const table[34] = {
        "#", "*", "#", "<", "=", ">", "O", "+", "+", "+", "+", "|", "|", "-", "-", "+", "+",
        "+", "+", "+", "+", "+", "+", "+", "+", "+", "+", "-", "-", "-", "|", "+", "=", "\u02FD"};
    return code >= 127 && code <= 160 ? table[code - 127] : nullptr;
}

std::string lastPathComponent(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    size_t slash = path.rfind('/');
    return slash == std::string::npos || path == "/" ? path : path.substr(slash + 1);
}

void refuseWindow(int64_t window)
{
    logline("t_MenuEventHandler: Window #" + std::to_string(window) + " not initialized.");
    playBeep();
}

// The text view of side window 9 or 10, or null after its line and the beep.
QWidget* sideTextView(uint8_t window)
{
    QWidget* view = windowtextview(window);
    if (view != nullptr) return view;
    logline(window == 9 ? "t_MenuEventHandler: Virtual printer window is nil, resource undefined."
                        : "t_MenuEventHandler: System console window is nil, resource undefined.");
    playBeep();
    return nullptr;
}

// The window's text as Linux programs take it from the clipboard: its lines end with "\n".
std::string withLinuxLineEnds(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

void copyText()
{
    const uint8_t front = mainwindownumber();
    if (front <= 7) return setclipboardtext(withLinuxLineEnds(graphictexttoascii(t_GetScreen(front, "\r"))));
    if (front != 9 && front != 10) return playBeep();
    if (QWidget* view = sideTextView(front)) setclipboardtext(textviewtext(view));
}

void showOrHideGraphic(int64_t action)
{
    const auto window = static_cast<uint8_t>((action - 213) / 2);
    bool ready = false;
    if (graphicwindowexists(window)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        ready = windowTable[window].Initialized;
    }
    if (!ready) return refuseWindow(window);
    (action - 213) % 2 == 0 ? t_WindowFront(window) : t_WindowVisible(window, false);
}

void showOrHide(uint8_t window, bool show)
{
    show ? t_WindowFront(window) : t_WindowVisible(window, false);
}

// Runs an open (100) or save (101) panel with the entry's texts and stores the choice.
void runPanel(int64_t index, int64_t action)
{
    t_MenuAction entry = t_MenuActionGet(index);
    entry.FilePath = action == 100 ? t_OpenPanel(entry.Title, entry.Note, entry.FileTypes, true, false)
                                   : t_SavePanel(entry.FileName, entry.Title, entry.Note, entry.FileTypes);
    entry.FileName = lastPathComponent(entry.FilePath);
    t_MenuActionSet(index, entry);
}

void perform(int64_t index)
{
    const int64_t action = t_MenuActionGet(index).Action;
    switch (action) {
    case 100:
    case 101: return runPanel(index, action);
    case 110:
        if (!copywindowpicture(mainwindownumber())) playBeep();
        return;
    case 111: return copyText();
    case 112:
    case 114:
        if (QWidget* view = sideTextView(action == 112 ? 9 : 10)) cleartextview(view);
        return;
    case 113: return mainwindownumber() <= 7 ? frontWindowActionHandler() : playBeep();
    case 200:
        for (uint8_t n = 0; n <= 12; ++n) t_WindowVisible(n, false);
        return;
    case 201: return t_WindowVisible(mainwindownumber(), false);
    case 205: case 206: return showOrHide(12, action == 205);
    case 207: case 208: return showOrHide(11, action == 207);
    case 209: case 210: return showOrHide(9, action == 209);
    case 211: case 212: return showOrHide(8, action == 211);
    case 229: case 230: return showOrHide(10, action == 229);
    default:
        if (action >= 213 && action <= 228) showOrHideGraphic(action);
        return;
    }
}

void callProgramMenuHandler()
{
    runAsync([] {
        if (threadnumber() >= 3) setthreadname("t_EventMenu");
        programMenuHandler();
    });
}

// Deletes `title` from the menu titled `menu` when it is there; `found` names the line then.
void removeItem(const std::string& menu, const std::string& title, const std::string& found = {})
{
    int64_t index = t_MenuItemIndex(menu, title);
    if (index < 0) return;
    if (!found.empty()) logline(found + title);
    t_MenuItemDelete(menu, index);
}

// Deletes a separator left at the end of the menu (or asks to delete from an empty or missing one).
void removeTrailingSeparator(const std::string& menu)
{
    int64_t count = mainThreadValue<int64_t>([&menu] { return menuitemcount(mainWindow(), menu); });
    bool separator = count >= 1 && mainThreadValue<std::string>([&] { return menuitemtitle(mainWindow(), menu, count - 1); }).empty();
    if (count < 1 || separator) t_MenuItemDelete(menu, lastItem);
}

}  // namespace

std::string graphictexttoascii(const std::string& text)
{
    std::string result;
    for (const ScalarAt& scalar : utf8scalars(text)) {
        const char* ascii = asciiOfGraphic(scalar.code);
        result += ascii != nullptr ? std::string(ascii) : text.substr(scalar.start, scalar.length);
    }
    return result;
}

void t_MenuEventHandler(const MenuItemInfo& item)
{
    t_MenuEvent event;
    bool builtIn = false;
    if (item.inMenu) {
        event = {3, item.menuTitle, item.itemTitle, item.keyChar, item.keyMods, firstcode(item.keyChar), item.tag,
                 static_cast<int64_t>(absolutetime() * 1000)};
        const int64_t index = t_MenuActionIndex(item.tag);
        if (index >= 0) {
            perform(index);
            builtIn = true;
        }
    }
    {
        std::lock_guard<std::mutex> guard(menuLock);
        menuEventQueue.push_back(event);
    }
    menuEventPending = true;
    if (!builtIn) callProgramMenuHandler();
}

void t_MenuActionAdd(int64_t tag)
{
    std::lock_guard<std::mutex> guard(menuLock);
    menuActionTable.push_back(t_MenuAction{tag, tag});
}

int64_t t_MenuActionIndex(int64_t tag)
{
    if (tag == 0) return -1;
    std::lock_guard<std::mutex> guard(menuLock);
    for (size_t i = 0; i < menuActionTable.size(); ++i)
        if (menuActionTable[i].Tag == tag) return static_cast<int64_t>(i);
    return -1;
}

t_MenuAction t_MenuActionGet(int64_t index)
{
    std::lock_guard<std::mutex> guard(menuLock);
    if (index < 0 || index >= static_cast<int64_t>(menuActionTable.size())) return {};
    return menuActionTable[index];
}

void t_MenuActionSet(int64_t index, const t_MenuAction& action)
{
    std::lock_guard<std::mutex> guard(menuLock);
    if (index >= 0 && index < static_cast<int64_t>(menuActionTable.size())) menuActionTable[index] = action;
}

size_t menueventcount()
{
    std::lock_guard<std::mutex> guard(menuLock);
    return menuEventQueue.size();
}

std::vector<t_MenuEvent> takemenuevents()
{
    std::lock_guard<std::mutex> guard(menuLock);
    std::vector<t_MenuEvent> events;
    events.swap(menuEventQueue);
    return events;
}

int64_t t_MenuItemIndex(const std::string& menu, const std::string& item)
{
    const int64_t index = mainThreadValue<int64_t>([&]() -> int64_t {
        const int64_t count = menuitemcount(mainWindow(), menu);
        if (count < 0) return -2;
        for (int64_t i = 0; i < count; ++i)
            if (menuitemtitle(mainWindow(), menu, i) == item) return i;
        return -1;
    });
    if (index == -2) logline("t_MenuItemIndex: Menu not found.");
    return index;
}

void t_MenuItemDelete(const std::string& menu, int64_t position)
{
    const char* refusal = mainThreadValue<const char*>([&]() -> const char* {
        const int64_t count = menuitemcount(mainWindow(), menu);
        if (count < 0) return "t_MenuItemDelete: Menu not found.";
        if (position == lastItem && count >= 1) position = count - 1;
        if (position < 0 || position >= count) return "t_MenuItemDelete: Item position out of range";
        removemenuitem(mainWindow(), menu, position);
        return nullptr;
    });
    if (refusal != nullptr) logline(refusal);
}

std::string t_MenuItemTitle(const std::string& menu, int64_t position)
{
    std::string refusal;
    std::string title = mainThreadValue<std::string>([&]() -> std::string {
        const int64_t count = menuitemcount(mainWindow(), menu);
        if (count < 0) return refusal = "t_MenuItemTitle: Menu not found.", "";
        if (position == lastItem && count >= 1) position = count - 1;
        if (position < 0 || position >= count) return refusal = "t_MenuItemTitle: Item position out of range", "";
        return menuitemtitle(mainWindow(), menu, position);
    });
    if (!refusal.empty()) logline(refusal);
    return title;
}

void preparemenus()
{
    for (int64_t tag = 200; tag <= 231; ++tag) t_MenuActionAdd(tag);
    for (int64_t tag = 110; tag <= 114; ++tag) t_MenuActionAdd(tag);
    for (const char* title : {"Special Characters…", "Emoji & Symbols", "Emoji & Symbole", "Start Dictation…",
                              "Diktat starten …"}) {
        removeItem("Bearbeiten", title);
        removeItem("Edit", title);
    }
    removeTrailingSeparator("Bearbeiten");
    removeTrailingSeparator("Edit");
    for (const char* title : {"Tile Window to Left of Screen", "Tile Window to Right of Screen", "Vollbildmodus"}) {
        removeItem("Fenster", title, "*** Found Fenster Menu Item ");
        removeItem("Window", title, "*** Found Window Menu Item ");
    }
}
