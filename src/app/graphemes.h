// Character segmentation of UTF-8 text. A character is an extended grapheme cluster; a byte
// that does not begin a valid UTF-8 sequence is a character of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The byte offset where each character of `text` starts, followed by text.size(). The
// empty text gives {0}; the number of characters is always the result's size minus one.
std::vector<size_t> graphemeBounds(const std::string& text);

// Appends the UTF-8 encoding of `code`. A surrogate or a value outside 0...0x10FFFF
// appends the character U+0000 instead.
void appendScalar(std::string& text, int64_t code);

// Whether `text` is valid UTF-8 throughout.
bool validutf8(const std::string& text);

// One Unicode scalar of UTF-8 text: its value (-1 for a byte that begins no valid sequence,
// which stands alone), and where its bytes are.
struct ScalarAt {
    int64_t code;
    size_t start;
    size_t length;
};
// The scalars of `text`, in order.
std::vector<ScalarAt> utf8scalars(const std::string& text);
