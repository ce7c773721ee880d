// Font resources: reading font files of the bundle and giving a window its font.
//
// The routines t_LoadFontResource, expandfont, getbinaryfromfile and t_WindowFont are
// declared in vxtools.h. A font file is a header followed by glyph data:
//
//   offset 0      header size (offset of the glyph data; bytes 16 ... header size - 1 skipped)
//   offset 1..4   identifier "vxfn"
//   offset 5      format: 2 grey glyphs, 0 other pixels, 102 / 100 the same LZW-compressed
//   offset 6..9   size, big-endian (kept, not interpreted)
//   offset 10, 11 first and last character code drawn
//   offset 12, 13 cell width and height in pixels
//   offset 14..15 reserved, big-endian (0 when the file is shorter than 16 bytes)
//
// Compressed data: byte 0 is the code width w, the rest one MSB-first stream of w-bit LZW
// codes (see unpackbits and lzwexpand).
//
// getbinaryfromfile reports a file it cannot read with one line, the system's message
// directly after the "#": e.g. "getbinaryfromfile: Error #No such file or directory".
// An empty file is read successfully and gives no line.
#pragma once

#include "vxtools.h"

// The font in the bytes of a font file, expanded: checks the header size and the identifier
// (printing the t_LoadFontResource line when one is wrong and returning the empty font with
// what was read so far), fills the record and expands it. Never reads past the end of
// `bytes`; a file shorter than the 14 bytes of the fields up to the cell height counts as
// one with an invalid header size. No bytes at all give the empty font without a line
// (t_LoadFontResource reports that case itself).
t_Font fontfrombytes(const std::vector<uint8_t>& bytes);
