// beepmaker: makes the runtime's beep, the sound file sysbeep.aif.
//
//   beepmaker <output.aif>
//
// The recipe:
//   length       0.15 s at 44 100 Hz, one channel, 16-bit PCM in an AIFF file (6615 frames)
//   tone         an 880 Hz sine with a soft second partial (1760 Hz at 0.15 of its amplitude)
//   attack       4 ms, rising as a half cosine from silence to the peak
//   decay        exponential after the attack, time constant 40 ms
//   release      the last 10 ms fade to exact silence as a half cosine, so the end does not click
//   level        peak 0.5 of full scale (-6 dBFS); samples are rounded to the nearest integer
// The output depends on nothing else, so remaking the file gives the same bytes.

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr int frameCount = 6615;  // 0.15 s
constexpr double frequency = 880.0;
constexpr double secondPartial = 0.15;
constexpr double attackSeconds = 0.004;
constexpr double decaySeconds = 0.040;
constexpr double releaseSeconds = 0.010;
constexpr double peak = 0.5;

// The loudness at `t` seconds: attack, exponential decay, release; 0 ... 1.
double envelope(double t)
{
    constexpr double length = static_cast<double>(frameCount) / sampleRate;
    const double pi = std::numbers::pi;
    double level = t < attackSeconds ? 0.5 - 0.5 * std::cos(pi * t / attackSeconds)
                                     : std::exp(-(t - attackSeconds) / decaySeconds);
    const double left = length - t;
    if (left < releaseSeconds) level *= left <= 0 ? 0.0 : 0.5 - 0.5 * std::cos(pi * left / releaseSeconds);
    return level;
}

std::vector<int16_t> beepSamples()
{
    std::vector<int16_t> samples(frameCount);
    const double omega = 2 * std::numbers::pi * frequency;
    const double norm = 1.0 / (1.0 + secondPartial);
    for (int i = 0; i < frameCount; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double tone = (std::sin(omega * t) + secondPartial * std::sin(2 * omega * t)) * norm;
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(peak * envelope(t) * tone * 32767.0));
    }
    return samples;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: beepmaker <output.aif>\n");
        return 2;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "beepmaker: cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }
    const std::vector<int16_t> samples = beepSamples();
    const sf_count_t written = sf_writef_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    const int closed = sf_close(file);
    if (written != static_cast<sf_count_t>(samples.size()) || closed != 0) {
        std::fprintf(stderr, "beepmaker: writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
