// fontbuilder: makes one of the runtime's 16 x 32 grey bitmap fonts from a TrueType font.
//
//   fontbuilder <font.ttf> <output.font> [--preview <preview.pgm>]
//
// The output holds the glyphs of the codes 0 ... 255, one byte of ink weight per pixel
// (0 background, 255 full ink), LZW-compressed as format 102:
//   0 ... 31     pictures of the control codes (two small letters, e.g. "LF")
//   32 ... 126   ASCII, drawn by the TrueType font
//   127 ... 160  the runtime's graphic characters, drawn here: blocks, lines, corners,
//                junctions, arrows; lines are symmetric about the middle of the cell (thin
//                ones are columns 7-8 and rows 15-16) and run to the cell's edges, so
//                neighbouring cells join up
//   161 ... 255  Latin-1, drawn by the TrueType font
// Text glyphs are rendered hinted in grey and share one baseline; the pixel size is the
// largest whose advance is 16 pixels and whose ink, accents and descenders included, fits
// the 32 rows with a row to spare at the top and the bottom.
// --preview also writes the 256 glyphs as a 16 x 16 grid into a PGM picture.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int cellWidth = 16;
constexpr int cellHeight = 32;
constexpr int glyphCount = 256;
constexpr int cellBytes = cellWidth * cellHeight;

// ---------------------------------------------------------------------------------------
// One glyph cell
// ---------------------------------------------------------------------------------------

// The ink weights of one cell, row by row from the top.
struct Cell {
    std::array<uint8_t, cellBytes> ink{};

    uint8_t& at(int x, int y) { return ink[static_cast<size_t>(y * cellWidth + x)]; }
    uint8_t at(int x, int y) const { return ink[static_cast<size_t>(y * cellWidth + x)]; }

    // Inks the pixels x0 <= x < x1, y0 <= y < y1 fully (clipped to the cell).
    void fill(int x0, int y0, int x1, int y1)
    {
        for (int y = std::max(y0, 0); y < std::min(y1, cellHeight); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, cellWidth); ++x) at(x, y) = 255;
    }

    // Inks every pixel by the share of its 8 x 8 sample points inside `shape`, which takes
    // a point in pixel units (pixel (x, y) covers x ... x + 1, y ... y + 1).
    void cover(const std::function<bool(double, double)>& shape)
    {
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x) {
                int inside = 0;
                for (int sy = 0; sy < 8; ++sy)
                    for (int sx = 0; sx < 8; ++sx)
                        inside += shape(x + (sx + 0.5) / 8, y + (sy + 0.5) / 8) ? 1 : 0;
                at(x, y) = std::max(at(x, y), static_cast<uint8_t>((inside * 255 + 32) / 64));
            }
    }

    // The cell mirrored left to right.
    Cell mirroredX() const
    {
        Cell out;
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x) out.at(cellWidth - 1 - x, y) = at(x, y);
        return out;
    }

    // The cell mirrored top to bottom.
    Cell mirroredY() const
    {
        Cell out;
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x) out.at(x, cellHeight - 1 - y) = at(x, y);
        return out;
    }
};

// ---------------------------------------------------------------------------------------
// TrueType glyphs
// ---------------------------------------------------------------------------------------

