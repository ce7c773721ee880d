// Font files: reading, header checks, expansion, the fonts in resources/ and t_WindowFont.
#include "text/font_resources.h"

#include "platform/bundle.h"
#include "windows/window_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int glyphBytes = 16 * 32;

// The 16-byte header of a font file with the identifier "vxfn".
Bytes header(uint8_t headerSize, uint8_t format, uint32_t size = 0x01020304, uint8_t start = 32,
             uint8_t end = 126, uint8_t width = 16, uint8_t height = 32, uint16_t reserved = 0x0A0B)
{
    return {headerSize, 'v', 'x', 'f', 'n', format,
            static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
            static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size),
            start, end, width, height,
            static_cast<uint8_t>(reserved >> 8), static_cast<uint8_t>(reserved)};
}

Bytes concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Packs `codes` of `width` bits each into bytes, most significant bit first.
Bytes packBits(const std::vector<uint32_t>& codes, int width)
{
    Bytes out;
    uint64_t buffer = 0;
    int bits = 0;
    for (uint32_t code : codes) {
        buffer = (buffer << width) | code;
        bits += width;
        for (; bits >= 8; bits -= 8) out.push_back(static_cast<uint8_t>(buffer >> (bits - 8)));
    }
    if (bits > 0) out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

void expectEmptyFontFields(const t_Font& font)
{
    EXPECT_EQ(font.Format, 0);
    EXPECT_EQ(font.Size, 0);
    EXPECT_EQ(font.Start, 0);
    EXPECT_EQ(font.End, 0);
    EXPECT_EQ(font.Width, 0);
    EXPECT_EQ(font.Height, 0);
    EXPECT_EQ(font.Reserved, 0);
    EXPECT_TRUE(font.Data.empty());
}

void expectSameFont(const t_Font& a, const t_Font& b)
{
    EXPECT_EQ(a.HeaderSize, b.HeaderSize);
    EXPECT_EQ(a.Identifier, b.Identifier);
    EXPECT_EQ(a.Format, b.Format);
    EXPECT_EQ(a.Size, b.Size);
    EXPECT_EQ(a.Start, b.Start);
    EXPECT_EQ(a.End, b.End);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.Height, b.Height);
    EXPECT_EQ(a.Reserved, b.Reserved);
    EXPECT_EQ(a.Data, b.Data);
}

