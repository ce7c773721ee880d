// vx_soak: hours of use of the runtime in one program.
//
// For a given time the program thread does what long-running programs do, in an order drawn
// from a seeded random generator: it creates windows 0 ... 7 again in any order, depth and
// size (graphic only or with a text screen), prints random text with control codes and
// escapes, scrolls, clears, tabs, draws headers and rules, narrows the text area, switches
// fonts, display modes and output redirection, reads the screen back, switches auto-update,
// moves, sizes, hides and shows windows and the side windows, puts text into the virtual
// printer and the system console, and sends key presses, clicks and menu choices through the
// GUI thread (copying the picture and the text among them) while it takes the events from
// their queues. The GUI thread meanwhile builds pictures for the auto-update.
//
// Every interval it lays the windows out the same way and writes one line "vx_soak: sample"
// with the resident memory, open descriptors and threads. It checks all along that the pool's
// bookkeeping holds, that a printed marker reads back, and that every event sent arrives once.
// At the end it compares the last sample with the first after the warm-up and writes
// "vx_soak: passed" or "vx_soak: FAILED ..."; a failure also ends it with status 1.
//
// Options (before Qt's and the runtime's own):
//   --soak-seconds N   run time (default 60)      --soak-interval N  seconds between samples (10)
//   --soak-warmup N    seconds before the baseline sample (15)   --soak-seed N  (1)
//   --soak-runtime-log FILE   where the runtime's log (standard output) goes, /dev/null for none
//   --soak-skip LETTERS   leaves kinds of operation out of the random turns, to narrow down a
//                         fault: p placement, s side windows, k keys, c clicks, u menus
#include "platform/main_thread.h"
#include "platform/threads.h"
#include "platform/worker_pool.h"
#include "windows/window_lookup.h"
#include "vxtools.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QVariant>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

struct Options {
    double seconds = 60, interval = 10, warmup = 15;
    uint64_t seed = 1;
    std::string skip;  // kinds of operation left out of the random turns
};
Options options;

using Clock = std::chrono::steady_clock;
const Clock::time_point started = Clock::now();

double elapsed()
{
    return std::chrono::duration<double>(Clock::now() - started).count();
}

void report(const char* format, ...) __attribute__((format(printf, 1, 2)));
void report(const char* format, ...)
{
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "vx_soak: %7.1f s %s\n", elapsed(), line);
}

int failures = 0;

void fail(const char* what, const std::string& detail)
{
    if (++failures <= 20) report("CHECK-FAIL %s: %s", what, detail.c_str());
}

// ---- random choices ------------------------------------------------------------------

std::mt19937_64 rng;

int64_t uniform(int64_t low, int64_t high)
{
    return std::uniform_int_distribution<int64_t>(low, high)(rng);
}

bool chance(double p)
{
    return std::uniform_real_distribution<double>(0, 1)(rng) < p;
}