// A TrueType face at the pixel size of the cell, with the baseline it is drawn on.
struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int pixelSize = 0;
    int baseline = 0;  // row just below the baseline: ink above it is rows 0 ... baseline - 1

    ~Face()
    {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

// The Unicode character the TrueType font draws for `code`; 0 for codes drawn here.
char32_t textCharacter(int code)
{
    if (code >= 32 && code <= 126) return static_cast<char32_t>(code);
    if (code >= 161 && code <= 255) return static_cast<char32_t>(code);
    return 0;
}

// Loads and renders `character` hinted in grey; false when the font lacks it.
bool renderCharacter(FT_Face face, char32_t character)
{
    FT_UInt index = FT_Get_Char_Index(face, character);
    if (index == 0) return false;
    return FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0 &&
           FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

// The highest row above and lowest row below the baseline that any text glyph inks.
std::pair<int, int> inkExtent(FT_Face face)
{
    int top = 0;
    int bottom = 0;
    for (int code = 0; code < glyphCount; ++code) {
        char32_t character = textCharacter(code);
        if (character == 0 || !renderCharacter(face, character)) continue;
        top = std::max(top, face->glyph->bitmap_top);
        bottom = std::max(bottom, static_cast<int>(face->glyph->bitmap.rows) - face->glyph->bitmap_top);
    }
    return {top, bottom};
}

// The hinted advance of "M" in pixels at the face's current size.
int advanceAtSize(FT_Face face)
{
    if (FT_Load_Char(face, 'M', FT_LOAD_DEFAULT) != 0) return 0;
    return static_cast<int>((face->glyph->advance.x + 32) >> 6);
}

// Picks the largest pixel size whose advance is the cell width and whose ink fits the cell
// with a row to spare at the top and bottom, and centres that ink vertically.
void chooseSize(Face& font)
{
    for (int size = cellHeight; size >= 8; --size) {
        FT_Set_Pixel_Sizes(font.face, 0, static_cast<FT_UInt>(size));
        if (advanceAtSize(font.face) > cellWidth) continue;
        auto [top, bottom] = inkExtent(font.face);
        if (top + bottom > cellHeight - 2) continue;
        font.pixelSize = size;
        font.baseline = (cellHeight - top - bottom) / 2 + top;
        return;
    }
    throw std::runtime_error("no pixel size fits the cell");
}

// Opens the TrueType file at `path` and sizes it for the cell.
void openFace(Face& font, const std::string& path)
{
    if (FT_Init_FreeType(&font.library) != 0) throw std::runtime_error("FreeType does not start");
    // The classic interpreter runs the font's hints in both directions: stems on whole pixels.
    FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
    FT_Property_Set(font.library, "truetype", "interpreter-version", &interpreter);
    if (FT_New_Face(font.library, path.c_str(), 0, &font.face) != 0)
        throw std::runtime_error("cannot open the font " + path);
    chooseSize(font);
}

// Copies the rendered glyph of `face` into `cell` with its origin at (originX, baseline),
// keeping the stronger ink where pixels meet. Returns the number of inked pixels that fall
// outside the cell and are dropped.
int blitGlyph(FT_Face face, Cell& cell, int originX, int baseline)
{
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    int left = originX + face->glyph->bitmap_left;
    int top = baseline - face->glyph->bitmap_top;
    int dropped = 0;
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row)
        for (int column = 0; column < static_cast<int>(bitmap.width); ++column) {
            int x = left + column;
            int y = top + row;
            uint8_t value = bitmap.buffer[row * bitmap.pitch + column];
            if (x < 0 || x >= cellWidth || y < 0 || y >= cellHeight) {
                dropped += value != 0 ? 1 : 0;
                continue;
            }
            cell.at(x, y) = std::max(cell.at(x, y), value);
        }
    return dropped;
}

// The first and one past the last column of `bitmap` that holds ink; {0, 0} when none does.
std::pair<int, int> inkColumns(const FT_Bitmap& bitmap)
{
    int first = static_cast<int>(bitmap.width);
    int last = -1;
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row)
        for (int column = 0; column < static_cast<int>(bitmap.width); ++column)
            if (bitmap.buffer[row * bitmap.pitch + column] != 0) {
                first = std::min(first, column);
                last = std::max(last, column);
            }
    return last < 0 ? std::pair{0, 0} : std::pair{first, last + 1};
}

