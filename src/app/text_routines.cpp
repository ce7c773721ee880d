// 1-based character routines on UTF-8 text. Positions and lengths count characters
// (extended grapheme clusters); anything out of range clips or gives the empty text.
#include "vxtools.h"

#include "app/graphemes.h"

#include <algorithm>
#include <cstdlib>
#include <utf8proc.h>

static constexpr int64_t maximumRepeat = 32767;

static int64_t characterCount(const std::vector<size_t>& bounds)
{
    return static_cast<int64_t>(bounds.size()) - 1;
}

// The characters first...last-1 (0-based, within range) of the text whose bounds are given.
static std::string characters(const std::string& text, const std::vector<size_t>& bounds,
                              int64_t first, int64_t last)
{
    size_t from = bounds[static_cast<size_t>(first)];
    size_t to = bounds[static_cast<size_t>(last)];
    return text.substr(from, to - from);
}

int64_t textlength(const std::string& text)
{
    return characterCount(graphemeBounds(text));
}

std::string midfrom(const std::string& text, int64_t position)
{
    if (position < 2) return text;
    auto bounds = graphemeBounds(text);
    int64_t count = characterCount(bounds);
    if (position > count) return {};
    return characters(text, bounds, position - 1, count);
}

std::string midstring(const std::string& text, int64_t position, int64_t length)
{
    if (length < 1) return {};
    auto bounds = graphemeBounds(text);
    int64_t count = characterCount(bounds);
    if (position < 2) return characters(text, bounds, 0, std::min(length, count));
    if (position > count) return {};
    int64_t first = position - 1;
    return characters(text, bounds, first, first + std::min(length, count - first));
}

std::string charat(const std::string& text, int64_t position)
{
    if (position < 1) return {};
    auto bounds = graphemeBounds(text);
    if (position > characterCount(bounds)) return {};
    return characters(text, bounds, position - 1, position);
}

// The canonical decomposition of `text`; text that is not valid UTF-8 stays as it is.
static std::string decomposed(const std::string& text)
{
    if (std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return text;
    utf8proc_uint8_t* result = nullptr;
    utf8proc_ssize_t length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                           static_cast<utf8proc_ssize_t>(text.size()), &result,
                                           static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_DECOMPOSE));
    if (length < 0) return text;
    std::string out(reinterpret_cast<const char*>(result), static_cast<size_t>(length));
    std::free(result);
    return out;
}

int64_t instring(const std::string& text, const std::string& pattern, int64_t start)
{
    if (pattern.empty()) return 0;
    // Both sides are compared decomposed, so a precomposed "é" and "e" + combining accent
    // find each other; each character is decomposed on its own to keep the count of characters.
    const std::string part = midfrom(text, start);
    const std::vector<size_t> partBounds = graphemeBounds(part);
    std::string haystack;
    std::vector<size_t> bounds{0};
    for (size_t i = 0; i + 1 < partBounds.size(); ++i) {
        haystack += decomposed(part.substr(partBounds[i], partBounds[i + 1] - partBounds[i]));
        bounds.push_back(haystack.size());
    }
    const std::string needle = decomposed(pattern);
    auto isBound = [&bounds](size_t offset) { return std::binary_search(bounds.begin(), bounds.end(), offset); };
    // A byte match counts only when it begins and ends between characters, so "e" is not
    // found inside "e" + combining accent and no match cuts a multi-byte sequence.
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) {
        if (!isBound(at) || !isBound(at + needle.size())) continue;
        auto k = std::lower_bound(bounds.begin(), bounds.end(), at) - bounds.begin();
        return static_cast<int64_t>(k) + std::max<int64_t>(start, 1);
    }
    return 0;
}

int64_t firstcode(const std::string& text)
{
    if (text.empty()) return 0;
    utf8proc_int32_t code = -1;
    utf8proc_ssize_t used = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                             static_cast<utf8proc_ssize_t>(text.size()), &code);
    return used > 0 ? code : 0xFFFD;
}

std::string repeatstring(const std::string& text, int64_t count)
{
    if (count < 1 || count > maximumRepeat || text.empty()) return {};
    std::string result;
    result.reserve(text.size() * static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) result += text;
    return result;
}

std::string spaces(int64_t count)
{
    if (count <= 0 || count > maximumRepeat) return {};
    return std::string(static_cast<size_t>(count), ' ');
}

std::string justify(const std::string& left, const std::string& right, int64_t width)
{
    int64_t used = textlength(left) + textlength(right);
    // width > used keeps width - used from overflowing for any width.
    if (width > used) return left + spaces(width - used) + right;
    return midstring(left + right, 1, width);
}

std::vector<uint8_t> stringtobytes(const std::string& text)
{
    return {text.begin(), text.end()};
}
