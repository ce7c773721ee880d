#include "vxtools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();
const double inf = std::numeric_limits<double>::infinity();

TEST(FormatInteger, GroupsFillsAndNeverCuts)
{
    struct Case { int64_t value, fill, width; bool grouped; std::string text; };
    const Case cases[] = {
        {1234, 32, 5, true, "1.234"}, {4, 32, 2, true, " 4"}, {-1234567, 32, 12, true, "  -1.234.567"},
        {-5, 32, 4, false, "  -5"}, {5, 48, 3, false, "005"}, {0, 32, 1, true, "0"}, {123456, 32, 2, false, "123456"},
        {123456, 32, 2, true, "123.456"}, {minInt, 32, minInt, true, "-9.223.372.036.854.775.808"},
        {42, -1, 6, false, "42"}, {7, 0x2022, 3, false, "\u2022\u20227"},  // the width counts characters
        {7, 0x1F600, 2, false, "\U0001F6007"}, {7, 0xD800, 3, false, std::string("\0\0" "7", 3)},
        {7, 0x110000, 2, false, std::string("\0" "7", 2)}, {7, maxInt, 2, false, std::string("\0" "7", 2)}};
    for (const Case& c : cases) EXPECT_EQ(formatinteger(c.value, c.fill, c.width, c.grouped), c.text) << c.value;
    EXPECT_EQ(formatinteger(7, 32, maxInt, false), std::string(32766, ' ') + "7");  // clipped to 32767
}

TEST(RealToString, ShortestTextWithDecimalComma)
{
    const std::pair<double, const char*> cases[] = {
        {1.0, "1"}, {2.5, "2,5"}, {100.0, "100"}, {-0.0, "-0"}, {0.0, "0"}, {0.1, "0,1"},
        {0.0001, "0,0001"}, {0.00001, "1e-05"}, {1.5e20, "1,5e+20"}, {1e15, "1000000000000000"},
        {1e16, "1e+16"}, {12345678901234568.0, "1,2345678901234568e+16"}, {5e-324, "5e-324"},
        {-2.5e-7, "-2,5e-07"}, {1.7976931348623157e308, "1,7976931348623157e+308"},
        {std::nan(""), "nan"}, {-std::nan(""), "nan"}, {inf, "inf"}, {-inf, "-inf"}};
    for (auto [value, text] : cases) EXPECT_EQ(realtostring(value), text) << value;
}

TEST(FormatReal, TruncatesGroupsFillsAndSurvivesExtremeArguments)
{
    struct Case { int64_t fill, width, decimals; bool grouped; double value; std::string text; };
    const Case cases[] = {
        {32, 3, 2, true, 5.67, "  5,67"}, {32, 3, 2, true, 123.4, "123,40"},
        {32, 3, 2, true, 1234567.891, "1.234.567,89"}, {32, 1, 2, false, 2.999, "2,99"}, {32, 1, 0, false, 2.999, "2"},
        {32, 1, -3, false, 12.5, "12,5"}, {32, 1, -3, false, 12.0, "12"}, {32, 1, 6, false, 0.00001, "0,000010"},
        {32, 1, 0, true, 1.5e20, "150.000.000.000.000.000.000"},
        {32, 1, 0, true, 12345678901234568.0, "12.345.678.901.234.568"}, {32, 8, 2, true, -1234.5, "  -1.234,50"},
        {48, 5, 6, false, -0.00001, "000-0,000010"},  // the fill goes before the sign
        {32, 1, 2, false, -0.0, "-0,00"}, {32, minInt, 2, true, 1.5, "1,50"}, {32, 1, minInt, true, 1.5, "1,5"},
        {0xDFFF, 3, 0, true, 1.0, std::string("\0\0" "1", 3)}};
    for (const Case& c : cases) EXPECT_EQ(formatreal(c.fill, c.width, c.decimals, c.grouped, c.value), c.text);
    EXPECT_EQ(formatreal(32, 1, maxInt, true, 1.5), "1,5" + std::string(32766, '0'));
    for (double value : {std::nan(""), inf, -inf}) EXPECT_EQ(formatreal(48, 12, 3, true, value), realtostring(value));
}

}  // namespace
