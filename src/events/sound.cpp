#include "events/sound.h"

#include "platform/audio.h"
#include "platform/bundle.h"
#include "platform/main_thread.h"
#include "platform/widgets.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace {

std::atomic<bool> playing{false};
std::atomic<BeepOutcome> lastOutcome{BeepOutcome::none};
std::atomic<uint64_t> playbacks{0};

std::mutex playerLock;
BeepPlayer player;  // empty: the default audio device

// The beep's sound, loaded once; empty when the bundle has none.
const Sound& beepSound()
{
    static const Sound sound = loadsound(resourcespath() + "sysbeep.aif");
    return sound;
}

bool startplayback(const Sound& sound, std::function<void()> finished)
{
    BeepPlayer chosen;
    {
        std::lock_guard<std::mutex> guard(playerLock);
        chosen = player;
    }
    if (chosen) return chosen(sound, std::move(finished));
    return playsound(sound, std::move(finished));
}

void fallback()
{
    lastOutcome = BeepOutcome::fellBack;
    runOnMainThreadAsync(systembeep);
}

}  // namespace

void playBeep()
{
    const Sound& sound = beepSound();
    if (sound.empty()) {
        fallback();
        return;
    }
    // The flag is set before the playback starts and cleared when it has ended, so a beep
    // that comes in between finds it set.
    if (playing.exchange(true)) {
        lastOutcome = BeepOutcome::dropped;
        return;
    }
    if (!startplayback(sound, [] { playing = false; })) {
        playing = false;
        fallback();
        return;
    }
    ++playbacks;
    lastOutcome = BeepOutcome::played;
}

BeepOutcome lastBeepOutcome()
{
    return lastOutcome;
}

uint64_t beepPlaybacks()
{
    return playbacks;
}

void setBeepPlayer(BeepPlayer newPlayer)
{
    std::lock_guard<std::mutex> guard(playerLock);
    player = std::move(newPlayer);
}
