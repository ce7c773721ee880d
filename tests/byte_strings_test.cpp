#include "vxtools.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <unordered_set>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int64_t maxInt = std::numeric_limits<int64_t>::max();
constexpr int64_t minInt = std::numeric_limits<int64_t>::min();

class ByteStrings : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initvxtools(); }
};

TEST_F(ByteStrings, EscapeEncodingDecodesToUtf8)
{
    EXPECT_EQ(bytestostring({65, 27, 48, 48, 69, 57, 29, 66}), "A\u00e9B");
    EXPECT_EQ(bytestostring({27, 65}), "\x1b" "A");
    EXPECT_EQ(bytestostring({}), "");
    EXPECT_EQ(bytestostring({0xFF, 0x80}), "\u00ff\u0080");
    EXPECT_EQ(bytestostring({27, '0', '0', 'e', '9', 29}), "\u00e9");          // lower case digits
    EXPECT_EQ(bytestostring({27, '0', '0', 'G', '1', 29, 'A'}), "\uFFFD" "A"); // six bytes, one character
    EXPECT_EQ(bytestostring({27, 'D', '8', '0', '0', 29}), std::string(1, '\0'));
    EXPECT_EQ(bytestostring({27, 27, '0', '0', '4', '1', 29}), "\x1b" "A");
    EXPECT_EQ(bytestostring({27, '0', '0', '4', '1'}), "\x1b" "0041");
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        Bytes escape = hexbytes(code);
        escape.erase(escape.begin(), escape.begin() + 4);
        escape.insert(escape.begin(), 27);
        escape.push_back(29);
        bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        ASSERT_EQ(firstcode(bytestostring(escape)), surrogate ? 0 : code) << code;
        ASSERT_EQ(textlength(bytestostring(escape)), 1);
    }
}

TEST_F(ByteStrings, HexadecimalDigits)
{
    EXPECT_EQ(hexstring(255), "000000FF");
    EXPECT_EQ(hexstring(0), "00000000");
    EXPECT_EQ(hexstring(0xDEADBEEF), "DEADBEEF");
    EXPECT_EQ(hexbytes(0x12345678), (Bytes{'1', '2', '3', '4', '5', '6', '7', '8'}));
}

TEST(BigEndian32, ReadsInsideOnly)
{
    Bytes bytes{1, 2, 3, 4, 5};
    EXPECT_EQ(bigendian32(bytes, 0), 0x01020304u);
    EXPECT_EQ(bigendian32(bytes, 1), 0x02030405u);
    EXPECT_EQ(bigendian32(Bytes{0xFF, 0xFF, 0xFF, 0xFF}, 0), 0xFFFFFFFFu);
    for (int64_t offset : {int64_t{2}, int64_t{-1}, maxInt, minInt}) EXPECT_EQ(bigendian32(bytes, offset), 0u);
    EXPECT_EQ(bigendian32({1, 2, 3}, 0), 0u);
}

TEST(SplitJoin, PiecesAndSeparators)
{
    using Pieces = std::vector<Bytes>;
    EXPECT_EQ(splitbytes({}, 0), Pieces{});
    EXPECT_EQ(splitbytes({1, 0, 2}, 0), (Pieces{{1}, {2}}));
    EXPECT_EQ(splitbytes({1, 0, 0, 2}, 0), (Pieces{{1}, {}, {2}}));
    EXPECT_EQ(splitbytes({1, 0}, 0), (Pieces{{1}}));
    EXPECT_EQ(splitbytes({0}, 0), (Pieces{{}}));
    EXPECT_EQ(splitbytes({0, 1}, 0), (Pieces{{}, {1}}));
    EXPECT_EQ(splitbytes({1, 2}, 0), (Pieces{{1, 2}}));
    EXPECT_EQ(joinbytes({}, 9), Bytes{});
    EXPECT_EQ(joinbytes({{}}, 9), Bytes{});
    EXPECT_EQ(joinbytes({{}, {}}, 9), Bytes{9});
    EXPECT_EQ(joinbytes({{1, 2}, {}, {3}}, 9), (Bytes{1, 2, 9, 9, 3}));
    std::mt19937 random(3);
    for (int n = 0; n < 500; ++n) {
        Bytes bytes(random() % 20);
        for (auto& b : bytes) b = uint8_t(random() % 3);
        if (!bytes.empty() && bytes.back() == 0) bytes.push_back(1);
        EXPECT_EQ(joinbytes(splitbytes(bytes, 0), 0), bytes);
    }
}

// Packs codes of `width` bits, most significant bit first, padding the last byte with zeros.
Bytes packbits(const std::vector<int64_t>& codes, int width)
{
    Bytes bytes;
    int used = 8;
    for (int64_t code : codes) {
        for (int bit = width - 1; bit >= 0; --bit) {
            if (used == 8) {
                bytes.push_back(0);
                used = 0;
            }
            bytes.back() = uint8_t(bytes.back() | (((code >> bit) & 1) << (7 - used++)));
        }
    }
    return bytes;
}

