#include "vxtools.h"

#include "app/graphemes.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace {

constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();

const std::string eAcute = "e\u0301";            // e + combining acute: one character
const std::string flag = "\U0001F1E9\U0001F1EA";  // two regional indicators: one character
const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";

TEST(Characters, AreGraphemeClustersAndInvalidBytesStandAlone)
{
    const std::pair<std::string, int64_t> lengths[] = {
        {"", 0}, {"a" + eAcute + "b", 3}, {flag + flag, 2}, {family, 1}, {"\r\n", 1}, {"\xff\xfe", 2},
        {"a\xe2\x82", 3},  // cut-off sequence: one character per byte
        {"\xff\u0301", 2},  // a mark does not join an invalid byte
        {"\xed\xa0\x80", 3}};  // encoded surrogate
    for (const auto& [text, length] : lengths) EXPECT_EQ(textlength(text), length) << text;
    EXPECT_EQ(graphemeBounds("a" + flag), (std::vector<size_t>{0, 1, 9}));
    const std::pair<std::string, int64_t> codes[] = {
        {"", 0}, {"A", 65}, {"\u00e9x", 0xE9}, {"\U0001F600", 0x1F600}, {eAcute, 'e'}, {std::string(1, '\0'), 0},
        {"\xff", 0xFFFD}, {"\xc0\x80", 0xFFFD}, {"\xed\xa0\x80", 0xFFFD}, {"\xe2\x82", 0xFFFD}};
    for (const auto& [text, code] : codes) EXPECT_EQ(firstcode(text), code) << text;
    EXPECT_EQ(stringtobytes("A\u00e9"), (std::vector<uint8_t>{65, 0xC3, 0xA9}));
    EXPECT_TRUE(stringtobytes("").empty());
}

TEST(Substrings, ClipAtBothEnds)
{
    struct Case { std::string text; int64_t position, length; std::string mid; };
    const Case cases[] = {
        {"abcdef", 2, 3, "bcd"}, {"abcdef", 5, 10, "ef"}, {"abc", 4, 1, ""}, {"abc", -7, 2, "ab"},
        {"abc", 2, maxInt, "bc"}, {"abc", maxInt, maxInt, ""}, {"abc", 2, 0, ""}, {"abc", minInt, minInt, ""},
        {eAcute + flag + "z", 2, 1, flag}, {"x" + eAcute + "y", 2, 1, eAcute}, {"a\xe2\x82", 2, 1, "\xe2"}};
    for (const Case& c : cases) {
        EXPECT_EQ(midstring(c.text, c.position, c.length), c.mid) << c.position << " " << c.length;
        if (c.length == 1) {
            EXPECT_EQ(charat(c.text, c.position), c.mid) << c.position;
        }
    }
    const std::pair<int64_t, std::string> froms[] = {{minInt, "abc"}, {3, "c"}, {4, ""}, {maxInt, ""}};
    for (const auto& [position, rest] : froms) EXPECT_EQ(midfrom("abc", position), rest) << position;
    for (int64_t position : {int64_t{0}, int64_t{4}, minInt}) EXPECT_EQ(charat("abc", position), "") << position;
}

TEST(InString, FindsWholeCharactersOnly)
{
    struct Case { std::string text, pattern; int64_t start, found; };
    const Case cases[] = {
        {"number = 2, x", ",", 1, 11}, {"abc", "d", 1, 0}, {"abc", "", 1, 0}, {"abcabc", "b", minInt, 2},
        {"abcabc", "b", 0, 2}, {"abcabc", "b", 2, 2}, {"abcabc", "b", 3, 5}, {"abcabc", "b", 6, 0},
        {"abcabc", "b", maxInt, 0}, {"\u00e4\u00f6\u00fc,x", ",", 1, 4}, {"\u00e9\u00e9x\u00e9", "\u00e9", 3, 4},
        {eAcute + "x", "e", 1, 0}, {"a" + eAcute + "e", "e", 1, 3}, {"\u00e9", "\xc3", 1, 0},
        {"a\xff" "b", "\xff", 1, 2}, {"x" + eAcute, "\u00e9", 1, 2}, {"x\u00e9", eAcute, 1, 2},  // canonically equal
        {"\u00e9" + eAcute, "e", 1, 0}, {"\u1e69s\u0323\u0307", "s\u0307\u0323", 1, 1}, {"x\u1e69", "\u1e69", 3, 0}};
    for (const Case& c : cases) EXPECT_EQ(instring(c.text, c.pattern, c.start), c.found) << c.text << " " << c.start;
}

TEST(Repetition, LimitsAndJustify)
{
    EXPECT_EQ(std::tuple(repeatstring("ab", 3), repeatstring("", 5)), std::tuple("ababab", ""));
    for (auto [count, kept] : {std::pair<int64_t, size_t>{3, 3}, {32767, 32767}, {0, 0}, {32768, 0}, {minInt, 0}}) {
        EXPECT_EQ(repeatstring("x", count), std::string(kept, 'x')) << count;  // at most 32767
        EXPECT_EQ(spaces(count), std::string(kept, ' ')) << count;
    }
    const std::tuple<std::string, std::string, int64_t, std::string> justified[] = {
        {"AB", "CD", 6, "AB  CD"}, {"AB", "CD", 5, "AB CD"}, {"ABC", "DEF", 4, "ABCD"}, {"ABC", "DEF", 0, ""},
        {"ABC", "DEF", minInt, ""}, {"\u00e9", flag, 4, "\u00e9  " + flag},
        {"AB", "CD", maxInt, "ABCD"}};  // more blanks than spaces() gives
    for (const auto& [left, right, width, text] : justified) EXPECT_EQ(justify(left, right, width), text) << width;
}

}  // namespace
