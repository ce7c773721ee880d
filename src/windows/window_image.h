// Turning a graphic window's video memory into picture pixels.
#pragma once

#include "vxtools.h"

#include <cstddef>
#include <cstdint>

// Converts the graphic memory of record `w` into `w.Height` rows of `w.Width` opaque pixels
// 0xffRRGGBB, one pass in row order; row r starts at out + r * wordsPerRow. Returns false
// and writes nothing when the record's memory does not lie inside the pool or its depth is
// not one of 1, 4, 8, 16, 24, 32.
bool convertpicture(const t_Window& w, uint32_t* out, size_t wordsPerRow);