// The glyph of a text character, its advance centred in the cell; a glyph whose ink would
// stick out at one side is moved in just far enough to fit.
Cell textGlyph(const Face& font, char32_t character)
{
    Cell cell;
    if (!renderCharacter(font.face, character)) return cell;
    const FT_GlyphSlot glyph = font.face->glyph;
    int advance = static_cast<int>((glyph->advance.x + 32) >> 6);
    int origin = (cellWidth - advance) / 2;
    auto [first, end] = inkColumns(glyph->bitmap);
    int left = origin + glyph->bitmap_left + first;
    int right = origin + glyph->bitmap_left + end;
    if (right > cellWidth) origin -= right - cellWidth;
    else if (left < 0) origin -= left;
    if (int dropped = blitGlyph(font.face, cell, origin, font.baseline))
        std::cerr << "fontbuilder: U+" << std::hex << static_cast<uint32_t>(character) << std::dec
                  << " loses " << dropped << " pixels outside the cell\n";
    return cell;
}

// ---------------------------------------------------------------------------------------
// Control pictures
// ---------------------------------------------------------------------------------------

// The two-letter names of the control codes 0 ... 31.
constexpr std::array<const char*, 32> controlNames = {
    "NU", "SH", "SX", "EX", "ET", "EQ", "AK", "BL", "BS", "HT", "LF", "VT", "FF", "CR", "SO", "SI",
    "DL", "D1", "D2", "D3", "D4", "NK", "SY", "EB", "CN", "EM", "SB", "EC", "FS", "GS", "RS", "US"};

// The picture of control code `code`: its two letters drawn by the TrueType font at about
// 60% of the text size, the first at the upper left, the second at the lower right on the
// baseline.
Cell controlPicture(Face& font, int code)
{
    Cell cell;
    const char* name = controlNames[static_cast<size_t>(code)];
    FT_Set_Pixel_Sizes(font.face, 0, static_cast<FT_UInt>(font.pixelSize * 16 / 26));
    const int rise = font.pixelSize * 12 / 26;  // the first letter sits this much higher
    if (renderCharacter(font.face, static_cast<unsigned char>(name[0])))
        blitGlyph(font.face, cell, 0, font.baseline - rise);
    if (renderCharacter(font.face, static_cast<unsigned char>(name[1]))) {
        int advance = static_cast<int>((font.face->glyph->advance.x + 32) >> 6);
        blitGlyph(font.face, cell, cellWidth - advance, font.baseline);
    }
    FT_Set_Pixel_Sizes(font.face, 0, static_cast<FT_UInt>(font.pixelSize));
    return cell;
}

// ---------------------------------------------------------------------------------------
// Graphic characters 127 ... 160
// ---------------------------------------------------------------------------------------

// Bands of the lines, as pixel ranges [from, to): every line is symmetric about the cell's
// middle (x = 8, y = 16) and reaches the cell's edges, so it joins its neighbours.
constexpr int thinX0 = 7, thinX1 = 9, thinY0 = 15, thinY1 = 17;
constexpr int thickX0 = 6, thickX1 = 10, thickY0 = 14, thickY1 = 18;
constexpr int doubleLeft0 = 4, doubleLeft1 = 6, doubleRight0 = 10, doubleRight1 = 12;
constexpr int doubleTop0 = 12, doubleTop1 = 14, doubleBottom0 = 18, doubleBottom1 = 20;

// The arms of a thin line glyph: which sides of the cell the lines run to from the middle.
enum Arm { up = 1, down = 2, left = 4, right = 8 };

// A thin box-drawing glyph with the arms `arms`.
Cell thinLines(int arms)
{
    Cell cell;
    if (arms & up) cell.fill(thinX0, 0, thinX1, thinY1);
    if (arms & down) cell.fill(thinX0, thinY0, thinX1, cellHeight);
    if (arms & left) cell.fill(0, thinY0, thinX1, thinY1);
    if (arms & right) cell.fill(thinX0, thinY0, cellWidth, thinY1);
    return cell;
}

