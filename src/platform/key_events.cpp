#include "platform/key_events.h"

#include "platform/dead_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <utility>

std::atomic<bool> capsLockPressed{false};

namespace {

constexpr uint64_t numericPadBit = 0x200000, helpBit = 0x400000, functionBit = 0x800000, capsLockBit = 0x10000;
constexpr uint64_t shiftBit = 0x20000, controlBit = 0x40000, optionBit = 0x80000, commandBit = 0x100000;
constexpr uint32_t x11LockMask = 0x2;

// evdev code -> key position, for the keys of a full keyboard.
constexpr std::pair<int, int> evdevPositions[] = {
    {1, 53},   {2, 18},   {3, 19},   {4, 20},   {5, 21},   {6, 23},   {7, 22},   {8, 26},   {9, 28},   {10, 25},
    {11, 29},  {12, 27},  {13, 24},  {14, 51},  {15, 48},  {16, 12},  {17, 13},  {18, 14},  {19, 15},  {20, 17},
    {21, 16},  {22, 32},  {23, 34},  {24, 31},  {25, 35},  {26, 33},  {27, 30},  {28, 36},  {29, 59},  {30, 0},
    {31, 1},   {32, 2},   {33, 3},   {34, 5},   {35, 4},   {36, 38},  {37, 40},  {38, 37},  {39, 41},  {40, 39},
    {41, 10},  {42, 56},  {43, 42},  {44, 6},   {45, 7},   {46, 8},   {47, 9},   {48, 11},  {49, 45},  {50, 46},
    {51, 43},  {52, 47},  {53, 44},  {54, 60},  {55, 67},  {56, 58},  {57, 49},  {58, 57},  {59, 122}, {60, 120},
    {61, 99},  {62, 118}, {63, 96},  {64, 97},  {65, 98},  {66, 100}, {67, 101}, {68, 109}, {69, 71},  {70, 107},
    {71, 89},  {72, 91},  {73, 92},  {74, 78},  {75, 86},  {76, 87},  {77, 88},  {78, 69},  {79, 83},  {80, 84},
    {81, 85},  {82, 82},  {83, 65},  {86, 50},  {87, 103}, {88, 111}, {96, 76},  {97, 62},  {98, 75},  {99, 105},
    {100, 61}, {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125}, {109, 121},
    {110, 114}, {111, 117}, {113, 74}, {114, 73}, {115, 72}, {117, 81}, {119, 113}, {125, 55}, {126, 54},
    {138, 114}, {183, 105}, {184, 107}, {185, 113}, {186, 106}, {187, 64}, {188, 79}, {189, 80}, {190, 90},
};

// Qt key -> key position of the letters, digits and other keys, where no scan code is known.
constexpr std::pair<int, int> qtPositions[] = {
    {Qt::Key_A, 0},          {Qt::Key_S, 1},          {Qt::Key_D, 2},          {Qt::Key_F, 3},
    {Qt::Key_H, 4},          {Qt::Key_G, 5},          {Qt::Key_Z, 6},          {Qt::Key_X, 7},
    {Qt::Key_C, 8},          {Qt::Key_V, 9},          {Qt::Key_B, 11},         {Qt::Key_Q, 12},
    {Qt::Key_W, 13},         {Qt::Key_E, 14},         {Qt::Key_R, 15},         {Qt::Key_Y, 16},
    {Qt::Key_T, 17},         {Qt::Key_1, 18},         {Qt::Key_2, 19},         {Qt::Key_3, 20},
    {Qt::Key_4, 21},         {Qt::Key_6, 22},         {Qt::Key_5, 23},         {Qt::Key_Equal, 24},
    {Qt::Key_9, 25},         {Qt::Key_7, 26},         {Qt::Key_Minus, 27},     {Qt::Key_8, 28},
    {Qt::Key_0, 29},         {Qt::Key_BracketRight, 30}, {Qt::Key_O, 31},      {Qt::Key_U, 32},
    {Qt::Key_BracketLeft, 33}, {Qt::Key_I, 34},       {Qt::Key_P, 35},         {Qt::Key_Return, 36},
    {Qt::Key_L, 37},         {Qt::Key_J, 38},         {Qt::Key_Apostrophe, 39}, {Qt::Key_K, 40},
    {Qt::Key_Semicolon, 41}, {Qt::Key_Backslash, 42}, {Qt::Key_Comma, 43},     {Qt::Key_Slash, 44},
    {Qt::Key_N, 45},         {Qt::Key_M, 46},         {Qt::Key_Period, 47},    {Qt::Key_Tab, 48},
    {Qt::Key_Backtab, 48},   {Qt::Key_Space, 49},     {Qt::Key_QuoteLeft, 50}, {Qt::Key_Backspace, 51},
    {Qt::Key_Escape, 53},    {Qt::Key_Clear, 71},     {Qt::Key_Enter, 76},     {Qt::Key_F1, 122},
    {Qt::Key_F2, 120},       {Qt::Key_F3, 99},        {Qt::Key_F4, 118},       {Qt::Key_F5, 96},
    {Qt::Key_F6, 97},        {Qt::Key_F7, 98},        {Qt::Key_F8, 100},       {Qt::Key_F9, 101},
    {Qt::Key_F10, 109},      {Qt::Key_F11, 103},      {Qt::Key_F12, 111},      {Qt::Key_Help, 114},
    {Qt::Key_Insert, 114},   {Qt::Key_Home, 115},     {Qt::Key_PageUp, 116},   {Qt::Key_Delete, 117},
    {Qt::Key_End, 119},      {Qt::Key_PageDown, 121}, {Qt::Key_Left, 123},     {Qt::Key_Right, 124},
    {Qt::Key_Down, 125},     {Qt::Key_Up, 126},
};

// The numeric pad's digits 0 ... 9.
constexpr std::array<int, 10> keypadPositions = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};

