// Font files: reading, header checks, expansion and the fonts in resources/.
#include "text/font_resources.h"

#include "platform/bundle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Codes = std::initializer_list<int>;
constexpr int glyphBytes = 16 * 32;

// A font file "vxfn" of size 0x01020304, characters 32-126, 16 x 32 cells, reserved 0x0A0B; then `data`.
Bytes fontFile(uint8_t headerSize, uint8_t format, const Bytes& data = {})
{
    Bytes file{headerSize, 'v', 'x', 'f', 'n', format, 1, 2, 3, 4, 32, 126, 16, 32, 0x0A, 0x0B};
    std::copy(data.begin(), data.end(), std::back_inserter(file));
    return file;
}

// The font loaded from fontFile(headerSize, ...).
t_Font fileFont(int64_t headerSize, int64_t format, Bytes data = {}, int64_t reserved = 0x0A0B)
{
    return {headerSize, fontIdentifier(), format, 0x01020304, 32, 126, 16, 32, reserved, std::move(data)};
}

// A code width byte, then `codes` of `width` bits each, most significant bit first.
Bytes packed(const std::vector<uint32_t>& codes, int width)
{
    Bytes out{uint8_t(width)};
    uint64_t buffer = 0;
    int bits = 0;
    for (uint32_t code : codes) {
        buffer = (buffer << width) | code;
        for (bits += width; bits >= 8; bits -= 8) out.push_back(uint8_t(buffer >> (bits - 8)));
    }
    if (bits > 0) out.push_back(uint8_t(buffer << (8 - bits)));
    return out;
}

void expectSameFont(const t_Font& a, const t_Font& b)
{
    EXPECT_EQ(std::tie(a.HeaderSize, a.Identifier, a.Format, a.Size, a.Start, a.End, a.Width, a.Height, a.Reserved),
              std::tie(b.HeaderSize, b.Identifier, b.Format, b.Size, b.Start, b.End, b.Width, b.Height, b.Reserved));
    EXPECT_EQ(a.Data, b.Data);
}

template <class F>
std::string printed(F f)
{
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

// A bundle in the temporary directory whose resources folder the tests fill.
class FontFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fs::create_directories(resource("")); }
    static void TearDownTestSuite() { fs::remove_all(bundle_.parent_path()); }
    void SetUp() override { previousBundle_ = bundlepath(); setbundlepath(bundle_); }
    void TearDown() override { setbundlepath(previousBundle_); }

    static fs::path resource(const std::string& name) { return bundle_ / "Contents" / "Resources" / name; }
    static void write(const std::string& name, const Bytes& bytes)
    {
        std::ofstream(resource(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              std::streamsize(bytes.size()));
    }
    // Loads `name`, first written with `bytes` unless null; output_ gets what was printed.
    t_Font load(const std::string& name, const Bytes* bytes = nullptr)
    {
        if (bytes) write(name, *bytes);
        t_Font font;
        output_ = printed([&] { font = t_LoadFontResource(name); });
        return font;
    }

    static inline const fs::path bundle_ =
        fs::temp_directory_path() / ("vx_font_test_" + std::to_string(::getpid())) / "Test.app";
    std::string previousBundle_, output_;
};

TEST_F(FontFiles, LoadsHeaderAndDataOrRefusesWithOneLine)
{
    const std::string sizeLine = "t_LoadFontResource: Invalid header size\n";
    auto cut = [](Bytes b, size_t n) { b.resize(n); return b; };
    const Bytes plain{9, 65, 66, 0, 255};  // 9 would be a code width if the data were expanded
    Bytes wrongId = fontFile(16, 2, {1, 2, 3}), wrongBoth = fontFile(200, 2);
    wrongId[1] = 'V';
    wrongId[4] = 0;
    wrongBoth[2] = 'X';  // the size is checked first, and alone reported
    struct Case { Bytes file; std::string line; t_Font font; };
    std::vector<Case> cases = {
        {{20, 'v', 'x', 'f', 'n', 2, 0xA1, 0xB2, 0xC3, 0xD4, 5, 200, 8, 12, 0xBE, 0xEF, 0xEE, 0xEE, 0xEE, 0xEE, 1, 2,
          3}, "", {20, fontIdentifier(), 2, 0xA1B2C3D4, 5, 200, 8, 12, 0xBEEF, {1, 2, 3}}},  // header bytes skipped
        {cut(fontFile(15, 2), 15), "", fileFont(15, 2, {}, 0)},  // no reserved field
        {cut(fontFile(14, 2), 14), "", fileFont(14, 2, {}, 0)},
        {fontFile(40, 2, Bytes(24, 9)), "", fileFont(40, 2)},  // no data
        {cut(fontFile(10, 2), 10), sizeLine, t_Font{10}},  // shorter than the fields up to the cell height
        {fontFile(40, 2, Bytes(23, 9)), sizeLine, t_Font{40}},  // header beyond the file
        {wrongBoth, sizeLine, t_Font{200}},
        {wrongId, "t_LoadFontResource: Invalid file type\n", t_Font{16, {'V', 'x', 'f', 0}}},
        {fontFile(16, 102, packed({65, 66, 256, 258}, 9)), "", fileFont(16, 2, {65, 66, 65, 66, 65, 66, 65})},
        {fontFile(16, 100, packed({0, 255, 256, 1}, 12)), "", fileFont(16, 0, {0, 255, 0, 255, 1})},
        {{}, "t_LoadFontResource: Could not load file \u201Etest.font\u201C\n", t_Font{}}};
    for (uint8_t format : {2, 0, 7, 101, 255})  // other formats are kept
        cases.push_back({fontFile(16, format, plain), "", fileFont(16, format, plain)});
    for (const Case& c : cases) {
        expectSameFont(load("test.font", &c.file), c.font);
        EXPECT_EQ(output_, c.line) << &c - cases.data();
    }
    // A missing file and a folder: the reading error, then the same line.
    for (auto [name, message] : {std::pair{"No such 16x32.font", "No such file or directory"}, {".", "Is a directory"}}) {
        expectSameFont(load(name), t_Font{});
        EXPECT_EQ(output_, std::string("getbinaryfromfile: Error #") + message +
                               "\nt_LoadFontResource: Could not load file \u201E" + name + "\u201C\n");
    }
}