// A horizontal line of the rows [y0, y1) across the cell, in dashes when `dashed`.
Cell horizontalLine(int y0, int y1, bool dashed)
{
    Cell cell;
    if (!dashed) {
        cell.fill(0, y0, cellWidth, y1);
        return cell;
    }
    cell.fill(1, y0, 7, y1);  // two dashes a cell, 2-pixel gaps also across cell borders
    cell.fill(9, y0, 15, y1);
    return cell;
}

// The double corner that opens to the right and down; the other three are its mirrors.
Cell doubleCornerDownRight()
{
    Cell cell;
    cell.fill(doubleLeft0, doubleTop0, cellWidth, doubleTop1);        // outer line
    cell.fill(doubleLeft0, doubleTop0, doubleLeft1, cellHeight);
    cell.fill(doubleRight0, doubleBottom0, cellWidth, doubleBottom1);  // inner line
    cell.fill(doubleRight0, doubleBottom0, doubleRight1, cellHeight);
    return cell;
}

// The double junction of a vertical line with a branch to the right; mirrored for the left.
Cell doubleJunctionRight()
{
    Cell cell;
    cell.fill(doubleLeft0, 0, doubleLeft1, cellHeight);
    cell.fill(doubleRight0, 0, doubleRight1, doubleTop1);
    cell.fill(doubleRight0, doubleBottom0, doubleRight1, cellHeight);
    cell.fill(doubleRight0, doubleTop0, cellWidth, doubleTop1);
    cell.fill(doubleRight0, doubleBottom0, cellWidth, doubleBottom1);
    return cell;
}

// The double junction of a horizontal line with a branch down; mirrored for the branch up.
Cell doubleJunctionDown()
{
    Cell cell;
    cell.fill(0, doubleTop0, cellWidth, doubleTop1);
    cell.fill(0, doubleBottom0, doubleLeft1, doubleBottom1);
    cell.fill(doubleRight0, doubleBottom0, cellWidth, doubleBottom1);
    cell.fill(doubleLeft0, doubleBottom0, doubleLeft1, cellHeight);
    cell.fill(doubleRight0, doubleBottom0, doubleRight1, cellHeight);
    return cell;
}

// A vertical line of the columns [x0, x1) down the whole cell.
Cell verticalLine(int x0, int x1)
{
    Cell cell;
    cell.fill(x0, 0, x1, cellHeight);
    return cell;
}

// The double vertical line.
Cell doubleVertical()
{
    Cell cell = verticalLine(doubleLeft0, doubleLeft1);
    cell.fill(doubleRight0, 0, doubleRight1, cellHeight);
    return cell;
}

// The double horizontal line, across the whole cell or from x0 to x1.
Cell doubleHorizontal(int x0 = 0, int x1 = cellWidth)
{
    Cell cell;
    cell.fill(x0, doubleTop0, x1, doubleTop1);
    cell.fill(x0, doubleBottom0, x1, doubleBottom1);
    return cell;
}

// A pixel checkerboard: the medium shade, seamless across cells.
Cell shade()
{
    Cell cell;
    for (int y = 0; y < cellHeight; ++y)
        for (int x = 0; x < cellWidth; ++x) cell.at(x, y) = (x + y) % 2 == 0 ? 255 : 0;
    return cell;
}

// A disc (filled) or ring of outer radius `outer` and inner radius `inner` about the middle.
Cell circle(double outer, double inner)
{
    Cell cell;
    cell.cover([=](double x, double y) {
        double d2 = (x - 8) * (x - 8) + (y - 16) * (y - 16);
        return d2 <= outer * outer && d2 >= inner * inner;
    });
    return cell;
}

// An arrow pointing left: a triangular head and a thin shaft on the middle row.
Cell leftArrow()
{
    Cell cell;
    cell.fill(6, thinY0, 15, thinY1);
    cell.cover([](double x, double y) {
        const double tipX = 1, baseX = 8.5, halfHeight = 6.5;
        if (x < tipX || x > baseX) return false;
        return std::abs(y - 16) <= halfHeight * (x - tipX) / (baseX - tipX);
    });
    return cell;
}

