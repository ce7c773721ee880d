// The case and hexadecimal tables, the palette and the closure slots of the runtime.
#include "app/runtime_state.h"
#include "vxtools.h"

#include <gtest/gtest.h>

class RuntimeTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initvxtools(); }
};

TEST_F(RuntimeTables, UpperCaseMapsSmallLettersOnly)
{
    EXPECT_EQ(upperCaseTable[97], 65);    // a
    EXPECT_EQ(upperCaseTable[122], 90);   // z
    EXPECT_EQ(upperCaseTable[228], 196);  // ä
    EXPECT_EQ(upperCaseTable[252], 220);  // ü
    for (int unchanged : {229, 230, 247, 248, 253, 254, 255, 65, 0, 96, 123})
        EXPECT_EQ(upperCaseTable[unchanged], unchanged) << unchanged;
}

TEST_F(RuntimeTables, LowerCaseMapsCapitalsOnly)
{
    EXPECT_EQ(lowerCaseTable[90], 122);   // Z
    EXPECT_EQ(lowerCaseTable[220], 252);  // Ü
    EXPECT_EQ(lowerCaseTable[192], 224);  // À
    for (int unchanged : {197, 198, 215, 216, 221, 97, 64, 91})
        EXPECT_EQ(lowerCaseTable[unchanged], unchanged) << unchanged;
    // The two tables undo each other on every letter they map.
    for (int b = 0; b < 256; ++b)
        if (lowerCaseTable[b] != b) EXPECT_EQ(upperCaseTable[lowerCaseTable[b]], b) << b;
}

TEST_F(RuntimeTables, HexadecimalDigitsAndValues)
{
    EXPECT_EQ(std::string(hexDigits.begin(), hexDigits.end()), "0123456789ABCDEF");
    EXPECT_EQ(hexValues['A'], 10);
    EXPECT_EQ(hexValues['a'], 10);
    EXPECT_EQ(hexValues['f'], 15);
    EXPECT_EQ(hexValues['9'], 9);
    EXPECT_EQ(hexValues['0'], 0);
    int digits = 0;
    for (int b = 0; b < 256; ++b) digits += hexValues[b] >= 0;
    EXPECT_EQ(digits, 22);
    for (int other : {int('G'), int('g'), int(' '), 0, int('/'), int(':'), int('@'), 255}) EXPECT_EQ(hexValues[other], -1) << other;
    EXPECT_TRUE(vxtoolsInitialized);
}

TEST(Palette, EntriesAndOutOfRange)
{
    EXPECT_EQ(palettecolor(0), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(palettecolor(5), (t_RGBColor{255, 84, 84, 84}));
    EXPECT_EQ(palettecolor(7), (t_RGBColor{255, 0, 128, 255}));
    EXPECT_EQ(palettecolor(10), (t_RGBColor{255, 168, 168, 168}));
    EXPECT_EQ(palettecolor(15), (t_RGBColor{255, 255, 255, 255}));
    for (int64_t outside : {int64_t(-1), int64_t(16), int64_t(-1000), INT64_MAX, INT64_MIN})
        EXPECT_EQ(palettecolor(outside), (t_RGBColor{255, 0, 0, 0})) << outside;
}

TEST(ClosureSlotTest, CallsTheClosureLastAssigned)
{
    ClosureSlot slot;
    slot();  // nothing assigned: nothing happens
    int calls = 0;
    slot = [&calls] { calls += 1; };
    slot();
    slot = [&calls] { calls += 10; };
    slot();
    EXPECT_EQ(calls, 11);
}