TEST(UnpackBits, CutsTheBitStreamIntoCodes)
{
    EXPECT_EQ(unpackbits({0xAB, 0xCD}, 4), (std::vector<int64_t>{0xA, 0xB, 0xC, 0xD}));
    EXPECT_EQ(unpackbits({0xAB, 0xCD, 0xEF}, 12), (std::vector<int64_t>{0xABC, 0xDEF}));
    EXPECT_EQ(unpackbits({0xAB, 0xCD}, 12), (std::vector<int64_t>{0xABC}));
    EXPECT_EQ(unpackbits({0x80}, 1), (std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(unpackbits(Bytes(8, 0xFF), 62), (std::vector<int64_t>{(int64_t{1} << 62) - 1}));
    for (int64_t width : {int64_t{0}, int64_t{63}, int64_t{-1}, minInt, maxInt}) {
        EXPECT_TRUE(unpackbits({1, 2, 3, 4, 5, 6, 7, 8, 9}, width).empty()) << width;
    }
    std::mt19937_64 random(11);
    for (int width = 1; width <= 62; ++width) {
        std::vector<int64_t> codes(random() % 40);
        for (auto& c : codes) c = int64_t(random() >> (64 - width));
        auto unpacked = unpackbits(packbits(codes, width), width);
        ASSERT_GE(unpacked.size(), codes.size());
        EXPECT_TRUE(std::equal(codes.begin(), codes.end(), unpacked.begin())) << width;
        EXPECT_LT((unpacked.size() - codes.size()) * size_t(width), 8u);  // only padding bits left
    }
}

// Plain LZW: codes 0-255 for single bytes, new codes from 256 on, never reset.
std::vector<int64_t> lzwcompress(const Bytes& data)
{
    std::vector<int64_t> codes;
    if (data.empty()) return codes;
    std::map<std::pair<int64_t, uint8_t>, int64_t> dictionary;
    int64_t next = 256;
    int64_t current = data[0];
    for (size_t i = 1; i < data.size(); ++i) {
        auto found = dictionary.find({current, data[i]});
        if (found != dictionary.end()) {
            current = found->second;
            continue;
        }
        codes.push_back(current);
        dictionary[{current, data[i]}] = next++;
        current = data[i];
    }
    codes.push_back(current);
    return codes;
}

TEST(LzwExpand, DescribedCasesAndInvalidCodes)
{
    EXPECT_EQ(lzwexpand({65, 66, 256, 258}), (Bytes{'A', 'B', 'A', 'B', 'A', 'B', 'A'}));
    EXPECT_EQ(lzwexpand({}), Bytes{});
    EXPECT_EQ(lzwexpand({65}), Bytes{65});
    EXPECT_EQ(lzwexpand({300}), Bytes{44});
    EXPECT_EQ(lzwexpand({65, 256}), (Bytes{65, 65, 65}));
    for (const auto& codes : std::vector<std::vector<int64_t>>{
             {-1}, {65, -1}, {65, 257}, {65, 66, 256, 259}, {65, maxInt}, {minInt, 1}, {65, 66, 67, 300, 66}}) {
        EXPECT_EQ(lzwexpand(codes), Bytes{});
    }
}

TEST(LzwExpand, RoundTripsThroughEncoderAndBitPacking)
{
    std::mt19937 random(9);
    for (int n = 0; n < 200; ++n) {
        Bytes data(random() % 300);
        int alphabet = 1 + int(random() % 256);
        for (auto& b : data) b = uint8_t(random() % alphabet);
        ASSERT_EQ(lzwexpand(lzwcompress(data)), data);
    }
    Bytes font(400000);  // font-sized data with long repeats, through fixed 20-bit codes
    for (size_t i = 0; i < font.size(); ++i) font[i] = uint8_t((i * 7 / 13) % 5 == 0 ? random() % 4 : i % 64);
    auto codes = lzwcompress(font);
    auto unpacked = unpackbits(packbits(codes, 20), 20);
    unpacked.resize(codes.size());
    EXPECT_EQ(lzwexpand(unpacked), font);
}

TEST(CompareText, UnsignedBytesThenLength)
{
    EXPECT_EQ(comparetext({}, {}), 0);
    EXPECT_EQ(comparetext({}, {0}), -1);
    EXPECT_EQ(comparetext({1, 2}, {1}), 1);
    EXPECT_EQ(comparetext({0x80}, {0x7F}), 1);
    EXPECT_EQ(comparetext({1, 2, 3}, {1, 3}), -1);
    EXPECT_EQ(comparetext({1, 2, 3}, {1, 2, 3}), 0);
    std::mt19937 random(4);
    for (int n = 0; n < 2000; ++n) {
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
}

TEST(TextRecord, HashesCountAndBytes)
{
    std::hash<Text> hash;
    EXPECT_NE(hash(Text{{}}), hash(Text{{0}}));
    EXPECT_NE(hash(Text{{0}}), hash(Text{{0, 0}}));
    EXPECT_NE(hash(Text{{1, 2}}), hash(Text{{2, 1}}));
    std::unordered_set<Text> set{Text{{1}}, Text{{1}}, Text{{}}, Text{{1, 0}}};
    EXPECT_EQ(set.size(), 3u);
}

}  // namespace
