// The clipboard: text and the pictures of graphic windows. Every routine runs on the GUI thread.
#pragma once

#include <cstdint>
#include <string>

// The clipboard's text, "" when it holds none.
std::string clipboardtext();
// Clears the clipboard and puts `text` on it.
void setclipboardtext(const std::string& text);
// Clears the clipboard and puts the picture of graphic window `window` on it; false when the
// window has no picture.
bool copywindowpicture(uint8_t window);