// U+02FD, the shelf: a bar on the baseline with a short stroke up at either end.
Cell shelf(int baseline)
{
    Cell cell;
    cell.fill(3, baseline - 2, 13, baseline);
    cell.fill(3, baseline - 8, 5, baseline);
    cell.fill(11, baseline - 8, 13, baseline);
    return cell;
}

// The glyph of graphic code `code` (127 ... 160).
Cell graphicGlyph(int code, int baseline)
{
    switch (code) {
    case 127: { Cell c; c.fill(0, 0, cellWidth, cellHeight); return c; }  // full block
    case 128: return circle(4.5, 0);                                       // bullet
    case 129: return shade();
    case 130: return leftArrow();
    case 131: return doubleHorizontal(2, 14);                              // equals sign
    case 132: return leftArrow().mirroredX();                              // right arrow
    case 133: return circle(6.5, 4.5);                                     // ring
    case 134: return thinLines(down | right);
    case 135: return thinLines(down | left);
    case 136: return thinLines(up | right);
    case 137: return thinLines(up | left);
    case 138: return verticalLine(thinX0, thinX1);
    case 139: return verticalLine(thickX0, thickX1);
    case 140: return horizontalLine(thinY0, thinY1, false);
    case 141: return horizontalLine(thickY0, thickY1, false);
    case 142: return thinLines(up | down | right);
    case 143: return thinLines(up | down | left);
    case 144: return thinLines(left | right | down);
    case 145: return thinLines(left | right | up);
    case 146: return doubleCornerDownRight();
    case 147: return doubleCornerDownRight().mirroredX();
    case 148: return doubleCornerDownRight().mirroredY();
    case 149: return doubleCornerDownRight().mirroredX().mirroredY();
    case 150: return doubleJunctionRight();
    case 151: return doubleJunctionRight().mirroredX();
    case 152: return doubleJunctionDown();
    case 153: return doubleJunctionDown().mirroredY();
    case 154: return horizontalLine(thinY0, thinY1, true);
    case 155: return horizontalLine(thickY0, thickY1, true);
    case 156: return horizontalLine(thinY0, thinY1, false);                // the text rule
    case 157: return doubleVertical();
    case 158: return thinLines(up | down | left | right);
    case 159: return doubleHorizontal();
    case 160: return shelf(baseline);
    default: return Cell{};
    }
}

// ---------------------------------------------------------------------------------------
// The font file
// ---------------------------------------------------------------------------------------

// The glyph data of all 256 codes, code 0 first.
std::vector<uint8_t> buildGlyphs(Face& font)
{
    std::vector<uint8_t> data;
    data.reserve(static_cast<size_t>(glyphCount * cellBytes));
    for (int code = 0; code < glyphCount; ++code) {
        Cell cell;
        if (code < 32) cell = controlPicture(font, code);
        else if (char32_t character = textCharacter(code)) cell = textGlyph(font, character);
        else cell = graphicGlyph(code, font.baseline);
        data.insert(data.end(), cell.ink.begin(), cell.ink.end());
    }
    return data;
}

// LZW codes of `data`: the dictionary starts with the 256 single bytes and gains the code
// 256, 257, ... with every code after the first; it is never cleared.
std::vector<uint32_t> lzwCompress(const std::vector<uint8_t>& data)
{
    std::vector<uint32_t> codes;
    if (data.empty()) return codes;
    std::unordered_map<uint64_t, uint32_t> dictionary;  // (prefix code << 8 | byte) -> code
    uint32_t next = 256;
    uint32_t current = data[0];
    for (size_t i = 1; i < data.size(); ++i) {
        uint64_t key = (uint64_t{current} << 8) | data[i];
        auto found = dictionary.find(key);
        if (found != dictionary.end()) {
            current = found->second;
            continue;
        }
        codes.push_back(current);
        dictionary.emplace(key, next++);
        current = data[i];
    }
    codes.push_back(current);
    return codes;
}