// A bundle folder in the temporary directory whose resources folder the tests fill; the
// previous bundle path comes back afterwards.
class FontFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bundle_ = fs::temp_directory_path() / ("vx_font_test_" + std::to_string(::getpid())) / "Test.app";
        fs::create_directories(bundle_ / "Contents" / "Resources");
    }

    static void TearDownTestSuite() { fs::remove_all(bundle_.parent_path()); }

    void SetUp() override
    {
        previousBundle_ = bundlepath();
        setbundlepath(bundle_.string());
    }

    void TearDown() override { setbundlepath(previousBundle_); }

    static fs::path resource(const std::string& name) { return bundle_ / "Contents" / "Resources" / name; }

    static void writeResource(const std::string& name, const Bytes& bytes)
    {
        std::ofstream out(resource(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Loads `name`, returning what was printed in `output`.
    static t_Font load(const std::string& name, std::string& output)
    {
        testing::internal::CaptureStdout();
        t_Font font = t_LoadFontResource(name);
        output = testing::internal::GetCapturedStdout();
        return font;
    }

    static t_Font loadBytes(const Bytes& bytes, std::string& output)
    {
        writeResource("test.font", bytes);
        return load("test.font", output);
    }

    static inline fs::path bundle_;
    std::string previousBundle_;
};

// ---------------------------------------------------------------------------------------
// Reading whole files
// ---------------------------------------------------------------------------------------

TEST_F(FontFiles, GetBinaryFromFileReadsEveryByte)
{
    Bytes bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
    bytes[0] = 0;
    writeResource("raw.bin", bytes);
    testing::internal::CaptureStdout();
    EXPECT_EQ(getbinaryfromfile(resource("raw.bin").string()), bytes);
    writeResource("empty.bin", {});
    EXPECT_TRUE(getbinaryfromfile(resource("empty.bin").string()).empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(FontFiles, GetBinaryFromFileReportsUnreadableFiles)
{
    for (const fs::path& path : {resource("absent.bin"), resource("")}) {  // missing; a folder
        testing::internal::CaptureStdout();
        EXPECT_TRUE(getbinaryfromfile(path.string()).empty());
        std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.rfind("getbinaryfromfile: Error #", 0), 0u) << output;
        EXPECT_NE(output.find(path.string()), std::string::npos) << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    }
}

// ---------------------------------------------------------------------------------------
// Header
// ---------------------------------------------------------------------------------------

TEST_F(FontFiles, FieldsAreReadAndHeaderBytesSkipped)
{
    Bytes file = concat(header(20, 2, 0xA1B2C3D4, 5, 200, 8, 12, 0xBEEF), {0xEE, 0xEE, 0xEE, 0xEE, 1, 2, 3});
    std::string output;
    t_Font font = loadBytes(file, output);
    EXPECT_EQ(output, "");
    EXPECT_EQ(font.HeaderSize, 20);
    EXPECT_EQ(font.Identifier, fontIdentifier());
    EXPECT_EQ(font.Format, 2);
    EXPECT_EQ(font.Size, int64_t{0xA1B2C3D4});  // unsigned, not negative
    EXPECT_EQ(font.Start, 5);
    EXPECT_EQ(font.End, 200);
    EXPECT_EQ(font.Width, 8);
    EXPECT_EQ(font.Height, 12);
    EXPECT_EQ(font.Reserved, 0xBEEF);
    EXPECT_EQ(font.Data, (Bytes{1, 2, 3}));
}

TEST_F(FontFiles, ShortFilesWithoutReservedField)
{
    std::string output;
    for (uint8_t length : {15, 14}) {
        Bytes file = header(length, 2);
        file.resize(length);
        t_Font font = loadBytes(file, output);
        EXPECT_EQ(output, "") << int{length};
        EXPECT_EQ(font.HeaderSize, length);
        EXPECT_EQ(font.Format, 2);
        EXPECT_EQ(font.Size, 0x01020304);
        EXPECT_EQ(font.Height, 32);
        EXPECT_EQ(font.Reserved, 0);
        EXPECT_TRUE(font.Data.empty());
    }
    // Shorter than the fields up to the cell height: refused like a wrong header size.
    Bytes file = header(10, 2);
    file.resize(10);
    t_Font font = loadBytes(file, output);
    EXPECT_EQ(output, "t_LoadFontResource: Invalid header size\n");
    EXPECT_EQ(font.HeaderSize, 10);
    EXPECT_EQ(font.Identifier, fontIdentifier());
    expectEmptyFontFields(font);
}

TEST_F(FontFiles, HeaderSizeBeyondTheFileIsRefused)
{
    std::string output;
    t_Font font = loadBytes(concat(header(40, 2), Bytes(23, 9)), output);  // 39 bytes
    EXPECT_EQ(output, "t_LoadFontResource: Invalid header size\n");
    EXPECT_EQ(font.HeaderSize, 40);
    EXPECT_EQ(font.Identifier, fontIdentifier());
    expectEmptyFontFields(font);

    font = loadBytes(concat(header(40, 2), Bytes(24, 9)), output);  // exactly 40: no data
    EXPECT_EQ(output, "");
    EXPECT_EQ(font.Format, 2);
    EXPECT_TRUE(font.Data.empty());

    Bytes wrongBoth = header(200, 2);
    wrongBoth[2] = 'X';
    font = loadBytes(wrongBoth, output);  // the size is checked first, and alone reported
    EXPECT_EQ(output, "t_LoadFontResource: Invalid header size\n");
    EXPECT_EQ(font.Identifier, fontIdentifier());
}

TEST_F(FontFiles, WrongIdentifierIsRefusedAndKept)
{
    Bytes file = concat(header(16, 2), {1, 2, 3});
    file[1] = 'V';
    file[4] = 0;
    std::string output;
    t_Font font = loadBytes(file, output);
    EXPECT_EQ(output, "t_LoadFontResource: Invalid file type\n");
    EXPECT_EQ(font.HeaderSize, 16);
    EXPECT_EQ(font.Identifier, (Bytes{'V', 'x', 'f', 0}));
    expectEmptyFontFields(font);
}

TEST_F(FontFiles, MissingAndEmptyFiles)
{
    std::string output;
    t_Font font = load("No such 16x32.font", output);
    std::string loaderLine = "t_LoadFontResource: Could not load file \u201ENo such 16x32.font\u201C\n";
    ASSERT_GT(output.size(), loaderLine.size());
    EXPECT_EQ(output.rfind("getbinaryfromfile: Error #", 0), 0u) << output;
    EXPECT_EQ(output.substr(output.size() - loaderLine.size()), loaderLine);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2) << output;
    expectSameFont(font, t_Font{});

    writeResource("empty.font", {});
    font = load("empty.font", output);
    EXPECT_EQ(output, "t_LoadFontResource: Could not load file \u201Eempty.font\u201C\n");
    expectSameFont(font, t_Font{});
}

// ---------------------------------------------------------------------------------------
// Formats and expansion
// ---------------------------------------------------------------------------------------

TEST_F(FontFiles, CompressedFormatsExpand)
{
    Bytes data = concat({9}, packBits({65, 66, 256, 258}, 9));
    std::string output;
    t_Font font = loadBytes(concat(header(16, 102, 7), data), output);
    EXPECT_EQ(output, "");
    EXPECT_EQ(font.Format, 2);
    EXPECT_EQ(font.Data, (Bytes{65, 66, 65, 66, 65, 66, 65}));
    EXPECT_EQ(font.Size, 7);
    EXPECT_EQ(font.Width, 16);
    EXPECT_EQ(font.Reserved, 0x0A0B);

    font = loadBytes(concat(header(16, 100), concat({12}, packBits({0, 255, 256, 1}, 12))), output);
    EXPECT_EQ(font.Format, 0);
    EXPECT_EQ(font.Data, (Bytes{0, 255, 0, 255, 1}));
}

TEST_F(FontFiles, PlainAndUnknownFormatsAreKept)
{
    std::mt19937 random(7);
    Bytes data(5000);
    for (auto& byte : data) byte = static_cast<uint8_t>(random());
    data[0] = 9;  // would be a code width if the data were expanded
    std::string output;
    for (uint8_t format : {2, 0, 7, 101, 255}) {
        t_Font font = loadBytes(concat(header(16, format), data), output);
        EXPECT_EQ(output, "");
        EXPECT_EQ(font.Format, format);
        EXPECT_EQ(font.Data, data) << int{format};
    }
}

TEST(FontExpansion, EdgeCasesOfCompressedData)
{
    t_Font font;
    font.Format = 102;
    font.Width = 3;
    EXPECT_EQ(expandfont(font).Format, 2);  // empty data stay empty, the format still changes
    EXPECT_TRUE(expandfont(font).Data.empty());
    EXPECT_EQ(expandfont(font).Width, 3);

    font.Data = {9};
    EXPECT_TRUE(expandfont(font).Data.empty());  // a width and no codes

    testing::internal::CaptureStdout();
    font.Data = concat({9}, packBits({65, 300}, 9));  // 300 is not defined yet
    EXPECT_TRUE(expandfont(font).Data.empty());
    for (uint8_t width : {0, 63, 255}) {
        font.Data = {width, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        EXPECT_TRUE(expandfont(font).Data.empty()) << int{width};
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // no message for bad data

    font.Data = concat({8}, {'h', 'i'});  // 8-bit codes are the bytes themselves
    font.Format = 100;
    t_Font expanded = expandfont(font);
    EXPECT_EQ(expanded.Format, 0);
    EXPECT_EQ(expanded.Data, (Bytes{'h', 'i'}));
    EXPECT_EQ(expandfont(expanded).Data, expanded.Data);  // a second expansion changes nothing
}

// ---------------------------------------------------------------------------------------
// Hostile files
// ---------------------------------------------------------------------------------------

// Loads `bytes` as a font file and checks what any load promises.
void checkHostile(const Bytes& bytes)
{
    t_Font font = fontfrombytes(bytes);
    if (bytes.size() < 14) ASSERT_TRUE(font.Data.empty());
    if (!font.Data.empty()) ASSERT_EQ(font.Identifier, fontIdentifier());
    ASSERT_EQ(font.Identifier.size(), 4u);
    if (!bytes.empty()) ASSERT_EQ(font.HeaderSize, bytes[0]);
}

Bytes committedFont()
{
    return getbinaryfromfile(VX_RESOURCE_DIR "/MenloBold 16x32.font");
}

TEST_F(FontFiles, HostileFilesNeverCrash)
{
    const Bytes real = committedFont();
    ASSERT_GT(real.size(), 1000u);
    std::mt19937 random(2024);
    testing::internal::CaptureStdout();
    for (int round = 0; round < 3000; ++round) {  // random small files, some with the identifier
        Bytes bytes(random() % 40);
        for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
        if (bytes.size() > 5 && round % 2 == 0) std::copy_n(real.begin() + 1, 4, bytes.begin() + 1);
        if (bytes.size() > 5 && round % 3 == 0) bytes[5] = round % 6 == 0 ? 102 : 100;
        checkHostile(bytes);
    }
    for (size_t length = 0; length <= 40; ++length)  // every short prefix of a real file
        checkHostile(Bytes(real.begin(), real.begin() + static_cast<std::ptrdiff_t>(length)));
    for (int round = 0; round < 200; ++round) {  // truncated real files
        checkHostile(Bytes(real.begin(), real.begin() + static_cast<std::ptrdiff_t>(random() % real.size())));
    }
    for (int round = 0; round < 200; ++round) {  // flipped bits, code width and header
        Bytes bytes = real;
        for (int flip = 0; flip < 3; ++flip) bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
        if (round % 10 == 0) bytes[16] = static_cast<uint8_t>(random());
        if (round % 10 == 1) bytes[0] = static_cast<uint8_t>(random());
        checkHostile(bytes);
    }
    for (size_t length : {0, 1, 5, 13, 14, 15, 16, 17}) {  // the same through the file system
        writeResource("cut.font", Bytes(real.begin(), real.begin() + static_cast<std::ptrdiff_t>(length)));
        t_Font font = t_LoadFontResource("cut.font");
        EXPECT_TRUE(font.Data.empty()) << length;
    }
    testing::internal::GetCapturedStdout();
}

// ---------------------------------------------------------------------------------------
// The fonts in resources/
// ---------------------------------------------------------------------------------------

// A glyph of a loaded 16 x 32 font.
struct Glyph {
    const uint8_t* pixels;
    uint8_t at(int x, int y) const { return pixels[y * 16 + x]; }
    bool inked() const { return std::any_of(pixels, pixels + glyphBytes, [](uint8_t p) { return p != 0; }); }
    bool fullRow(int y) const
    {
        for (int x = 0; x < 16; ++x) if (at(x, y) != 255) return false;
        return true;
    }
    bool fullColumn(int x) const
    {
        for (int y = 0; y < 32; ++y) if (at(x, y) != 255) return false;
        return true;
    }
    int highestInkedRow() const
    {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 16; ++x) if (at(x, y) != 0) return y;
        return -1;
    }
    int lowestInkedRow() const
    {
        for (int y = 31; y >= 0; --y)
            for (int x = 0; x < 16; ++x) if (at(x, y) != 0) return y;
        return -1;
    }
    // The ink of the edge column x (0 or 15) or edge row y (0 or 31), as one string.
    Bytes column(int x) const
    {
        Bytes out;
        for (int y = 0; y < 32; ++y) out.push_back(at(x, y));
        return out;
    }
    Bytes row(int y) const { return Bytes(pixels + y * 16, pixels + y * 16 + 16); }
};

class CommittedFonts : public FontFiles, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        FontFiles::SetUp();
        fs::copy_file(fs::path(VX_RESOURCE_DIR) / GetParam(), resource(GetParam()),
                      fs::copy_options::overwrite_existing);
        std::string output;
        font_ = load(GetParam(), output);
        EXPECT_EQ(output, "");
    }

    Glyph glyph(int code) const { return Glyph{font_.Data.data() + code * glyphBytes}; }

    t_Font font_;
};

TEST_P(CommittedFonts, LoadAsPrintableSixteenByThirtyTwo)
{
    EXPECT_EQ(font_.HeaderSize, 16);
    EXPECT_EQ(font_.Identifier, fontIdentifier());
    EXPECT_EQ(font_.Format, 2);
    EXPECT_EQ(font_.Width, 16);
    EXPECT_EQ(font_.Height, 32);
    EXPECT_EQ(font_.Start, 0);
    EXPECT_EQ(font_.End, 255);
    EXPECT_EQ(font_.Reserved, 0);
    ASSERT_EQ(font_.Data.size(), 256u * glyphBytes);
    EXPECT_EQ(font_.Size, 256 * glyphBytes);
}

TEST_P(CommittedFonts, TextGlyphsShareOneBaseline)
{
    ASSERT_EQ(font_.Data.size(), 256u * glyphBytes);
    EXPECT_FALSE(glyph(' ').inked());
    for (int code : std::initializer_list<int>{0, 10, 31, 'A', 'z', '~', 0xC5, 0xFF}) EXPECT_TRUE(glyph(code).inked()) << code;
    int baseline = glyph('H').lowestInkedRow();
    EXPECT_GE(baseline, 20);
    for (int code : std::initializer_list<int>{'E', 'x', 'z', '1', 0xC9, 0xE9}) EXPECT_EQ(glyph(code).lowestInkedRow(), baseline) << code;
    for (int code : {'g', 'p', 'y'}) {
        EXPECT_GT(glyph(code).lowestInkedRow(), baseline + 3) << code;
        EXPECT_LT(glyph(code).lowestInkedRow(), 32) << code;
    }
    for (int code : {0xC0, 0xC5, 0xC9}) {  // accents above the capitals, inside the cell
        EXPECT_LT(glyph(code).highestInkedRow(), glyph('H').highestInkedRow() - 2) << code;
        EXPECT_GE(glyph(code).highestInkedRow(), 0) << code;
    }
}

TEST_P(CommittedFonts, LineGlyphsReachTheCellEdges)
{
    ASSERT_EQ(font_.Data.size(), 256u * glyphBytes);
    EXPECT_TRUE(glyph(156).fullRow(15) && glyph(156).fullRow(16));  // the text rule
    EXPECT_TRUE(glyph(138).fullColumn(7) && glyph(138).fullColumn(8));
    for (int code : {140, 141, 154, 155, 156, 159}) {  // horizontal: continue into the next cell
        EXPECT_EQ(glyph(code).column(0), glyph(code).column(15)) << code;
        EXPECT_TRUE(glyph(code).inked()) << code;
        EXPECT_EQ(glyph(code).row(0), Bytes(16, 0)) << code;
    }
    for (int code : {138, 139, 157}) {  // vertical: continue into the cell below
        EXPECT_EQ(glyph(code).row(0), glyph(code).row(31)) << code;
        EXPECT_EQ(glyph(code).column(0), Bytes(32, 0)) << code;
    }
}

// The edges of every corner and junction carry exactly the line of the same kind.
TEST_P(CommittedFonts, CornersAndJunctionsJoinTheirLines)
{
    ASSERT_EQ(font_.Data.size(), 256u * glyphBytes);
    enum { up = 1, down = 2, left = 4, right = 8 };
    struct Joint { int code; int arms; int horizontal; int vertical; };
    const Joint joints[] = {
        {134, down | right, 140, 138}, {135, down | left, 140, 138}, {136, up | right, 140, 138},
        {137, up | left, 140, 138},    {142, up | down | right, 140, 138},
        {143, up | down | left, 140, 138}, {144, left | right | down, 140, 138},
        {145, left | right | up, 140, 138}, {158, up | down | left | right, 140, 138},
        {146, down | right, 159, 157}, {147, down | left, 159, 157}, {148, up | right, 159, 157},
        {149, up | left, 159, 157},    {150, up | down | right, 159, 157},
        {151, up | down | left, 159, 157}, {152, left | right | down, 159, 157},
        {153, left | right | up, 159, 157}};
    const Bytes noColumn(32, 0), noRow(16, 0);
    for (const Joint& j : joints) {
        Glyph g = glyph(j.code);
        Glyph h = glyph(j.horizontal);
        Glyph v = glyph(j.vertical);
        EXPECT_EQ(g.column(0), (j.arms & left) ? h.column(0) : noColumn) << j.code;
        EXPECT_EQ(g.column(15), (j.arms & right) ? h.column(15) : noColumn) << j.code;
        EXPECT_EQ(g.row(0), (j.arms & up) ? v.row(0) : noRow) << j.code;
        EXPECT_EQ(g.row(31), (j.arms & down) ? v.row(31) : noRow) << j.code;
    }
    EXPECT_TRUE(glyph(127).fullRow(0) && glyph(127).fullRow(31));  // the full block
    for (int code = 128; code <= 160; ++code) EXPECT_TRUE(glyph(code).inked()) << code;
}

INSTANTIATE_TEST_SUITE_P(FontResources, CommittedFonts,
                         ::testing::Values("MenloBold 16x32.font", "MenloRegular 16x32.font"));

// ---------------------------------------------------------------------------------------
// t_WindowFont
// ---------------------------------------------------------------------------------------

class FontWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensurememory(); }
    void TearDown() override
    {
        windowTable[3] = t_Window{};
        windowTable[7] = t_Window{};
    }

    static t_Font sampleFont()
    {
        t_Font font;
        font.HeaderSize = 20;
        font.Format = 2;
        font.Size = 99;
        font.Start = 32;
        font.End = 126;
        font.Width = 8;
        font.Height = 16;
        font.Reserved = 5;
        font.Data = Bytes(127 * 8 * 16, 255);
        return font;
    }

    static std::string windowFontOutput(uint8_t window, const t_Font& font)
    {
        testing::internal::CaptureStdout();
        t_WindowFont(window, font);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(FontWindow, RefusesWindowsThatAreNotGraphicOrNotInitialised)
{
    for (uint8_t window : {8, 9, 255})
        EXPECT_EQ(windowFontOutput(window, sampleFont()), "t_WindowFont: Window is not a graphic window.\n");
    EXPECT_EQ(windowFontOutput(3, sampleFont()), "t_WindowFont: Window #3 not initialized.\n");
    expectSameFont(windowTable[3].Font, t_Font{});
}

TEST_F(FontWindow, ReplacesOnlyTheFont)
{
    for (uint8_t window : {3, 7}) {
        t_Window& w = windowTable[window];
        w.Initialized = true;
        w.TextWidth = 80;
        w.TextHeight = 25;
        w.TextFirstColumn = 2;
        w.TextLastLine = 20;
        w.TextHpos = 11;
        w.TextVpos = 4;
        w.TextMemoryStart = 1000;
        w.TextMemoryEnd = 2999;
        w.MemoryStart = 5000;
        w.Width = 1280;

        EXPECT_EQ(windowFontOutput(window, sampleFont()), "");
        expectSameFont(w.Font, sampleFont());
        EXPECT_EQ(w.TextWidth, 80);
        EXPECT_EQ(w.TextHeight, 25);
        EXPECT_EQ(w.TextFirstColumn, 2);
        EXPECT_EQ(w.TextLastLine, 20);
        EXPECT_EQ(w.TextHpos, 11);
        EXPECT_EQ(w.TextVpos, 4);
        EXPECT_EQ(w.TextMemoryStart, 1000);
        EXPECT_EQ(w.TextMemoryEnd, 2999);
        EXPECT_EQ(w.MemoryStart, 5000);
        EXPECT_EQ(w.Width, 1280);

        EXPECT_EQ(windowFontOutput(window, t_Font{}), "");  // a font without data is accepted too
        expectSameFont(w.Font, t_Font{});
    }
    expectSameFont(windowTable[4].Font, t_Font{});
}

}  // namespace
