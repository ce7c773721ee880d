// Sound files and their playback on the default audio device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A decoded sound: 16-bit samples, the channels of a frame one after the other.
struct Sound {
    std::vector<int16_t> samples;
    int channels = 0;
    int sampleRate = 0;

    bool empty() const { return samples.empty(); }
    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Reads the sound file at `path`. A missing or unreadable file, or one without any frames,
// gives the empty sound.
Sound loadsound(const std::string& path);

// Plays `sound` on the audio device `device` on a thread of its own ("t_Beep") and calls
// `finished` there once it has been played out. Opening the device does not wait for a busy
// one, so this returns at once: false, without calling `finished`, when the sound is empty,
// the device cannot be opened or set up for the sound, or the thread cannot start. ALSA's
// own complaints about a missing device are kept off standard error.
bool playsound(const Sound& sound, std::function<void()> finished, const std::string& device = "default");
