// The LZW expansion with a bound on its output, for data that may be hostile.
#pragma once

#include "vxtools.h"

#include <optional>

// lzwexpand of `codes`, or nothing when the expansion would hold more than `limit` bytes.
// Invalid codes give the empty byte string, as with lzwexpand.
std::optional<std::vector<uint8_t>> lzwexpandwithin(const std::vector<int64_t>& codes, size_t limit);
