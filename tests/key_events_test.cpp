// The key table, the key queue, the pause on Control-S and dead keys (no display needed).
#include "events/keyboard.h"
#include "platform/dead_keys.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

constexpr uint64_t option = 0x80000, control = 0x40000, shift = 0x20000;

void drainKeys()
{
    while (t_NextKeyEvent() >= 0) {}
}

void press(int64_t window, int64_t keyCode, const std::string& characters, uint64_t modifiers = 0)
{
    t_KeyEventHandler(window, KeyEventRecord{keyCode, characters, modifiers});
}

}  // namespace

TEST(KeyTable, RowsAndTheGeneralRule)
{
    struct Case {
        int64_t key;
        std::string characters;
        uint64_t modifiers;
        bool event;
        int64_t value;
        bool cursor = false, function = false;
    };
    const Case cases[] = {
        {0, "a", 0, true, 97},                 {0, "\u00e5", option, true, 176},   {5, "\u00e5", option, true, 229},
        {48, "\t", 0, true, 9},                {48, "\x19", shift, true, 20},      {1, "\x13", control, true, 19},
        {123, "\uf702", 0, true, 8, true},     {117, "\uf728", 0, true, 7},        {51, "\x7f", 0, true, 127},
        {122, "\uf704", 0, true, 129, false, true}, {111, "\uf70f", 0, true, 140, false, true},
        {114, "\uf746", 0, true, 195, false, true}, {92, "9", option, true, 188},  {82, "0", option, true, 216},
        {0, "\u2192", 0, false, 0},            {14, "\u20ac", option, true, 164},  {15, "\u20ac", option, false, 0},
        {24, "", 0, true, 180},                {24, "", shift, true, 96},          {5, "", 0, true, 0},
        {37, "\x0c", control | option, true, 0}, {37, "\x0c", control, true, 12}, {45, "", option, true, 126},
        {36, "\r", 0, true, 13},               {49, " ", 0, true, 32},             {255, "\u00e4", 0, true, 228},
    };
    for (const Case& c : cases) {
        KeyValue v = keyvalue(c.key, c.characters, c.modifiers);
        EXPECT_EQ(v.event, c.event) << c.key << " " << c.characters;
        if (c.event) {
            EXPECT_EQ(std::tuple(v.value, v.cursorKey, v.functionKey), std::tuple(c.value, c.cursor, c.function))
                << c.key << " " << c.characters;
        }
    }
    EXPECT_FALSE(keyvalue(92, "9", control).event);  // Control on the numeric pad redirects output instead
    for (auto [key, digit, redirect] : {std::tuple{92, "9", 1}, {89, "7", 0}, {91, "8", 2}})
        EXPECT_EQ(keyvalue(key, digit, control).redirect, redirect) << digit;
}

// Keys are recorded and taken in order; Control-S pauses only when newest (the view events
// test holds the printing program on it).
TEST(KeyQueue, RecordsTakesAndPauses)
{
    drainKeys();
    press(2, 0, "a", shift | 0x10000);
    press(2, 0, "\u2192", control);  // no event, but the modifier flags follow the key
    EXPECT_TRUE(controlPressed && !shiftPressed);
    press(2, 123, "\uf702");
    ASSERT_EQ(std::tuple(keyeventcount(), bool(keyEventPending)), std::tuple(2u, true));
    EXPECT_EQ(t_NextKeyEvent(), 97);
    t_Event a = currentEvent();
    EXPECT_EQ(std::tuple(a.Kind, a.Index, a.Description, int(a.Window), a.Mods), std::tuple(1, 0, "a", 2, 3));
    EXPECT_TRUE(a.ShiftPressed && a.CapsLockPressed && !a.ControlPressed && a.Time > 0);
    EXPECT_EQ(t_NextKeyEvent(), 8);
    EXPECT_TRUE(currentEvent().CursorKeyPressed);
    EXPECT_EQ(t_NextKeyEvent(), -1);
    EXPECT_EQ(std::tuple(currentEvent().Value, bool(keyEventPending)), std::tuple(8, false));  // the event left as it was

    press(0, 0, "a");
    EXPECT_EQ(t_PauseOnKey(19, false), std::make_pair(false, int64_t{0}));
    EXPECT_EQ(keyeventcount(), 1u);
    press(0, 1, "\x13", control);
    EXPECT_EQ(t_PauseOnKey(19, false), std::make_pair(true, int64_t{0}));
    EXPECT_EQ(keyeventcount(), 0u);  // the older key went too
}

// Dead keys compose with the key that follows, as the locale's compose table says.
TEST(DeadKeys, ComposeWithTheNextKey)
{
    const std::tuple<std::vector<uint32_t>, ComposeStep, std::string> cases[] = {
        {{XKB_KEY_dead_circumflex, XKB_KEY_e}, ComposeStep::composed, "\u00ea"},
        {{XKB_KEY_dead_diaeresis, XKB_KEY_U}, ComposeStep::composed, "\u00dc"},
        {{XKB_KEY_dead_circumflex, XKB_KEY_space}, ComposeStep::composed, "^"},
        {{XKB_KEY_dead_circumflex, XKB_KEY_x}, ComposeStep::cancelled, ""},
        {{XKB_KEY_dead_acute}, ComposeStep::composing, ""},
        {{XKB_KEY_Shift_L, XKB_KEY_A}, ComposeStep::composed, "\u00c1"},  // Shift between does not end it
    };
    for (const auto& [keysyms, step, text] : cases) {
        ComposeResult result;
        for (uint32_t keysym : keysyms) result = composekey(keysym);
        EXPECT_EQ(std::tuple(result.step, result.text), std::tuple(step, text)) << keysyms.front();
    }
}
