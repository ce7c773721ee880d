// The runtime's alarm.
#pragma once

#include <cstdint>
#include <functional>

struct Sound;

// Sounds the runtime's beep: the sound "sysbeep.aif" of the bundle's resources, loaded on
// first use. A beep requested while the previous one still sounds is dropped. Without the
// sound, or without an audio device, the system beep sounds instead. Any thread may call
// it; it never waits for the sound.
void playBeep();

// What a call of playBeep did.
enum class BeepOutcome { none, played, dropped, fellBack };
// The outcome of the latest call of playBeep, of whichever thread.
BeepOutcome lastBeepOutcome();
// How many times playBeep has started its sound.
uint64_t beepPlaybacks();

// What plays the beep's sound: it starts the sound and returns true, calling `finished`
// once (on any thread) when the sound has ended, or returns false at once when it cannot
// play it. By default the sound goes to the default audio device; an empty player restores
// that.
using BeepPlayer = std::function<bool(const Sound& sound, std::function<void()> finished)>;
void setBeepPlayer(BeepPlayer player);
