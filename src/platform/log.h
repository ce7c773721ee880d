// The one writer for standard output. Every log line of the runtime goes through it; each
// call is one write, flushed at once, so lines of several threads never mix.
#pragma once

#include <string>

// Writes `line` and a line feed.
void logline(const std::string& line);
// Writes `text` as it is, without a line feed.
void logtext(const std::string& text);
