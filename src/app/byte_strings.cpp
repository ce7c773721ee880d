// Byte strings of the runtime: its escape encoding, hexadecimal digits, splitting and
// joining, bit unpacking and the LZW expansion of compressed font data.
#include "vxtools.h"

#include "app/byte_strings.h"
#include "app/graphemes.h"
#include "app/runtime_state.h"

#include <algorithm>
#include <utf8proc.h>

static constexpr uint8_t escapeByte = 27;
static constexpr uint8_t groupSeparator = 29;
static constexpr size_t escapeLength = 6;  // ESC, four hexadecimal digits, GS

// The character of ESC h1 h2 h3 h4 GS starting at `at`: U+FFFD when a digit is not
// hexadecimal, U+0000 for a surrogate.
static int64_t escapedCharacter(const std::vector<uint8_t>& bytes, size_t at)
{
    int64_t code = 0;
    for (size_t i = 1; i <= 4; ++i) {
        int64_t digit = hexValues[bytes[at + i]];
        if (digit < 0) return 0xFFFD;
        code = code * 16 + digit;
    }
    return code;
}

std::string bytestostring(const std::vector<uint8_t>& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        bool escaped = bytes[i] == escapeByte && bytes.size() - i >= escapeLength &&
                       bytes[i + escapeLength - 1] == groupSeparator;
        if (escaped) {
            appendScalar(text, escapedCharacter(bytes, i));
            i += escapeLength;
        } else {
            appendScalar(text, bytes[i]);
            ++i;
        }
    }
    return text;
}

std::vector<uint8_t> hexbytes(uint32_t value)
{
    std::vector<uint8_t> digits(8);
    for (int i = 7; i >= 0; --i) {
        digits[static_cast<size_t>(i)] = hexDigits[value & 0xF];
        value >>= 4;
    }
    return digits;
}

static bool isValidUtf8(const std::vector<uint8_t>& bytes)
{
    size_t pos = 0;
    while (pos < bytes.size()) {
        utf8proc_int32_t code = -1;
        utf8proc_ssize_t used = utf8proc_iterate(bytes.data() + pos,
                                                 static_cast<utf8proc_ssize_t>(bytes.size() - pos), &code);
        if (used <= 0) return false;
        pos += static_cast<size_t>(used);
    }
    return true;
}

std::string hexstring(uint32_t value)
{
    auto bytes = hexbytes(value);
    if (isValidUtf8(bytes)) return {bytes.begin(), bytes.end()};
    return bytestostring(bytes);
}

uint32_t bigendian32(const std::vector<uint8_t>& bytes, int64_t offset)
{
    if (offset < 0 || bytes.size() < 4 || static_cast<uint64_t>(offset) > bytes.size() - 4) return 0;
    auto at = static_cast<size_t>(offset);
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
           (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
}

std::vector<std::vector<uint8_t>> splitbytes(const std::vector<uint8_t>& bytes, uint8_t separator)
{
    std::vector<std::vector<uint8_t>> pieces;
    auto start = bytes.begin();
    for (auto at = bytes.begin(); at != bytes.end(); ++at) {
        if (*at != separator) continue;
        pieces.emplace_back(start, at);
        start = at + 1;
    }
    if (start != bytes.end()) pieces.emplace_back(start, bytes.end());
    return pieces;
}

std::vector<uint8_t> joinbytes(const std::vector<std::vector<uint8_t>>& pieces, uint8_t separator)
{
    std::vector<uint8_t> joined;
    if (pieces.empty()) return joined;
    size_t total = pieces.size() - 1;
    for (const auto& piece : pieces) total += piece.size();
    joined.reserve(total);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined.push_back(separator);
        joined.insert(joined.end(), pieces[i].begin(), pieces[i].end());
    }
    return joined;
}

std::vector<int64_t> unpackbits(const std::vector<uint8_t>& bytes, int64_t width)
{
    std::vector<int64_t> codes;
    if (width < 1 || width > 62) return codes;
    codes.reserve(bytes.size() * 8 / static_cast<size_t>(width));
    int64_t code = 0;
    int64_t filled = 0;
    for (uint8_t byte : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            code = (code << 1) | ((byte >> bit) & 1);
            if (++filled == width) {
                codes.push_back(code);
                code = 0;
                filled = 0;
            }
        }
    }
    return codes;
}

namespace {

// One dictionary string, kept as the code of the string without its last byte.
struct LzwEntry {
    int64_t prefix;   // -1 for the one-byte strings
    uint64_t length;
    uint8_t first;
    uint8_t last;
};

// Appends the string of `code` to `out` by walking its prefix chain backwards.
void appendEntry(const std::vector<LzwEntry>& dictionary, int64_t code, std::vector<uint8_t>& out)
{
    size_t end = out.size() + dictionary[static_cast<size_t>(code)].length;
    out.resize(end);
    for (size_t at = end; code >= 0; code = dictionary[static_cast<size_t>(code)].prefix) {
        out[--at] = dictionary[static_cast<size_t>(code)].last;
    }
}

}  // namespace

std::optional<std::vector<uint8_t>> lzwexpandwithin(const std::vector<int64_t>& codes, size_t limit)
{
    std::vector<uint8_t> out;
    if (codes.empty() || codes[0] < 0) return out;
    if (limit < 1) return std::nullopt;
    std::vector<LzwEntry> dictionary;
    dictionary.reserve(256 + codes.size());
    for (int b = 0; b < 256; ++b) {
        auto byte = static_cast<uint8_t>(b);
        dictionary.push_back({-1, 1, byte, byte});
    }
    int64_t previous = codes[0] % 256;
    out.push_back(static_cast<uint8_t>(previous));
    for (size_t i = 1; i < codes.size(); ++i) {
        int64_t code = codes[i];
        auto next = static_cast<int64_t>(dictionary.size());  // 256 + i - 1
        if (code < 0 || code > next) return std::vector<uint8_t>{};
        // For code == next the new string is previous + previous's first byte, which is
        // also the string of code itself.
        LzwEntry source = dictionary[static_cast<size_t>(code < next ? code : previous)];
        LzwEntry before = dictionary[static_cast<size_t>(previous)];
        dictionary.push_back({previous, before.length + 1, before.first, source.first});
        if (dictionary[static_cast<size_t>(code)].length > limit - out.size()) return std::nullopt;
        appendEntry(dictionary, code, out);
        previous = code;
    }
    return out;
}

std::vector<uint8_t> lzwexpand(const std::vector<int64_t>& codes)
{
    return *lzwexpandwithin(codes, SIZE_MAX);
}

int64_t comparetext(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool Text::operator==(const Text& other) const
{
    return comparetext(Elements, other.Elements) == 0;
}

// FNV-1a over the element count (eight bytes, low byte first) and then every element.
size_t std::hash<Text>::operator()(const Text& text) const noexcept
{
    constexpr uint64_t offsetBasis = 14695981039346656037ull;
    constexpr uint64_t prime = 1099511628211ull;
    uint64_t hash = offsetBasis;
    auto feed = [&hash](uint8_t byte) { hash = (hash ^ byte) * prime; };
    uint64_t count = text.Elements.size();
    for (int i = 0; i < 8; ++i) feed(static_cast<uint8_t>(count >> (8 * i)));
    for (uint8_t byte : text.Elements) feed(byte);
    return static_cast<size_t>(hash);
}