// The character a key of the numeric pad types whatever NumLock says: its digit, or the
// decimal point; 0 for other keys.
char padCharacter(int64_t position)
{
    if (position == 65) return '.';
    for (size_t digit = 0; digit < keypadPositions.size(); ++digit)
        if (keypadPositions[digit] == position) return static_cast<char>('0' + digit);
    return 0;
}

bool isPrintable(const QString& text)
{
    return text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

// Caps Lock as the X server reported it with a key event (its state before the event); the
// flag as it stands for events without X11's state.
bool lockedBefore(const QKeyEvent& event)
{
    return event.nativeScanCode() != 0 ? (event.nativeModifiers() & x11LockMask) != 0 : capsLockPressed.load();
}

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// The modifier bits of a key-down: Caps Lock from X11's lock state, the numeric pad also for
// the arrows, the Function bit for keys of private-use characters and the Help bit for Help,
// as the key table expects.
uint64_t keyModifierBits(const QKeyEvent& event, uint32_t character)
{
    uint64_t bits = modifierbits(event.modifiers());
    if (event.nativeScanCode() != 0 && (event.nativeModifiers() & x11LockMask)) bits |= capsLockBit;
    if (character == 0xF746) bits |= helpBit;
    if (isArrow(event.key())) bits |= numericPadBit;
    if (character != 0) bits |= functionBit;
    return bits;
}

// The characters a key-down typed: a function key's private-use character, Shift-Tab's
// control code 25, and Control with a letter as its control code where Qt gives no text.
std::string characters(const QKeyEvent& event, uint32_t functionCharacter)
{
    const int key = event.key();
    if (functionCharacter != 0) return QString(QChar(static_cast<char16_t>(functionCharacter))).toStdString();
    if (key == Qt::Key_Backtab) return "\x19";
    const QString text = event.text();
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z &&
        (text.isEmpty() || text.at(0).unicode() >= 32))
        return std::string(1, static_cast<char>(key - Qt::Key_A + 1));
    return text.toStdString();
}

}  // namespace

uint64_t modifierbits(Qt::KeyboardModifiers m)
{
    uint64_t bits = 0;
    if (m & Qt::ShiftModifier) bits |= shiftBit;
    if (m & Qt::ControlModifier) bits |= controlBit;
    if (m & (Qt::AltModifier | Qt::GroupSwitchModifier)) bits |= optionBit;
    if (m & Qt::MetaModifier) bits |= commandBit;
    if (m & Qt::KeypadModifier) bits |= numericPadBit;
    return bits;
}

int64_t keypositionfromx11(uint32_t keycode)
{
    const int evdev = static_cast<int>(keycode) - 8;
    for (const auto& [code, position] : evdevPositions)
        if (code == evdev) return position;
    return -1;
}

int64_t keypositionfromqtkey(int key, bool keypad)
{
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return keypadPositions[key - Qt::Key_0];
    for (const auto& [qtKey, position] : qtPositions)
        if (qtKey == key) return position;
    return -1;
}

