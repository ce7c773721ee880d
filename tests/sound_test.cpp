// The beep: its sound file, beeps dropped while one sounds, and the quiet fallback.
#include "events/sound.h"
#include "platform/audio.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

TEST(Sound, BeepsWhileOneSoundsAreDropped)
{
    std::mutex lock;
    std::vector<std::function<void()>> sounding;  // playbacks held open until finished here
    size_t frames = 0;
    setBeepPlayer([&](const Sound& sound, std::function<void()> finished) {
        std::lock_guard<std::mutex> guard(lock);
        frames = sound.frames();
        sounding.push_back(std::move(finished));
        return true;
    });
    const uint64_t before = beepPlaybacks();
    std::vector<std::thread> callers;
    for (int i = 0; i < 3; ++i) callers.emplace_back(playBeep);
    for (std::thread& caller : callers) caller.join();
    ASSERT_EQ(std::tuple(beepPlaybacks(), sounding.size(), frames > 0), std::tuple(before + 1, 1u, true));  // the bundle's sound
    playBeep();
    EXPECT_EQ(lastBeepOutcome(), BeepOutcome::dropped);

    sounding.front()();  // the sound has ended: the next beep sounds again
    playBeep();
    EXPECT_EQ(std::tuple(lastBeepOutcome(), beepPlaybacks()), std::tuple(BeepOutcome::played, before + 2));
    sounding.back()();
    setBeepPlayer(nullptr);
}

// The beep file decodes and others give no sound; devices play or refuse quietly. Last here:
// a real device would be sounding the beep for a while after it.
TEST(Sound, BeepFileAndDevices)
{
    const Sound beep = loadsound(VX_RESOURCE_DIR "/sysbeep.aif");
    ASSERT_EQ(std::tuple(beep.empty(), beep.channels, beep.sampleRate), std::tuple(false, 1, 44100));
    EXPECT_TRUE(loadsound(VX_RESOURCE_DIR "/no such sound.aif").empty() && loadsound(VX_RESOURCE_DIR "/Calvotrimex.ui").empty());
    EXPECT_FALSE(playsound(Sound{}, [] { ADD_FAILURE() << "nothing was played"; }));
    testing::internal::CaptureStderr();
    const bool playedOnMissingCard = playsound(beep, [] {}, "hw:97,0");
    std::atomic<bool> finished{false};  // ALSA's "null" device takes the sound as a card would
    const bool playedOnNull = playsound(beep, [&finished] { finished = true; }, "null");
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (playedOnNull && !finished && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
    setBeepPlayer([](const Sound&, std::function<void()>) { return false; });
    playBeep();
    const BeepOutcome refused = lastBeepOutcome();
    setBeepPlayer(nullptr);
    playBeep();  // the default device: sounds, or falls back where there is none (CI)
    const BeepOutcome onDefault = lastBeepOutcome();
    QCoreApplication::processEvents();  // the queued system beeps
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(!playedOnMissingCard && playedOnNull && finished);
    EXPECT_TRUE(refused == BeepOutcome::fellBack && (onDefault == BeepOutcome::played || onDefault == BeepOutcome::fellBack));
}
