#include "vxtools.h"

#include <gtest/gtest.h>

#include <limits>
#include <unordered_set>

namespace {

using Bytes = std::vector<uint8_t>;
using Codes = std::vector<int64_t>;
constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();

TEST(ByteStrings, EscapesDecodeToUtf8AndHexDigits)
{
    initvxtools();
    const std::pair<Bytes, std::string> cases[] = {
        {{}, ""}, {{65, 27, '0', '0', 'E', '9', 29, 66}, "A\u00e9B"}, {{27, 65}, "\x1b" "A"},
        {{0xFF, 0x80}, "\u00ff\u0080"}, {{27, '0', '0', 'e', '9', 29}, "\u00e9"},  // lower case digits
        {{27, '0', '0', 'G', '1', 29, 'A'}, "\uFFFD" "A"},  // six bytes, one character
        {{27, 27, '0', '0', '4', '1', 29}, "\x1b" "A"}, {{27, '0', '0', '4', '1'}, "\x1b" "0041"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(bytestostring(bytes), text);
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {  // surrogates become NUL
        Bytes escape = hexbytes(code);
        escape.erase(escape.begin(), escape.begin() + 3);
        escape[0] = 27;
        escape.push_back(29);
        ASSERT_EQ(firstcode(bytestostring(escape)), code >= 0xD800 && code <= 0xDFFF ? 0 : code) << code;
        ASSERT_EQ(textlength(bytestostring(escape)), 1) << code;
    }
    EXPECT_EQ(hexstring(0xDEADBEEF), "DEADBEEF");
    EXPECT_EQ(hexbytes(0x12345678), (Bytes{'1', '2', '3', '4', '5', '6', '7', '8'}));
}

TEST(BigEndian32, ReadsInsideOnly)
{
    Bytes bytes{1, 2, 3, 4, 0xFF};
    EXPECT_EQ(bigendian32(bytes, 0), 0x01020304u);
    EXPECT_EQ(bigendian32(bytes, 1), 0x020304FFu);
    for (int64_t offset : {int64_t{2}, int64_t{-1}, maxInt, minInt}) EXPECT_EQ(bigendian32(bytes, offset), 0u);
}

TEST(SplitJoin, PiecesAndSeparators)
{
    using Pieces = std::vector<Bytes>;
    const std::pair<Bytes, Pieces> splits[] = {{{}, {}}, {{1, 0, 0, 2}, {{1}, {}, {2}}}, {{1, 0}, {{1}}},
                                               {{0}, {{}}}, {{0, 1}, {{}, {1}}}, {{1, 2}, {{1, 2}}}};
    for (const auto& [bytes, pieces] : splits) EXPECT_EQ(splitbytes(bytes, 0), pieces);
    const std::pair<Pieces, Bytes> joins[] = {{{}, {}}, {{{}}, {}}, {{{}, {}}, {9}},
                                              {{{1, 2}, {}, {3}}, {1, 2, 9, 9, 3}}};
    for (const auto& [pieces, bytes] : joins) EXPECT_EQ(joinbytes(pieces, 9), bytes);
}

TEST(UnpackBits, CutsTheBitStreamIntoCodes)
{
    EXPECT_EQ(unpackbits({0xAB, 0xCD}, 12), Codes{0xABC});  // incomplete last code dropped
    EXPECT_EQ(unpackbits(Bytes(8, 0xFF), 62), Codes{(int64_t{1} << 62) - 1});
    for (int64_t width : {int64_t{0}, int64_t{63}, int64_t{-1}, minInt, maxInt})
        EXPECT_TRUE(unpackbits({1, 2, 3, 4, 5, 6, 7, 8, 9}, width).empty()) << width;
    // Most significant bit first; the last five bits are padding.
    EXPECT_EQ(unpackbits({0xAA, 0xAA, 0xBF, 0xE0}, 9), (Codes{0x155, 0x0AA, 0x1FF}));
    EXPECT_EQ(unpackbits({0xA5}, 1), (Codes{1, 0, 1, 0, 0, 1, 0, 1}));
}

TEST(LzwExpand, ValidAndInvalidCodes)
{
    const std::pair<Codes, Bytes> cases[] = {
        {{65, 66, 256, 258}, {'A', 'B', 'A', 'B', 'A', 'B', 'A'}}, {{}, {}}, {{300}, {44}}, {{65, 256}, {65, 65, 65}},
        {{-1}, {}}, {{65, -1}, {}}, {{65, 257}, {}}, {{65, 66, 256, 259}, {}}, {{65, maxInt}, {}}, {{minInt, 1}, {}},
        {{65, 66, 67, 300, 66}, {}}};
    for (const auto& [codes, bytes] : cases) EXPECT_EQ(lzwexpand(codes), bytes);
}

TEST(CompareText, UnsignedBytesThenLengthAndHashes)
{
    // Bytes above 127 sort after the others; a prefix sorts first.
    const std::tuple<Bytes, Bytes, int64_t> cases[] = {{{}, {}, 0}, {{}, {0}, -1}, {{1, 2}, {1, 2}, 0}, {{1, 2}, {1}, 1},
                                                       {{127}, {128}, -1}, {{255, 0}, {1, 255}, 1}, {{0, 254}, {0, 255}, -1}};
    for (const auto& [a, b, order] : cases) {
        EXPECT_EQ(std::tuple(comparetext(a, b), comparetext(b, a), Text{a} == Text{b}), std::tuple(order, -order, order == 0));
        if (order == 0) {
            EXPECT_EQ(std::hash<Text>{}(Text{a}), std::hash<Text>{}(Text{b}));
        }
    }
    std::hash<Text> hash;
    EXPECT_NE(hash(Text{{}}), hash(Text{{0}}));
    EXPECT_NE(hash(Text{{0}}), hash(Text{{0, 0}}));
    EXPECT_NE(hash(Text{{1, 2}}), hash(Text{{2, 1}}));
    EXPECT_EQ((std::unordered_set<Text>{Text{{1}}, Text{{1}}, Text{{}}, Text{{1, 0}}}.size()), 3u);
}

}  // namespace
