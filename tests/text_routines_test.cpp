#include "vxtools.h"

#include "app/graphemes.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();

const std::string eAcute = "e\u0301";            // e + combining acute: one character
const std::string flag = "\U0001F1E9\U0001F1EA";  // two regional indicators: one character
const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";

TEST(Characters, AreGraphemeClustersAndInvalidBytesStandAlone)
{
    EXPECT_EQ(textlength(""), 0);
    EXPECT_EQ(textlength("a" + eAcute + "b"), 3);
    EXPECT_EQ(textlength(flag + flag), 2);
    EXPECT_EQ(textlength(family), 1);
    EXPECT_EQ(textlength("\r\n"), 1);
    EXPECT_EQ(textlength("\xff\xfe"), 2);
    EXPECT_EQ(textlength("a\xe2\x82"), 3);       // cut-off sequence: one character per byte
    EXPECT_EQ(textlength("\xff\u0301"), 2);      // a mark does not join an invalid byte
    EXPECT_EQ(textlength("\xed\xa0\x80"), 3);    // encoded surrogate
    EXPECT_EQ(charat("x" + eAcute + "y", 2), eAcute);
    EXPECT_EQ(charat("a\xe2\x82", 2), "\xe2");
    EXPECT_EQ(graphemeBounds("a" + flag), (std::vector<size_t>{0, 1, 9}));
}

TEST(Substrings, ClipAtBothEnds)
{
    EXPECT_EQ(midstring("abcdef", 2, 3), "bcd");
    EXPECT_EQ(midstring("abcdef", 5, 10), "ef");
    EXPECT_EQ(midstring("abc", 4, 1), "");
    EXPECT_EQ(midstring("abc", -7, 2), "ab");
    EXPECT_EQ(midstring("abc", 1, maxInt), "abc");
    EXPECT_EQ(midstring("abc", 2, maxInt), "bc");
    EXPECT_EQ(midstring("abc", maxInt, maxInt), "");
    EXPECT_EQ(midstring("abc", 2, 0), "");
    EXPECT_EQ(midstring("abc", minInt, minInt), "");
    EXPECT_EQ(midstring(eAcute + flag + "z", 2, 1), flag);
    EXPECT_EQ(midfrom("abc", minInt), "abc");
    EXPECT_EQ(midfrom("abc", 3), "c");
    EXPECT_EQ(midfrom("abc", 4), "");
    EXPECT_EQ(midfrom("abc", maxInt), "");
    EXPECT_EQ(charat("abc", 0), "");
    EXPECT_EQ(charat("abc", 3), "c");
    EXPECT_EQ(charat("abc", 4), "");
    EXPECT_EQ(charat("abc", minInt), "");
}

TEST(InString, FindsWholeCharactersOnly)
{
    EXPECT_EQ(instring("number = 2, x", ",", 1), 11);
    EXPECT_EQ(instring("abc", "d", 1), 0);
    EXPECT_EQ(instring("abc", "", 1), 0);
    for (int64_t start : {minInt, int64_t{-5}, int64_t{0}, int64_t{1}, int64_t{2}}) {
        EXPECT_EQ(instring("abcabc", "b", start), 2) << start;
    }
    EXPECT_EQ(instring("abcabc", "b", 3), 5);
    EXPECT_EQ(instring("abcabc", "b", 6), 0);
    EXPECT_EQ(instring("abcabc", "b", maxInt), 0);
    EXPECT_EQ(instring("\u00e4\u00f6\u00fc,x", ",", 1), 4);
    EXPECT_EQ(instring("\u00e9\u00e9x\u00e9", "\u00e9", 3), 4);
    EXPECT_EQ(instring(eAcute + "x", "e", 1), 0);
    EXPECT_EQ(instring("a" + eAcute + "e", "e", 1), 3);
    EXPECT_EQ(instring("\u00e9", "\xc3", 1), 0);
    EXPECT_EQ(instring("a\xff" "b", "\xff", 1), 2);
}

TEST(Repetition, LimitsAndJustify)
{
    EXPECT_EQ(repeatstring("ab", 3), "ababab");
    EXPECT_EQ(repeatstring("ab", 0), "");
    EXPECT_EQ(repeatstring("", 5), "");
    EXPECT_EQ(repeatstring("x", 32767).size(), 32767u);
    EXPECT_EQ(repeatstring("x", 32768), "");
    EXPECT_EQ(repeatstring("x", minInt), "");
    EXPECT_EQ(spaces(3), "   ");
    EXPECT_EQ(spaces(0), "");
    EXPECT_EQ(spaces(32767).size(), 32767u);
    EXPECT_EQ(spaces(32768), "");
    EXPECT_EQ(justify("AB", "CD", 6), "AB  CD");
    EXPECT_EQ(justify("AB", "CD", 5), "AB CD");
    EXPECT_EQ(justify("ABC", "DEF", 4), "ABCD");
    EXPECT_EQ(justify("ABC", "DEF", 0), "");
    EXPECT_EQ(justify("ABC", "DEF", minInt), "");
    EXPECT_EQ(justify("\u00e9", flag, 4), "\u00e9  " + flag);
    EXPECT_EQ(justify("AB", "CD", maxInt), "ABCD");  // more blanks than spaces() gives
}

TEST(Codes, FirstCodeAndBytes)
{
    EXPECT_EQ(firstcode(""), 0);
    EXPECT_EQ(firstcode("A"), 65);
    EXPECT_EQ(firstcode("\u00e9x"), 0xE9);
    EXPECT_EQ(firstcode("\U0001F600"), 0x1F600);
    EXPECT_EQ(firstcode(eAcute), 'e');
    EXPECT_EQ(firstcode(std::string(1, '\0')), 0);
    for (const char* bad : {"\xff", "\xc0\x80", "\xed\xa0\x80", "\xe2\x82"}) EXPECT_EQ(firstcode(bad), 0xFFFD);
    EXPECT_EQ(stringtobytes("A\u00e9"), (std::vector<uint8_t>{65, 0xC3, 0xA9}));
    EXPECT_TRUE(stringtobytes("").empty());
}

TEST(Characters, RandomTextSplitsIntoItsCharacters)
{
    const std::string pieces[] = {"a", " ", "\u0301", "\u200D", "\U0001F1E9", "\U0001F468",
                                  "\xff", "\xe2\x82", "\xc3", "\r", "\n", "\u1100", "\u1161"};
    std::mt19937 random(5);
    for (int n = 0; n < 2000; ++n) {
        std::string text;
        for (int i = int(random() % 12); i > 0; --i) text += pieces[random() % std::size(pieces)];
        int64_t length = textlength(text);
        std::string joined;
        for (int64_t p = 1; p <= length; ++p) {
            ASSERT_FALSE(charat(text, p).empty());
            joined += charat(text, p);
        }
        EXPECT_EQ(joined, text);
        int64_t position = int64_t(random() % 16) - 2;
        EXPECT_EQ(midstring(text, position, maxInt), midfrom(text, position));
        firstcode(text);
        instring(text, pieces[random() % std::size(pieces)], position);
    }
}

}  // namespace
