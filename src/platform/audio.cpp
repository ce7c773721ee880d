#include "platform/audio.h"

#include "platform/threads.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <array>
#include <cerrno>
#include <mutex>
#include <utility>

namespace {

// No sound file of the runtime comes near this: ten minutes of stereo at 48 kHz.
constexpr size_t maximumSamples = size_t{10} * 60 * 48000 * 2;

void quietalsaerror(const char*, int, const char*, int, const char*, ...) {}

void silencealsa()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietalsaerror); });
}

// Writes every frame of `sound` to `pcm`; an underrun is recovered from, any other error
// ends the playback early.
void writeframes(snd_pcm_t* pcm, const Sound& sound)
{
    const size_t channels = static_cast<size_t>(sound.channels);
    const snd_pcm_uframes_t total = sound.frames();
    snd_pcm_uframes_t done = 0;
    while (done < total) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, sound.samples.data() + done * channels, total - done);
        if (written < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) return;
            continue;
        }
        done += static_cast<snd_pcm_uframes_t>(written);
    }
    snd_pcm_drain(pcm);
}

}  // namespace

Sound loadsound(const std::string& path)
{
    Sound sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return sound;
    if (info.channels > 0 && info.channels <= 16 && info.samplerate > 0) {
        std::array<int16_t, 4096> chunk{};
        const sf_count_t chunkFrames = static_cast<sf_count_t>(chunk.size()) / info.channels;
        for (;;) {
            const sf_count_t read = sf_readf_short(file, chunk.data(), chunkFrames);
            if (read <= 0) break;
            sound.samples.insert(sound.samples.end(), chunk.begin(), chunk.begin() + read * info.channels);
            if (sound.samples.size() > maximumSamples) {
                sound.samples.clear();
                break;
            }
        }
        sound.channels = info.channels;
        sound.sampleRate = info.samplerate;
    }
    sf_close(file);
    if (sound.samples.empty()) return Sound{};
    return sound;
}

bool playsound(const Sound& sound, std::function<void()> finished, const std::string& device)
{
    if (sound.empty() || sound.channels <= 0 || sound.sampleRate <= 0) return false;
    silencealsa();
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    // Set up for the sound, then let the playback thread wait for the device as it writes.
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(sound.channels), static_cast<unsigned>(sound.sampleRate),
                           1, 100000) < 0 ||
        snd_pcm_nonblock(pcm, 0) < 0) {
        snd_pcm_close(pcm);
        return false;
    }
    const bool started = startthread(
        [pcm, sound, finished = std::move(finished)] {
            setthreadname("t_Beep");
            writeframes(pcm, sound);
            snd_pcm_close(pcm);
            if (finished) finished();
        },
        512 * 1024);
    if (!started) snd_pcm_close(pcm);
    return started;
}