// Text with printable ASCII, Latin-1 and wider characters, stray bytes, control codes and
// escape sequences (colours, tabs, the border, and escapes without a parameter).
std::string randomText(int64_t longest)
{
    static const char* const wide[] = {"\u20AC", "\u2014", "\U0001F600", "e\u0301", "\u4E2D", "\uFFFD"};
    static const char controls[] = {8, 10, 11, 12, 13, 13, 14, 15, 17, 18, 19, 20, 22, 23, 25, 26, 28, 29, 30, 31};
    std::string text;
    for (int64_t i = 0, n = uniform(1, longest); i < n; ++i) {
        const int64_t r = uniform(0, 99);
        if (r < 62) {
            text.push_back(static_cast<char>(uniform(32, 126)));
        } else if (r < 70) {
            const auto c = static_cast<unsigned>(uniform(0xA0, 0xFF));
            text += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (r < 73) {
            text += wide[uniform(0, 5)];
        } else if (r < 85) {
            text.push_back(controls[uniform(0, sizeof controls - 1)]);
        } else if (r < 97) {
            static const char parameters[] = "@ADHOPZ_efijkx}g!";
            text += {27, parameters[uniform(0, sizeof parameters - 2)]};
        } else if (r < 98) {
            text.push_back(static_cast<char>(uniform(0x80, 0xFF)));  // not UTF-8
        } else {
            text.push_back(7);  // the bell
        }
    }
    return text;
}

// ---- the GUI thread ------------------------------------------------------------------

std::map<int64_t, QPointer<QAction>> menuItems;

void findMenuItems()
{
    runOnMainThread([] {
        for (QWidget* top : QApplication::topLevelWidgets())
            for (QAction* action : top->findChildren<QAction*>()) {
                const QVariant tag = action->property("tag");
                if (tag.isValid() && tag.toLongLong() != 0) menuItems[tag.toLongLong()] = action;
            }
    });
}

// ---- what the soak counts ----------------------------------------------------------

struct Counts {
    uint64_t operations = 0, creations = 0, markers = 0;
    uint64_t keysSent = 0, keysTaken = 0, clicksSent = 0, clicksTaken = 0, menusSent = 0, menusTaken = 0;
};
Counts counts;
std::atomic<uint64_t> handlerCalls{0};

// ---- the pool --------------------------------------------------------------------------

// The windows' blocks account for every byte taken from the pool and do not overlap.
void checkPool(const char* after)
{
    std::vector<std::pair<int64_t, int64_t>> blocks;
    int64_t used = 0;
    for (const t_Window& w : windowTable) {
        if (!w.Initialized || w.MemoryStart < 0) continue;
        blocks.emplace_back(w.MemoryStart, w.MemoryEnd);
        if (w.TextMemoryStart >= 0) blocks.emplace_back(w.TextMemoryStart, w.TextMemoryEnd);
    }
    std::sort(blocks.begin(), blocks.end());
    const int64_t high = highMemory;
    for (size_t i = 0; i < blocks.size(); ++i) {
        used += blocks[i].second - blocks[i].first + 1;
        if (blocks[i].first <= high || blocks[i].second > memoryTop || (i > 0 && blocks[i].first <= blocks[i - 1].second))
            return fail("pool", std::string("a block out of place after ") + after);
    }
    if (used != memoryTop - high) fail("pool", std::string("bytes taken and held differ after ") + after);
}

// ---- windows -------------------------------------------------------------------------

const char* const fontNames[] = {"MenloBold 16x32.font", "MenloRegular 16x32.font"};
t_Font fonts[2];

bool hasText(uint8_t n)
{
    return windowTable[n].Initialized && windowTable[n].TextMemoryStart >= 0;
}

// Bytes free for window `n` once its own blocks are given back, less room for rounding.
int64_t budgetFor(uint8_t n)
{
    const t_Window& w = windowTable[n];
    int64_t own = 0;
    if (w.Initialized && w.MemoryStart >= 0) {
        own = w.MemoryEnd - w.MemoryStart + 1;
        if (w.TextMemoryStart >= 0) own += w.TextMemoryEnd - w.TextMemoryStart + 1;
    }
    return highMemory + own - memoryReserved - 4096;
}

void createWindow(uint8_t n)
{
    static const int64_t depths[] = {1, 4, 8, 16, 24, 32};
    const int64_t depth = depths[uniform(0, 5)];
    const int64_t budget = budgetFor(n);
    ++counts.creations;
    if (chance(0.02)) {
        t_InitWindow(n, chance(0.5) ? 2 : 64, 10, 5, 4, fontNames[0]);  // refused: no such depth
    } else if (chance(0.5)) {
        int64_t columns = uniform(2, 80), lines = uniform(1, 25);
        while (columns * lines * (512 * depth / 8 + 2) > budget && (columns > 2 || lines > 1)) {
            columns = std::max<int64_t>(2, columns / 2);
            lines = std::max<int64_t>(1, lines / 2);
        }
        t_InitWindow(n, depth, columns, lines, uniform(0, 20), fontNames[uniform(0, 1)]);
        if (!hasText(n) || windowTable[n].TextWidth != columns || windowTable[n].TextHeight != lines)
            fail("creation", "text window #" + std::to_string(n) + " was not made");
    } else {
        const int64_t font = uniform(0, 2);  // 2: no text screen
        int64_t width = uniform(32, 1280) / 8 * 8, height = uniform(32, 800);
        while ((width * height * depth / 8 + (width / 16) * (height / 32) * 2) > budget && (width > 32 || height > 32)) {
            width = std::max<int64_t>(32, width / 2 / 8 * 8);
            height = std::max<int64_t>(32, height / 2);
        }
        t_InitWindow(n, depth, chance(0.5), width, height, uniform(-1, 30), uniform(-1, 30),
                     font < 2 ? fonts[font] : t_Font{}, chance(0.8));
        if (!windowTable[n].Initialized) fail("creation", "graphic window #" + std::to_string(n) + " was not made");
    }
    checkPool("a creation");
    if (windowTable[n].Initialized && chance(0.8)) t_WindowVisible(n, true);
}

// Narrows the text area by writing the record, as a program may. The table holds the records
// of windows 0 ... 7 only: for the side windows and numbers of no window there is nothing to
// write (writing past the table's end once overwrote other blocks of the heap).
void narrowArea(uint8_t n)
{
    if (n >= windowTable.size()) return;
    t_Window& w = windowTable[n];
    if (w.TextWidth < 1 || w.TextHeight < 1) return;
    w.TextFirstColumn = uniform(1, w.TextWidth);
    w.TextLastColumn = uniform(w.TextFirstColumn, w.TextWidth);
    w.TextFirstLine = uniform(1, w.TextHeight);
    w.TextLastLine = uniform(w.TextFirstLine, w.TextHeight);
    w.TextHpos = w.TextFirstColumn;
    w.TextVpos = w.TextFirstLine;
}

constexpr int64_t textOperations = 30, placementOperations = 11, sideOperations = 5;

void textOperation(uint8_t n, int64_t choice)
{
    switch (choice) {
    case 0: t_PrintTab(n, uniform(-3, 120), static_cast<uint8_t>(uniform(32, 255))); break;
    case 1: t_Htab(n, uniform(-2, 90)); break;
    case 2: t_Cr(n); break;
    case 3: chance(0.5) ? t_CursorHome(n) : t_CursorEnd(n); break;
    case 4:
        for (int64_t i = uniform(1, 20); i > 0; --i) {
            const int64_t move = uniform(0, 3);
            move == 0 ? t_CursorRight(n) : move == 1 ? t_CursorLeft(n) : move == 2 ? t_CursorDown(n) : t_CursorUp(n);
        }
        break;
    case 5: for (int64_t i = uniform(1, 5); i > 0; --i) t_ScrollUp(n); break;
    case 6: for (int64_t i = uniform(1, 5); i > 0; --i) t_ScrollDown(n); break;
    case 7: chance(0.5) ? t_ClearEndOfLine(n) : t_ClearEndOfWindow(n); break;
    case 8: t_Header(n, randomText(20), randomText(12)); break;
    case 9: t_TextLine(n); break;
    case 10: t_TextHline(n, uniform(-2, 40), uniform(0, 90), uniform(0, 26), static_cast<uint8_t>(uniform(0, 255))); break;
    case 11:
        t_PrintSymbol(n, static_cast<uint8_t>(uniform(0, 255)), static_cast<uint8_t>(uniform(0, 255)), uniform(0, 82),
                      uniform(0, 27));
        break;
    case 12: for (int64_t i = uniform(1, 30); i > 0; --i) t_PrintChar(n, static_cast<uint8_t>(uniform(0, 255))); break;
    case 13: t_DisplayMode(n, uniform(0, 4)); break;
    case 14: chance(0.5) ? t_Reverse(n) : t_Color(n, uniform(0, 15)); break;
    case 15: t_FullArea(n); break;
    case 16: (void)t_GetScreen(n, chance(0.5) ? "\r" : ""); break;
    case 17:
        t_RedirectOutput(n, 0);
        t_Print(n, randomText(30));
        t_RedirectOutput(n, 1);
        break;
    case 18: t_WindowFont(n, fonts[uniform(0, 1)]); break;
    case 19: t_Print(n, randomText(1000)); break;
    case 20: t_PrintControl(n, static_cast<uint8_t>(uniform(0, 31))); break;
    case 21: narrowArea(n); break;
    default: t_Print(n, randomText(80) + "\r"); break;
    }
}

// Prints a marker at the top left of the whole screen and reads it back.
void checkMarker(uint8_t n)
{
    const t_Window& w = windowTable[n];
    if (!hasText(n) || w.TextWidth < 12 || w.Font.Width != 16 || w.Font.Height != 32) return;
    const std::string marker = "#" + std::to_string(++counts.markers) + "#";
    t_RedirectOutput(n, 1);
    t_DisplayMode(n, 0);
    t_FullArea(n);
    t_CursorHome(n);
    t_Print(n, "\x1a" + marker);  // to column 1, clear the line, then the marker
    const std::string screen = t_GetScreen(n, "");
    if (screen.compare(0, marker.size(), marker) != 0)
        fail("marker", "window #" + std::to_string(n) + " shows \"" + screen.substr(0, 12) + "\"");
}

void placementOperation(uint8_t n, int64_t choice)
{
    switch (choice) {
    case 0: t_WindowSize(n, uniform(0, 1200), uniform(0, 800), chance(0.2) ? -1 : uniform(32, 1200), chance(0.2) ? -1 : uniform(32, 800)); break;
    case 1: t_WindowVisible(n, chance(0.7)); break;
    case 2: t_WindowAutoUpdate(n, chance(0.6)); break;
    case 3: t_WindowUpdate(n, chance(0.5)); break;
    case 4: t_WindowCenter(n); break;
    case 5: t_WindowFront(n); break;
    case 6: t_WindowTitle(n, "Soak " + randomText(8)); break;
    case 7: t_WindowTitleVisible(n, chance(0.8)); break;
    case 8: t_ColorBorder(n, uniform(0, 20)); break;
    default: for (int64_t code = 0; code <= 20; ++code) (void)t_WindowPos(n, code); break;
    }
}

void sideOperation(int64_t choice)
{
    const auto n = static_cast<uint8_t>(uniform(8, 10));
    switch (choice) {
    case 0:
    case 1: {
        QWidget* view = windowtextview(static_cast<uint8_t>(uniform(9, 10)));
        const QString line = QString::fromUtf8(randomText(60)).remove(QRegularExpression("[\\x00-\\x1f]"));
        runOnMainThread([view, line] {
            if (auto* text = qobject_cast<QPlainTextEdit*>(view)) text->appendPlainText(line);
        });
        break;
    }
    case 2: t_WindowVisible(n, chance(0.6)); break;
    case 3: t_WindowSize(n, uniform(0, 1000), uniform(0, 700), uniform(100, 800), uniform(100, 600)); break;
    default: t_WindowTitle(n, "Seite " + randomText(8)); break;
    }
}

// ---- events ------------------------------------------------------------------------

// Key presses into the view of a created window: every key chosen makes one key event.
void sendKeys(uint8_t n)
{
    QWidget* view = windowview(n);
    if (view == nullptr || !windowTable[n].Initialized) return;
    static const std::pair<int, const char*> keys[] = {{Qt::Key_A, "a"}, {Qt::Key_Z, "z"}, {Qt::Key_5, "5"},
                                                       {Qt::Key_Space, " "}, {Qt::Key_Return, "\r"}, {Qt::Key_Period, "."}};
    std::vector<std::pair<int, const char*>> chosen;
    for (int64_t i = uniform(1, 6); i > 0; --i) chosen.push_back(keys[uniform(0, 5)]);
    runOnMainThread([view, chosen] {
        for (const auto& [key, text] : chosen) {
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text));
            QCoreApplication::sendEvent(view, &down);
            QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromUtf8(text));
            QCoreApplication::sendEvent(view, &up);
        }
    });
    counts.keysSent += chosen.size();
}

