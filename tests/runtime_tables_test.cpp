// The case tables and the palette of the runtime; the hexadecimal tables are read by the byte
// string tests.
#include "app/runtime_state.h"
#include "vxtools.h"

#include <gtest/gtest.h>

class RuntimeTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initvxtools(); }
};

TEST_F(RuntimeTables, CaseTablesMapLettersOnlyAndUndoEachOther)
{
    // a z ä ü à and their capitals.
    for (auto [small, capital] : {std::pair{97, 65}, {122, 90}, {228, 196}, {252, 220}, {224, 192}})
        EXPECT_EQ(std::tuple(upperCaseTable[small], lowerCaseTable[capital]), std::tuple(capital, small)) << small;
    for (int unchanged : {229, 230, 247, 248, 253, 254, 255, 65, 0, 96, 123})
        EXPECT_EQ(upperCaseTable[unchanged], unchanged) << unchanged;
    for (int unchanged : {197, 198, 215, 216, 221, 97, 64, 91}) EXPECT_EQ(lowerCaseTable[unchanged], unchanged) << unchanged;
    for (int b = 0; b < 256; ++b)
        if (lowerCaseTable[b] != b) {
            EXPECT_EQ(upperCaseTable[lowerCaseTable[b]], b) << b;
        }
}

TEST(Palette, EntriesAndOutOfRange)
{
    const t_RGBColor black{255, 0, 0, 0};
    const std::pair<int64_t, t_RGBColor> entries[] = {{0, black}, {7, {255, 0, 128, 255}}, {15, {255, 255, 255, 255}},
        {-1, black}, {16, black}, {INT64_MAX, black}, {INT64_MIN, black}};
    for (const auto& [index, colour] : entries) EXPECT_EQ(palettecolor(index), colour) << index;
}