uint32_t functionkeycharacter(int key)
{
    switch (key) {
    case Qt::Key_Up: return 0xF700;
    case Qt::Key_Down: return 0xF701;
    case Qt::Key_Left: return 0xF702;
    case Qt::Key_Right: return 0xF703;
    case Qt::Key_Insert:  // where the Help key of the table's keyboards is
    case Qt::Key_Help: return 0xF746;
    case Qt::Key_Delete: return 0xF728;
    case Qt::Key_Home: return 0xF729;
    case Qt::Key_End: return 0xF72B;
    case Qt::Key_PageUp: return 0xF72C;
    case Qt::Key_PageDown: return 0xF72D;
    case Qt::Key_Print: return 0xF72E;
    case Qt::Key_ScrollLock: return 0xF72F;
    case Qt::Key_Pause: return 0xF730;
    case Qt::Key_SysReq: return 0xF731;
    case Qt::Key_Menu: return 0xF735;
    case Qt::Key_NumLock:  // where the Clear key of the table's keyboards is
    case Qt::Key_Clear: return 0xF739;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return 0xF704 + static_cast<uint32_t>(key - Qt::Key_F1);
    return 0;
}

KeyEventRecord keyrecordfromqt(const QKeyEvent& event)
{
    KeyEventRecord record;
    int64_t position = event.nativeScanCode() != 0 ? keypositionfromx11(event.nativeScanCode()) : -1;
    if (position < 0) position = keypositionfromqtkey(event.key(), event.modifiers() & Qt::KeypadModifier);
    record.keyCode = position < 0 ? 255 : position;  // beyond the key table
    if (const char pad = padCharacter(position)) {
        // The pad types its digits also with NumLock off, where X gives it cursor keys.
        record.characters = isPrintable(event.text()) ? event.text().toStdString() : std::string(1, pad);
        record.modifierFlags = keyModifierBits(event, 0) | numericPadBit;
        return record;
    }
    const uint32_t functionCharacter = functionkeycharacter(event.key());
    record.characters = characters(event, functionCharacter);
    record.modifierFlags = keyModifierBits(event, functionCharacter);
    if (event.key() == Qt::Key_NumLock || event.key() == Qt::Key_Clear) record.modifierFlags |= numericPadBit;
    return record;
}

TypedKey typedkeyfromqt(const QKeyEvent& event)
{
    TypedKey typed{keyrecordfromqt(event), true};
    const ComposeResult compose = composekey(event.nativeVirtualKey());
    if (compose.step == ComposeStep::composed)
        typed.record.characters = compose.text;
    else if (compose.step == ComposeStep::composing)
        typed.types = event.text().isEmpty();  // a dead key types its own key; the middle of a sequence nothing
    return typed;
}

uint64_t flagschangedbits(const QKeyEvent& event)
{
    static bool lockedAtPress = false;  // Caps Lock when the Caps Lock key went down
    const bool press = event.type() == QEvent::KeyPress;
    uint64_t bits = modifierbits(event.modifiers()) & ~numericPadBit;
    bool locked = lockedBefore(event);
    uint64_t keyBit = 0;
    switch (event.key()) {
    case Qt::Key_CapsLock:
        // Caps Lock locks as its key goes down and unlocks as it comes up the next time.
        if (press) lockedAtPress = locked;
        locked = press || !lockedAtPress;
        break;
    case Qt::Key_Shift: keyBit = shiftBit; break;
    case Qt::Key_Control: keyBit = controlBit; break;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Mode_switch: keyBit = optionBit; break;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: keyBit = commandBit; break;
    default: break;
    }
    bits = press ? bits | keyBit : bits & ~keyBit;
    return locked ? bits | capsLockBit : bits;
}

uint64_t pointermodifierbits(Qt::KeyboardModifiers modifiers)
{
    uint64_t bits = modifierbits(modifiers) & ~numericPadBit;
    bool locked = capsLockPressed;
    auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        xcb_connection_t* connection = x11->connection();
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        if (xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr)) {
            locked = (reply->mask & XCB_MOD_MASK_LOCK) != 0;
            std::free(reply);
        }
    }
    return locked ? bits | capsLockBit : bits;
}

bool ismodifierkey(const QKeyEvent& event)
{
    // XKB's lock, latch and group keys (ISO_Lock ... ISO_Last_Group_Lock): a layout switch
    // (ISO_Next_Group) comes as key 0 without text.
    const quint32 keysym = event.nativeVirtualKey();
    if (keysym >= 0xfe01 && keysym <= 0xfe0f) return true;
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch: return true;
    default: return false;
    }
}