// Data expanding beyond any font are refused with one line; bad compressed data give no data
// and no message.
TEST(FontExpansion, RefusalsAndBadData)
{
    // Codes 65, 256, 257, ... expand n codes to n(n + 1) / 2 bytes: 6000 codes to 18 million.
    std::vector<uint32_t> bomb{65};
    for (uint32_t code = 256; code < 256 + 5999; ++code) bomb.push_back(code);
    Bytes tooManyCodes(256 * 255 * 255 / 8 + 2, 0);
    tooManyCodes[0] = 1;  // one-bit codes: more of them than bytes a font can use
    for (const Bytes& data : {packed(bomb, 13), tooManyCodes}) {
        t_Font font;
        EXPECT_EQ(printed([&] { font = fontfrombytes(fontFile(16, 102, data)); }),
                  "expandfont: Compressed font data expand to more than 16646400 bytes.\n");
        EXPECT_TRUE(font.Data.empty());
    }
    const std::pair<Bytes, Bytes> cases[] = {
        {{}, {}}, {{9}, {}}, {packed({65, 300}, 9), {}},  // no width; no codes; 300 not defined yet
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}, {{63, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}},
        {{255, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}, {{8, 'h', 'i'}, {'h', 'i'}}};  // 8-bit codes are the bytes
    EXPECT_EQ(printed([&] {
                  for (const auto& [data, expanded] : cases) {
                      t_Font once = expandfont(t_Font{16, fontIdentifier(), 102, 0, 0, 0, 3, 0, 0, data});
                      expectSameFont(once, t_Font{16, fontIdentifier(), 2, 0, 0, 0, 3, 0, 0, expanded});
                      expectSameFont(expandfont(once), once);  // a second expansion changes nothing
                  }
              }), "");
}

// The fonts in resources/, loaded: 256 glyphs of 16 x 32 grey pixels.
class CommittedFonts : public FontFiles, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        FontFiles::SetUp();
        fs::copy_file(fs::path(VX_RESOURCE_DIR) / GetParam(), resource(GetParam()),
                      fs::copy_options::overwrite_existing);
        font_ = load(GetParam());
        EXPECT_EQ(output_, "");
        ASSERT_EQ(font_.Data.size(), 256u * glyphBytes);
    }
    // The highest or lowest row with ink; -1 for an empty glyph.
    int inkedRow(int code, bool lowest) const
    {
        for (int i = 0; i < 32; ++i) {
            const int y = lowest ? 31 - i : i;
            const auto row = font_.Data.begin() + code * glyphBytes + y * 16;
            if (std::any_of(row, row + 16, [](uint8_t grey) { return grey != 0; })) return y;
        }
        return -1;
    }

    t_Font font_;
};

// The glyphs stand on one baseline; descenders go below it, capitals' accents above.
TEST_P(CommittedFonts, LoadWithOneBaseline)
{
    expectSameFont(font_, t_Font{16, fontIdentifier(), 2, 256 * glyphBytes, 0, 255, 16, 32, 0, font_.Data});
    EXPECT_EQ(inkedRow(' ', true), -1);
    const int baseline = inkedRow('H', true);
    EXPECT_GE(baseline, 20);
    for (int code : Codes{'E', 'x', 'z', '1', 0xC9, 0xE9}) EXPECT_EQ(inkedRow(code, true), baseline) << code;
    for (int code : {'g', 'p', 'y'}) EXPECT_GT(inkedRow(code, true), baseline + 3) << code;
    for (int code : {0xC0, 0xC5, 0xC9}) EXPECT_LT(inkedRow(code, false), inkedRow('H', false) - 2) << code;
    for (int code = 128; code <= 160; ++code) EXPECT_NE(inkedRow(code, false), -1) << code;  // the line glyphs
}

INSTANTIATE_TEST_SUITE_P(FontResources, CommittedFonts,
                         ::testing::Values("MenloBold 16x32.font", "MenloRegular 16x32.font"));

}  // namespace
