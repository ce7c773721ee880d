#include "text/font_resources.h"

#include "app/byte_strings.h"
#include "platform/bundle.h"
#include "platform/log.h"
#include "windows/window_table.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// The fixed fields up to and including the cell height; the reserved field is optional.
constexpr size_t minimumHeader = 14;
constexpr size_t fullHeader = 16;

// Prints the getbinaryfromfile line for the system error `error`: its message follows the "#".
void reportReadError(int error)
{
    logline("getbinaryfromfile: Error #" + std::generic_category().message(error));
}

// Reads everything from the open file `fd` into `bytes`; false with errno set on failure.
bool readAll(int fd, std::vector<uint8_t>& bytes)
{
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    uint8_t chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

// The most glyph data a font can use: 256 codes of cells up to 255 x 255 pixels.
constexpr size_t largestGlyphData = 256 * 255 * 255;

// The expansion of compressed data (code width, then the codes); nothing, after one line,
// when it would exceed what a font can use.
std::vector<uint8_t> expandedData(const std::vector<uint8_t>& data)
{
    const auto refuse = [] {
        logline("expandfont: Compressed font data expand to more than " + std::to_string(largestGlyphData) + " bytes.");
        return std::vector<uint8_t>{};
    };
    const int64_t width = data[0];
    // Every code gives at least one byte: too many codes are refused before they are cut.
    if (width >= 1 && (data.size() - 1) * 8 / static_cast<size_t>(width) > largestGlyphData) return refuse();
    std::vector<uint8_t> stream(data.begin() + 1, data.end());
    std::optional<std::vector<uint8_t>> expanded = lzwexpandwithin(unpackbits(stream, width), largestGlyphData);
    return expanded ? std::move(*expanded) : refuse();
}

}  // namespace

const std::vector<uint8_t>& fontIdentifier()
{
    static const std::vector<uint8_t> identifier{0x76, 0x78, 0x66, 0x6E};  // "vxfn"
    return identifier;
}

std::vector<uint8_t> getbinaryfromfile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reportReadError(errno);
        return {};
    }
    std::vector<uint8_t> bytes;
    bool complete = readAll(fd, bytes);
    int error = errno;
    ::close(fd);
    if (!complete) {
        reportReadError(error);
        return {};
    }
    return bytes;
}

t_Font fontfrombytes(const std::vector<uint8_t>& bytes)
{
    t_Font font;
    if (bytes.empty()) return font;
    font.HeaderSize = bytes[0];
    if (bytes.size() < static_cast<size_t>(font.HeaderSize) || bytes.size() < minimumHeader) {
        logline("t_LoadFontResource: Invalid header size");
        return font;
    }
    std::vector<uint8_t> identifier(bytes.begin() + 1, bytes.begin() + 5);
    if (identifier != fontIdentifier()) {
        logline("t_LoadFontResource: Invalid file type");
        font.Identifier = identifier;
        return font;
    }
    font.Identifier = identifier;
    font.Format = bytes[5];
    font.Size = bigendian32(bytes, 6);
    font.Start = bytes[10];
    font.End = bytes[11];
    font.Width = bytes[12];
    font.Height = bytes[13];
    font.Reserved = bytes.size() >= fullHeader ? bytes[14] * 256 + bytes[15] : 0;
    font.Data.assign(bytes.begin() + font.HeaderSize, bytes.end());
    return expandfont(std::move(font));
}

t_Font t_LoadFontResource(const std::string& name)
{
    std::vector<uint8_t> bytes = getbinaryfromfile(resourcespath() + name);
    if (bytes.empty()) {
        logline("t_LoadFontResource: Could not load file \u201E" + name + "\u201C");
        return t_Font{};
    }
    return fontfrombytes(bytes);
}

t_Font expandfont(t_Font font)
{
    if (font.Format != 100 && font.Format != 102) return font;
    if (!font.Data.empty()) font.Data = expandedData(font.Data);
    font.Format = font.Format == 102 ? 2 : 0;
    return font;
}

void t_WindowFont(uint8_t window, const t_Font& font)
{
    if (window > 7) {
        logline("t_WindowFont: Window is not a graphic window.");
        return;
    }
    if (!graphicwindowexists(window) || !windowTable[window].Initialized) {
        logline("t_WindowFont: Window #" + std::to_string(window) + " not initialized.");
        return;
    }
    std::lock_guard<std::mutex> guard(windowRecordLock);  // others may be copying the record
    windowTable[window].Font = font;
}