void sendClicks(uint8_t n)
{
    QWidget* view = windowview(n);
    if (view == nullptr || !windowTable[n].Initialized) return;
    const QPointF point(double(uniform(0, 500)), double(uniform(0, 300)));
    const Qt::MouseButton button = chance(0.8) ? Qt::LeftButton : Qt::RightButton;
    runOnMainThread([view, point, button] {
        QMouseEvent down(QEvent::MouseButtonPress, point, view->mapToGlobal(point), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, point, view->mapToGlobal(point), button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &up);
    });
    ++counts.clicksSent;
}

// Menu items that need nobody to answer: no panels and no quitting. 300 has no built-in action
// and goes to the program's handler; 110 and 111 copy the front window's picture and text.
const int64_t menuTags[] = {300, 300, 110, 111, 111, 112, 113, 114, 201, 205, 206, 209, 210, 211, 212,
                            213, 214, 215, 217, 219, 221, 223, 225, 227, 229, 230};

void chooseMenu(int64_t tag)
{
    QPointer<QAction> item = menuItems[tag];
    if (item.isNull()) return;
    runOnMainThread([item] {
        if (item) item->trigger();
    });
    ++counts.menusSent;
}

void takeEvents()
{
    while (t_NextKeyEvent() >= 0) ++counts.keysTaken;
    counts.clicksTaken += takemouseevents().size();
    counts.menusTaken += takemenuevents().size();
}

