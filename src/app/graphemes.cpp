#include "app/graphemes.h"

#include <utf8proc.h>

std::vector<size_t> graphemeBounds(const std::string& text)
{
    std::vector<size_t> bounds;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const size_t size = text.size();
    utf8proc_int32_t state = 0;
    utf8proc_int32_t previous = -1;  // -1: start of text or after an invalid byte
    size_t pos = 0;
    while (pos < size) {
        utf8proc_int32_t code = -1;
        utf8proc_ssize_t used =
            utf8proc_iterate(bytes + pos, static_cast<utf8proc_ssize_t>(size - pos), &code);
        if (used <= 0) {
            bounds.push_back(pos);
            previous = -1;
            state = 0;
            ++pos;
            continue;
        }
        if (previous < 0 || utf8proc_grapheme_break_stateful(previous, code, &state)) {
            bounds.push_back(pos);
        }
        previous = code;
        pos += static_cast<size_t>(used);
    }
    bounds.push_back(size);
    return bounds;
}

void appendScalar(std::string& text, int64_t code)
{
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0;
    auto c = static_cast<uint32_t>(code);
    if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (c >> 18)));
        text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool validutf8(const std::string& text)
{
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    size_t pos = 0;
    while (pos < text.size()) {
        utf8proc_int32_t code = -1;
        utf8proc_ssize_t used = utf8proc_iterate(bytes + pos, static_cast<utf8proc_ssize_t>(text.size() - pos), &code);
        if (used <= 0) return false;
        pos += static_cast<size_t>(used);
    }
    return true;
}

std::vector<ScalarAt> utf8scalars(const std::string& text)
{
    std::vector<ScalarAt> scalars;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    size_t position = 0;
    while (position < text.size()) {
        utf8proc_int32_t code = -1;
        utf8proc_ssize_t used = utf8proc_iterate(bytes + position, static_cast<utf8proc_ssize_t>(text.size() - position), &code);
        const size_t length = used > 0 ? static_cast<size_t>(used) : 1;
        scalars.push_back({used > 0 ? code : -1, position, length});
        position += length;
    }
    return scalars;
}
