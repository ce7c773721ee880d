#include "vxtools.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
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
    EXPECT_EQ(hexstring(0), "00000000");
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

// Packs codes of `width` bits, most significant bit first, padding the last byte with zeros.
Bytes packbits(const Codes& codes, int width)
{
    Bytes bytes;
    int used = 8;
    for (int64_t code : codes) {
        for (int bit = width - 1; bit >= 0; --bit, ++used) {
            if (used == 8) {
                bytes.push_back(0);
                used = 0;
            }
            bytes.back() = uint8_t(bytes.back() | (((code >> bit) & 1) << (7 - used)));
        }
    }
    return bytes;
}

TEST(UnpackBits, CutsTheBitStreamIntoCodes)
{
    EXPECT_EQ(unpackbits({0xAB, 0xCD}, 12), Codes{0xABC});  // incomplete last code dropped
    EXPECT_EQ(unpackbits(Bytes(8, 0xFF), 62), Codes{(int64_t{1} << 62) - 1});
    for (int64_t width : {int64_t{0}, int64_t{63}, int64_t{-1}, minInt, maxInt})
        EXPECT_TRUE(unpackbits({1, 2, 3, 4, 5, 6, 7, 8, 9}, width).empty()) << width;
    std::mt19937_64 random(11);
    for (int width = 1; width <= 62; ++width) {
        Codes codes(random() % 40);
        for (auto& c : codes) c = int64_t(random() >> (64 - width));
        Codes unpacked = unpackbits(packbits(codes, width), width);
        ASSERT_GE(unpacked.size(), codes.size());
        EXPECT_TRUE(std::equal(codes.begin(), codes.end(), unpacked.begin())) << width;
        EXPECT_LT((unpacked.size() - codes.size()) * size_t(width), 8u);  // only padding bits left
    }
}

// Plain LZW: codes 0-255 for single bytes, new codes from 256 on, never reset.
Codes lzwcompress(const Bytes& data)
{
    Codes codes;
    std::map<std::pair<int64_t, uint8_t>, int64_t> dictionary;
    int64_t current = data.empty() ? -1 : data[0];
    for (size_t i = 1; i < data.size(); ++i) {
        auto [entry, added] = dictionary.try_emplace({current, data[i]}, 256 + int64_t(dictionary.size()));
        if (added) codes.push_back(current);
        current = added ? data[i] : entry->second;
    }
    if (current >= 0) codes.push_back(current);
    return codes;
}

TEST(LzwExpand, ValidAndInvalidCodes)
{
    const std::pair<Codes, Bytes> cases[] = {
        {{65, 66, 256, 258}, {'A', 'B', 'A', 'B', 'A', 'B', 'A'}}, {{}, {}}, {{300}, {44}}, {{65, 256}, {65, 65, 65}},
        {{-1}, {}}, {{65, -1}, {}}, {{65, 257}, {}}, {{65, 66, 256, 259}, {}}, {{65, maxInt}, {}}, {{minInt, 1}, {}},
        {{65, 66, 67, 300, 66}, {}}};
    for (const auto& [codes, bytes] : cases) EXPECT_EQ(lzwexpand(codes), bytes);
    std::mt19937 random(9);
    for (int n = 0; n < 100; ++n) {
        Bytes data(random() % 300);
        int alphabet = 1 + int(random() % 256);
        for (auto& b : data) b = uint8_t(random() % alphabet);
        ASSERT_EQ(lzwexpand(lzwcompress(data)), data);
    }
    Bytes font(400000);  // font-sized data with long repeats: a large dictionary
    for (size_t i = 0; i < font.size(); ++i) font[i] = uint8_t((i * 7 / 13) % 5 == 0 ? random() % 4 : i % 64);
    EXPECT_EQ(lzwexpand(lzwcompress(font)), font);
}

TEST(CompareText, UnsignedBytesThenLengthAndHashes)
{
    std::mt19937 random(4);
    for (int n = 0; n < 2000; ++n) {  // includes empty, prefixes and bytes above 127
        Bytes a(random() % 4), b(random() % 4);
        for (auto& x : a) x = uint8_t(random() % 3 * 127);
        for (auto& x : b) x = uint8_t(random() % 3 * 127);
        int64_t expected = a < b ? -1 : (b < a ? 1 : 0);
        EXPECT_EQ(comparetext(a, b), expected);
        EXPECT_EQ(Text{a} == Text{b}, expected == 0);
        if (expected == 0) {
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