void checkEvents()
{
    takeEvents();
    if (counts.keysTaken != counts.keysSent || counts.clicksTaken != counts.clicksSent ||
        counts.menusTaken != counts.menusSent)
        fail("events", "keys " + std::to_string(counts.keysTaken) + "/" + std::to_string(counts.keysSent) +
                           ", clicks " + std::to_string(counts.clicksTaken) + "/" + std::to_string(counts.clicksSent) +
                           ", menus " + std::to_string(counts.menusTaken) + "/" + std::to_string(counts.menusSent));
    counts.keysTaken = counts.keysSent = counts.clicksTaken = counts.clicksSent = counts.menusTaken = counts.menusSent = 0;
}

// ---- samples -------------------------------------------------------------------------

struct Figures {
    double time = 0;
    long rssKb = 0;
    int descriptors = 0, eventDescriptors = 0, threads = 0;
};

// The entries of `folder`; with `linkTarget`, only its links that point there.
int entries(const char* folder, const char* linkTarget = nullptr)
{
    DIR* dir = opendir(folder);
    if (dir == nullptr) return -1;
    int count = 0;
    char target[64];
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (linkTarget != nullptr) {
            const std::string path = std::string(folder) + "/" + entry->d_name;
            const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
            if (length <= 0 || std::string(target, static_cast<size_t>(length)) != linkTarget) continue;
        }
        ++count;
    }
    closedir(dir);
    return count;
}