// The smallest code width that holds every code, at least 8 bits so that the padding at the
// end of the bit stream can never be read as one more code.
int codeWidth(const std::vector<uint32_t>& codes)
{
    uint32_t largest = codes.empty() ? 0 : *std::max_element(codes.begin(), codes.end());
    int width = 8;
    while ((uint64_t{1} << width) <= largest) ++width;
    return width;
}

// The compressed data: the code width, then the codes as one bit stream, most significant
// bit first, the last byte filled up with zero bits.
std::vector<uint8_t> packCodes(const std::vector<uint32_t>& codes, int width)
{
    std::vector<uint8_t> out{static_cast<uint8_t>(width)};
    uint64_t buffer = 0;
    int bits = 0;
    for (uint32_t code : codes) {
        buffer = (buffer << width) | code;
        bits += width;
        while (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>(buffer >> bits));
        }
        buffer &= (uint64_t{1} << bits) - 1;
    }
    if (bits > 0) out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

// Appends `value` as four bytes, most significant first.
void appendBigEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// The whole font file: the 16-byte header and the compressed glyph data (format 102).
std::vector<uint8_t> fontFile(const std::vector<uint8_t>& glyphs)
{
    std::vector<uint8_t> file{16, 'v', 'x', 'f', 'n', 102};
    appendBigEndian32(file, static_cast<uint32_t>(glyphs.size()));
    file.insert(file.end(), {0, 255, cellWidth, cellHeight, 0, 0});  // start, end, cell, reserved
    std::vector<uint32_t> codes = lzwCompress(glyphs);
    std::vector<uint8_t> packed = packCodes(codes, codeWidth(codes));
    file.insert(file.end(), packed.begin(), packed.end());
    return file;
}

// Writes `bytes` to the file at `path`.
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// A PGM picture of the glyphs, 16 codes a row, ink dark on white, cells parted by grey lines.
void writePreview(const std::string& path, const std::vector<uint8_t>& glyphs)
{
    const int pitchX = cellWidth + 1, pitchY = cellHeight + 1;
    const int width = 16 * pitchX + 1, height = 16 * pitchY + 1;
    std::vector<uint8_t> picture(static_cast<size_t>(width * height), 160);
    for (int code = 0; code < glyphCount; ++code)
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x) {
                int px = 1 + (code % 16) * pitchX + x, py = 1 + (code / 16) * pitchY + y;
                uint8_t ink = glyphs[static_cast<size_t>(code * cellBytes + y * cellWidth + x)];
                picture[static_cast<size_t>(py * width + px)] = static_cast<uint8_t>(255 - ink);
            }
    std::string header = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    writeFile(path, bytes);
}

struct Options {
    std::string fontPath;
    std::string outputPath;
    std::string previewPath;
};

// Reads the command line; false when it is not understood.
bool parseArguments(int argc, char** argv, Options& options)
{
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--preview" && i + 1 < argc) options.previewPath = argv[++i];
        else plain.push_back(argument);
    }
    if (plain.size() != 2) return false;
    options.fontPath = plain[0];
    options.outputPath = plain[1];
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::cerr << "usage: fontbuilder <font.ttf> <output.font> [--preview <preview.pgm>]\n";
        return 2;
    }
    try {
        Face font;
        openFace(font, options.fontPath);
        std::vector<uint8_t> glyphs = buildGlyphs(font);
        std::vector<uint8_t> file = fontFile(glyphs);
        writeFile(options.outputPath, file);
        if (!options.previewPath.empty()) writePreview(options.previewPath, glyphs);
        std::cout << options.outputPath << ": " << font.pixelSize << " px, baseline row " << font.baseline
                  << ", " << glyphs.size() << " bytes of glyphs, " << file.size() << " bytes written\n";
    } catch (const std::exception& error) {
        std::cerr << "fontbuilder: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
