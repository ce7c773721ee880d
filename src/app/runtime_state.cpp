#include "app/runtime_state.h"

#include "platform/log.h"

#include <cstdlib>
#include <ctime>

std::atomic<bool> applicationLaunched{false};
std::atomic<bool> applicationActive{false};
std::atomic<bool> vxtoolsInitialized{false};
std::atomic<uint8_t> t_FirstWindow{255};
std::atomic<int64_t> sideWindowChromeHeight{0};
ClosureSlot terminationHandler;

std::array<uint8_t, 256> upperCaseTable{};
std::array<uint8_t, 256> lowerCaseTable{};
std::array<uint8_t, 16> hexDigits{};
std::array<int64_t, 256> hexValues{};

ClosureSlot& ClosureSlot::operator=(std::function<void()> closure)
{
    std::lock_guard<std::mutex> guard(lock_);
    closure_ = std::move(closure);
    return *this;
}

void ClosureSlot::operator()() const
{
    std::function<void()> closure;
    {
        std::lock_guard<std::mutex> guard(lock_);
        closure = closure_;
    }
    if (closure) closure();
}

static bool inRange(int b, int low, int high) { return b >= low && b <= high; }

static void buildCaseTables()
{
    for (int b = 0; b < 256; ++b) {
        bool small = inRange(b, 97, 122) || inRange(b, 224, 228) || inRange(b, 231, 246) ||
                     inRange(b, 249, 252);
        bool capital = inRange(b, 65, 90) || inRange(b, 192, 196) || inRange(b, 199, 214) ||
                       inRange(b, 217, 220);
        upperCaseTable[b] = static_cast<uint8_t>(small ? b - 32 : b);
        lowerCaseTable[b] = static_cast<uint8_t>(capital ? b + 32 : b);
    }
}

static void buildHexTables()
{
    hexValues.fill(-1);
    for (int d = 0; d < 16; ++d) {
        uint8_t digit = static_cast<uint8_t>(d <= 9 ? '0' + d : 'A' + (d - 10));
        hexDigits[d] = digit;
        hexValues[upperCaseTable[digit]] = d;
        hexValues[lowerCaseTable[digit]] = d;
    }
}

void initvxtools()
{
    logline("initvxtools: Start.");
    buildCaseTables();
    buildHexTables();
    srandom(static_cast<unsigned>(time(nullptr) & 0x7FFFFFFF));
    vxtoolsInitialized = true;
    logline("initvxtools: End.");
}
