#include "events/keyboard.h"

#include "events/menus.h"
#include "platform/clock.h"
#include "platform/worker_pool.h"

#include <deque>
#include <mutex>
#include <time.h>

std::atomic<bool> keyEventPending{false};

namespace {

constexpr uint64_t optionBit = 0x80000, controlBit = 0x40000, shiftBit = 0x20000;

std::mutex keyLock;
std::deque<t_Event> keyEventQueue;
t_Event lastTaken;

// Keys whose character on a German layout (mostly with Option) becomes a code of its own.
struct CharacterRow {
    int64_t key;
    int64_t character;
    int64_t value;
};
constexpr CharacterRow characterRows[] = {
    {0, 0xE5, 176},    {1, 0x201A, 168},  {2, 0x2202, 173},  {3, 0x192, 130},   {4, 0xAA, 131},
    {7, 0x2248, 132},  {9, 0x221A, 253},  {10, 0, 94},       {11, 0x222B, 222}, {13, 0x2211, 221},
    {14, 0x20AC, 164}, {16, 0x3A9, 128},  {17, 0x2020, 189}, {19, 0x201C, 163}, {27, 0xBF, 166},
    {29, 0x2260, 172}, {32, 0, 175},      {33, 0x2022, 184}, {34, 0x2044, 129}, {35, 0x3C0, 240},
    {35, 0x220F, 208}, {38, 0xBA, 183},   {40, 0x2206, 254}, {41, 0x153, 190},  {42, 0x2018, 180},
    {43, 0x221E, 255}, {44, 0x2013, 154}, {47, 0x2026, 191}, {48, 25, 20},      {50, 0x2264, 197},
    {50, 0x2265, 198},
};

// Keys that always give the same code, whatever their character and modifiers.
struct FixedRow {
    int64_t key;
    int64_t value;
    bool cursorKey;
};
constexpr FixedRow fixedRows[] = {
    {keycode::backspace, 127, false}, {keycode::keypadClear, 27, false}, {keycode::keypadEnter, 13, false},
    {keycode::home, 2, true},         {keycode::pageUp, 18, true},       {keycode::forwardDelete, 7, false},
    {keycode::end, 5, true},          {keycode::pageDown, 3, true},      {keycode::left, 8, true},
    {keycode::right, 21, true},       {keycode::down, 10, true},         {keycode::up, 11, true},
};

// Option + numeric pad 0 ... 6 give a code of their own; 7, 8, 9 replace the character.
constexpr int64_t optionKeypad[] = {216, 185, 178, 179, 170, 215, 186};

KeyValue generalRule(int64_t c)
{
    KeyValue result;
    if (c <= 255) return {true, c};
    if (c >= 0xF704) {
        result = {true, c - 0xF683};
        result.functionKey = true;
    }
    return result;
}

// The rows of the key table that depend on the modifiers: numeric pad, Control-Option-L and
// the dead keys of "=" and "N". Returns whether a row decided; `c` may be replaced.
bool modifierRow(int64_t k, int64_t& c, uint64_t f, KeyValue& result)
{
    const bool option = f & optionBit, control = f & controlBit;
    if (k >= keycode::keypad0 && k <= keycode::keypad0 + 6 && option) {
        result = {true, optionKeypad[k - keycode::keypad0]};
        return true;
    }
    if (k == keycode::keypad7 || k == keycode::keypad8 || k == keycode::keypad9) {
        if (option) {
            c = k == keycode::keypad7 ? 229 : k == keycode::keypad8 ? 230 : 188;
        } else if (control) {
            result.redirect = k == keycode::keypad7 ? 0 : k == keycode::keypad8 ? 2 : 1;
            return true;
        }
        return false;
    }
    if (k == 24 && c == 0) return result = {true, (f & shiftBit) ? 96 : 180}, true;
    if (k == 37 && c == 12 && option) return result = {true, 0}, true;
    if (k == 45 && c == 0 && option) return result = {true, 126}, true;
    return false;
}

t_Event keyEvent(int64_t window, const KeyEventRecord& key, const KeyValue& value)
{
    const uint64_t f = key.modifierFlags;
    t_Event e;
    e.Kind = 1;
    e.Index = key.keyCode;
    e.Description = key.characters;
    e.Value = value.value;
    e.Window = static_cast<uint8_t>(window);
    e.Time = static_cast<int64_t>(absolutetime() * 1000);
    setmodifierfields(e, f);
    e.CursorKeyPressed = value.cursorKey;
    e.FunctionKeyPressed = value.functionKey;
    return e;
}

// Takes the oldest key event; the caller holds the key lock.
int64_t takeOldest()
{
    keyEventPending = !keyEventQueue.empty();
    if (keyEventQueue.empty()) return -1;
    lastTaken = keyEventQueue.front();
    keyEventQueue.pop_front();
    keyEventPending = !keyEventQueue.empty();
    return lastTaken.Value;
}

}  // namespace

KeyValue keyvalue(int64_t k, const std::string& characters, uint64_t f)
{
    int64_t c = firstcode(characters);
    KeyValue result;
    if (k >= 0 && k <= 126) {
        for (const FixedRow& row : fixedRows)
            if (row.key == k) return {true, row.value, row.cursorKey};
        for (const CharacterRow& row : characterRows)
            if (row.key == k && row.character == c) return {true, row.value};
        if (modifierRow(k, c, f, result)) return result;
    }
    return generalRule(c);
}

void t_KeyEventHandler(int64_t window, const KeyEventRecord& key)
{
    setmodifierflags(key.modifierFlags);
    KeyValue value = keyvalue(key.keyCode, key.characters, key.modifierFlags);
    if (value.redirect >= 0) t_RedirectOutput(static_cast<uint8_t>(window), value.redirect);
    std::lock_guard<std::mutex> guard(keyLock);
    if (value.event) keyEventQueue.push_back(keyEvent(window, key, value));
    keyEventPending = !keyEventQueue.empty();
}

int64_t t_NextKeyEvent()
{
    if (!keyEventPending) return -1;
    std::lock_guard<std::mutex> guard(keyLock);
    return takeOldest();
}

t_Event currentEvent()
{
    std::lock_guard<std::mutex> guard(keyLock);
    return lastTaken;
}

size_t keyeventcount()
{
    std::lock_guard<std::mutex> guard(keyLock);
    return keyEventQueue.size();
}

std::pair<bool, int64_t> t_PauseOnKey(int64_t key, bool wait)
{
    if (!keyEventPending) return {false, 0};
    {
        std::lock_guard<std::mutex> guard(keyLock);
        keyEventPending = !keyEventQueue.empty();
        if (keyEventQueue.empty() || keyEventQueue.back().Value != key) return {false, 0};
        keyEventQueue.clear();
    }
    if (!wait) return {true, 0};
    const size_t menus = menueventcount();
    const timespec pause{0, 10000000};
    BlockingWait blocking;
    while (keyeventcount() == 0 && menueventcount() == menus) nanosleep(&pause, nullptr);
    std::lock_guard<std::mutex> guard(keyLock);
    const int64_t value = keyEventQueue.empty() ? 0 : takeOldest();
    keyEventPending = !keyEventQueue.empty();
    return {true, value};
}