Figures figures()
{
    Figures f;
    f.time = elapsed();
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    f.rssKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
    f.descriptors = entries("/proc/self/fd") - 1;  // less the folder's own
    // Each thread with a Qt event loop holds an event descriptor, so these come and go with the
    // threads of Qt's own pool, which paints with as many as there are CPUs.
    f.eventDescriptors = entries("/proc/self/fd", "anon_inode:[eventfd]");
    f.threads = entries("/proc/self/task");
    return f;
}

// The same layout every time, so that samples compare: windows 0 ... 7 small first (so the
// fixed ones always fit), then each 20 x 4 cells at a depth of its own, shown, auto-updated
// and checked; the side windows shown at a fixed size.
void fixedLayout()
{
    static const int64_t depths[8] = {24, 32, 8, 16, 4, 1, 24, 8};
    for (uint8_t n = 0; n < 8; ++n) t_InitWindow(n, 1, false, 32, 32, 0, 0, t_Font{}, true);
    for (uint8_t n = 0; n < 8; ++n) {
        t_InitWindow(n, depths[n], 20, 4, 6, fontNames[n % 2]);
        if (!hasText(n)) {
            fail("layout", "window #" + std::to_string(n) + " was not made");
            continue;
        }
        t_WindowSize(n, 30 + 50 * n, 30 + 40 * n, 320, 128);
        t_WindowVisible(n, true);
        t_WindowAutoUpdate(n, true);
        t_Header(n, "Fenster " + std::to_string(n), "Probe");
        checkMarker(n);
    }
    checkPool("the fixed layout");
    for (uint8_t n = 8; n <= 10; ++n) {
        t_WindowSize(n, 700, 60 + 160 * (n - 8), 400, 200);
        t_WindowVisible(n, true);
    }
    for (int64_t tag : {112, 114}) {  // empty the printer and the console
        QPointer<QAction> item = menuItems[tag];
        runOnMainThread([item] {
            if (item) item->trigger();
        });
        ++counts.menusSent;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // pictures and events settle
    runOnMainThread([] {});
    checkEvents();
}

std::vector<Figures> samples;

void sample()
{
    fixedLayout();
    const Figures f = figures();
    samples.push_back(f);
    report("sample rss_kb=%ld fds=%d event_fds=%d threads=%d operations=%llu creations=%llu markers=%llu handler_calls=%llu",
           f.rssKb, f.descriptors, f.eventDescriptors, f.threads, static_cast<unsigned long long>(counts.operations),
           static_cast<unsigned long long>(counts.creations), static_cast<unsigned long long>(counts.markers),
           static_cast<unsigned long long>(handlerCalls.load()));
}

// Flat after the warm-up: the same descriptors, threads within the pool's coming and going,
// resident memory within a margin for what the allocator keeps.
void judge()
{
    const auto base = std::find_if(samples.begin(), samples.end(), [](const Figures& f) { return f.time >= options.warmup; });
    if (base == samples.end() || base == samples.end() - 1) return fail("samples", "none after the warm-up to compare");
    const Figures& last = samples.back();
    const long rssGrowthKb = last.rssKb - base->rssKb;
    report("from %.0f s to %.0f s: rss %+ld kB, fds %+d, threads %+d", base->time, last.time, rssGrowthKb,
           last.descriptors - base->descriptors, last.threads - base->threads);
    // Event descriptors and threads may differ by what the two pools (the runtime's and Qt's,
    // each as wide as the CPUs) have started or retired meanwhile; other descriptors may not.
    const int pools = 2 * static_cast<int>(processcpucount());
    if (last.descriptors - last.eventDescriptors > base->descriptors - base->eventDescriptors)
        fail("descriptors", "more than after the warm-up");
    if (last.eventDescriptors > base->eventDescriptors + pools) fail("descriptors", "event descriptors beyond the pools");
    if (last.threads > base->threads + 2 + pools) fail("threads", "more than after the warm-up and the pools' width");
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // their shadow and quarantine grow on their own
    if (rssGrowthKb > 64 * 1024) fail("memory", "resident memory grew by more than 64 MB");
#endif
#if defined(__SANITIZE_ADDRESS__)
    if (__lsan_do_recoverable_leak_check() != 0) fail("leaks", "LeakSanitizer found leaks (standard error)");
#endif
}

// ---- the program ---------------------------------------------------------------------

// Whether a random turn may do operations of `kind` (a letter of --soak-skip).
bool wanted(char kind)
{
    return options.skip.find(kind) == std::string::npos;
}

void iteration()
{
    ++counts.operations;
    if (chance(0.3))
        for (int64_t i = uniform(1, 2); i > 0; --i) createWindow(static_cast<uint8_t>(uniform(0, 7)));
    std::vector<uint8_t> text;
    for (uint8_t n = 0; n < 8; ++n)
        if (hasText(n)) text.push_back(n);
    if (!text.empty()) {
        const uint8_t n = text[static_cast<size_t>(uniform(0, static_cast<int64_t>(text.size()) - 1))];
        for (int64_t i = uniform(3, 10); i > 0; --i) textOperation(n, uniform(0, textOperations - 1));
        if (chance(0.2)) checkMarker(n);
    }
    if (chance(0.01)) textOperation(static_cast<uint8_t>(uniform(0, 12)), uniform(0, textOperations - 1));  // refused windows
    if (chance(0.3) && wanted('p')) placementOperation(static_cast<uint8_t>(uniform(0, 7)), uniform(0, placementOperations - 1));
    if (chance(0.15) && wanted('s')) sideOperation(uniform(0, sideOperations - 1));
    if (chance(0.3) && wanted('k')) sendKeys(static_cast<uint8_t>(uniform(0, 7)));
    if (chance(0.15) && wanted('c')) sendClicks(static_cast<uint8_t>(uniform(0, 7)));
    if (chance(0.03) && wanted('u')) chooseMenu(menuTags[uniform(0, static_cast<int64_t>(std::size(menuTags)) - 1)]);
    takeEvents();
}

// Every kind of operation once, the bell and the refusals included, so that what a program
// keeps for good once it has done a thing (the audio device, fonts, clipboard, threads of the
// pool) is there before the first sample that counts, however few turns a slow build makes.
void everyOperationOnce()
{
    for (uint8_t n = 0; n < 8; ++n) {
        for (int64_t choice = 0; choice < textOperations; ++choice) textOperation(n, choice);
        for (int64_t choice = 0; choice < placementOperations; ++choice) placementOperation(n, choice);
        sendKeys(n);
        sendClicks(n);
    }
    for (uint8_t n = 8; n <= 12; ++n)  // the side windows and numbers of no window
        for (int64_t choice = 0; choice < textOperations; ++choice) textOperation(n, choice);
    for (int64_t choice = 0; choice < sideOperations; ++choice) sideOperation(choice);
    for (int64_t tag : menuTags) chooseMenu(tag);
    t_Print(0, "\a");
    takeEvents();
}

void soak()
{
    report("start seconds=%.0f interval=%.0f warmup=%.0f seed=%llu", options.seconds, options.interval, options.warmup,
           static_cast<unsigned long long>(options.seed));
    programMouseHandler = [] { ++handlerCalls; };
    programMenuHandler = [] { ++handlerCalls; };
    frontWindowActionHandler = [] { ++handlerCalls; };
    for (int i = 0; i < 2; ++i) fonts[i] = t_LoadFontResource(fontNames[i]);
    findMenuItems();
    fixedLayout();
    everyOperationOnce();
    double nextSample = 0;
    while (elapsed() < options.seconds) {
        if (elapsed() >= nextSample) {
            sample();
            nextSample = elapsed() + options.interval;
        }
        iteration();
    }
    sample();
    judge();
    if (failures == 0) return report("passed");
    report("FAILED with %d failed checks", failures);
    runOnMainThreadAsync([] { QCoreApplication::exit(1); });
}

// Sends standard output, the runtime's log, to `path`.
void logTo(const std::string& path)
{
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return std::perror(path.c_str());
    dup2(file, STDOUT_FILENO);
    close(file);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string option = argv[i];
        if (i > 0 && i + 1 < argc && option.rfind("--soak-", 0) == 0) {
            const std::string value = argv[++i];
            if (option == "--soak-seconds") options.seconds = std::stod(value);
            else if (option == "--soak-interval") options.interval = std::stod(value);
            else if (option == "--soak-warmup") options.warmup = std::stod(value);
            else if (option == "--soak-seed") options.seed = std::stoull(value);
            else if (option == "--soak-runtime-log") logTo(value);
            else if (option == "--soak-skip") options.skip = value;
            continue;
        }
        rest.push_back(argv[i]);
    }
    rng.seed(options.seed);
    rest.push_back(nullptr);
    return runprogram(static_cast<int>(rest.size()) - 1, rest.data(), soak);
}
