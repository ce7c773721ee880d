// Dead keys and compose sequences: a key that follows a dead key (or the Compose key and
// its sequence) types the composed character, from the compose tables of the user's locale
// as the desktop uses them. Every routine here runs on the GUI thread.
#pragma once

#include <cstdint>
#include <string>

enum class ComposeStep {
    none,       // the key is not part of a sequence
    composing,  // the key starts or continues a sequence (a dead key)
    composed,   // the key ends a sequence: `text` is the composed character
    cancelled,  // the key does not fit the sequence, which is dropped; the key types as usual
};

struct ComposeResult {
    ComposeStep step = ComposeStep::none;
    std::string text;
};

// Feeds the keysym of a key-down into the pending sequence.
ComposeResult composekey(uint32_t keysym);
