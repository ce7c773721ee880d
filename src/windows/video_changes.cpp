#include "windows/video_changes.h"

#include "windows/window_update.h"

#include <array>
#include <atomic>

namespace {

// Each counter on a cache line of its own: the program thread writes one for every glyph.
struct alignas(64) Counter {
    std::atomic<uint64_t> value{0};
};

std::array<Counter, 8> changes;
std::array<Counter, 8> pictured;
std::atomic<bool> wakeOnChange{false};

}  // namespace

void notevideochange(uint8_t window)
{
    if (window > 7) return;
    // Sequentially consistent on both sides: either this change is seen by the auto-update
    // process's last look before it waits, or the process's wish to be woken is seen here.
    changes[window].value.fetch_add(1);
    if (wakeOnChange.load()) autoupdatewake();
}

uint64_t videochanges(uint8_t window)
{
    return window > 7 ? 0 : changes[window].value.load();
}

uint64_t picturedchanges(uint8_t window)
{
    return window > 7 ? 0 : pictured[window].value.load();
}

void notepictured(uint8_t window, uint64_t count)
{
    if (window <= 7) pictured[window].value.store(count);
}

bool videochanged(uint8_t window)
{
    return videochanges(window) != picturedchanges(window);
}

void wakeonvideochange(bool wake)
{
    wakeOnChange.store(wake);
}
