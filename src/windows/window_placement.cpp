#include "windows/window_placement.h"

#include "app/app_delegate.h"
#include "app/checked_arithmetic.h"
#include "events/sound.h"
#include "platform/log.h"
#include "platform/clipboard.h"
#include "platform/main_thread.h"
#include "platform/widgets.h"
#include "windows/window_lookup.h"
#include "windows/window_table.h"
#include "windows/window_update.h"

#include <cctype>

namespace {

// The window of `window`, or null after printing "<routine>: Window does not exist.".
QWidget* existingWindow(uint8_t window, const char* routine)
{
    QWidget* object = windowobject(window);
    if (object == nullptr) logline(std::string(routine) + ": Window does not exist.");
    return object;
}

// A copy of graphic window `window`'s record, taken under the record lock.
t_Window recordOf(uint8_t window)
{
    std::lock_guard<std::mutex> guard(windowRecordLock);
    return windowTable[window];
}

bool initializedGraphic(uint8_t window)
{
    if (!graphicwindowexists(window)) return false;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    return windowTable[window].Initialized;
}

int64_t chrome()
{
    return sideWindowChromeHeight.load();
}

// 2 × n, held at the largest or smallest Int: borders may be any number.
int64_t doubled(int64_t n)
{
    return saturatedproduct(2, n);
}

// Answers of the codes that read the frame and the screen.
int64_t frameCode(QWidget* object, int64_t code, int64_t frameHeight)
{
    return mainThreadValue<int64_t>([object, code, frameHeight]() -> int64_t {
        t_Rect frame = widgetframe(object);
        t_Rect screen = screenframe(object);
        switch (code) {
        case 13: return static_cast<int64_t>(frame.x);
        case 14: return saturateddifference(static_cast<int64_t>(screen.height - frame.y), frameHeight);
        case 15: return static_cast<int64_t>(screen.width);
        case 16: return static_cast<int64_t>(screen.height);
        default: return static_cast<int64_t>(frame.y);
        }
    });
}

int64_t graphicCode(const t_Window& w, int64_t code, int64_t width, int64_t height)
{
    switch (code) {
    case 0: return w.TextFirstColumn;
    case 1: return w.TextFirstLine;
    case 2: return w.TextLastColumn;
    case 3: return w.TextLastLine;
    case 4: return w.TextLastColumn - w.TextFirstColumn + 1;
    case 5: return w.TextLastLine - w.TextFirstLine + 1;
    case 6: return w.TextWidth;
    case 7: return w.TextHeight;
    case 8: return w.Width;
    case 9: return w.Height;
    case 10: return width;
    case 11: return saturateddifference(height, w.TitleHeight);
    case 12: return height;
    case 18: return w.BorderWidth;
    case 19: return w.BorderHeight;
    default: return 0;
    }
}

int64_t otherCode(bool sideWindow, int64_t code, int64_t width, int64_t height)
{
    switch (code) {
    case 2: return sideWindow ? width - 1 : 0;
    case 3: return sideWindow ? height - 1 : 0;
    case 4:
    case 6: return sideWindow ? width : 0;
    case 5:
    case 7: return sideWindow ? height : 0;
    case 8:
    case 10: return width;
    case 9:
    case 11: return height - chrome();
    case 12: return height;
    default: return 0;
    }
}

QWidget* scrollViewOf(uint8_t window)
{
    const AppDelegate& d = appDelegate();
    switch (window) {
    case 8: return d.PasteboardScrollView;
    case 9: return d.VirtualPrinterScrollView;
    case 10: return d.SystemConsoleScrollView;
    default: return nullptr;
    }
}

void sizeGraphicWindow(uint8_t window, QWidget* object, int64_t x, int64_t y, int64_t width, int64_t height)
{
    if (!initializedGraphic(window)) {
        logline("t_WindowSize: Window #" + std::to_string(window) + " not initialized.");
        return;
    }
    t_Window w = recordOf(window);
    runOnMainThread([&] {
        // A window too large for the screen shows its picture smaller, in the same proportions.
        const double borders = 2.0 * double(w.BorderWidth), title = double(w.TitleHeight) + 2.0 * double(w.BorderHeight);
        const double scale = screenfitscale(object, borders, title, double(width), double(height));
        const int64_t viewWidth = scale < 1 ? int64_t(double(width) * scale) : width;
        const int64_t viewHeight = scale < 1 ? int64_t(double(height) * scale) : height;
        setwindowframe(object, t_Rect{double(x), double(y), double(viewWidth) + borders, double(viewHeight) + title}, true);
        placeview(w.View, w.BorderWidth, w.BorderHeight, viewWidth, viewHeight);
    });
}

// Sizes side window 8 ... 12; the scroll view of 8 ... 10 keeps its size on a side whose
// argument, as passed, is not above 0.
void sizeSideWindow(uint8_t window, QWidget* object, int64_t x, int64_t y, int64_t width, int64_t height,
                    int64_t widthPassed, int64_t heightPassed)
{
    runOnMainThread([&] {
        if (window <= 10 && iswindowvisible(object)) showwindow(object, false);
        // The scroll view's frame before the window's resize lays it out again.
        QWidget* scrollView = scrollViewOf(window);
        const t_Rect box = widgetframe(scrollView);
        setwindowframe(object, t_Rect{double(x), double(y), double(width), double(height) + double(chrome())});
        applyhiddenresize(object);  // hidden or shown, that layout comes now, before the sizes below
        if (scrollView == nullptr) return;
        double fullWidth = widthPassed > 0 ? double(widthPassed) : box.width + 40;
        double fullHeight = heightPassed > 0 ? double(heightPassed) : box.height + 77;
        setwidgetsize(scrollView, fullWidth - 40, fullHeight - 77);
        setwidgetorigin(scrollView, box.x, box.y);
    });
}

// The side window's text view, or null after the line "t_WindowVisible: <name> window is
// nil, resource undefined." and the alarm.
QWidget* sideTextView(uint8_t window)
{
    QWidget* textView = windowtextview(window);
    if (textView != nullptr) return textView;
    const char* name = window == 8 ? "Pasteboard" : window == 9 ? "Virtual printer" : "System console";
    logline(std::string("t_WindowVisible: ") + name + " window is nil, resource undefined.");
    playBeep();
    return nullptr;
}

}  // namespace

int64_t t_WindowPos(uint8_t window, int64_t code)
{
    QWidget* object = existingWindow(window, "t_WindowPos");
    if (object == nullptr) return 0;
    bool graphic = graphicwindowexists(window);
    t_Window record = graphic ? recordOf(window) : t_Window{};
    int64_t width, height;
    if (graphic) {
        width = saturatedsum(record.Width, doubled(record.BorderWidth));
        height = saturatedsum(saturatedsum(record.Height, doubled(record.BorderHeight)), record.TitleHeight);
    } else {
        t_Rect frame = mainThreadValue<t_Rect>([object] { return widgetframe(object); });
        width = static_cast<int64_t>(frame.width);
        height = static_cast<int64_t>(frame.height);
    }
    if (code == 13 || code == 14 || code == 15 || code == 16 || code == 20)
        return frameCode(object, code, height);
    if (graphic) return graphicCode(record, code, width, height);
    return otherCode(window >= 8, code, width, height);
}

void t_WindowSize(uint8_t window, int64_t x, int64_t y, int64_t width, int64_t height)
{
    QWidget* object = existingWindow(window, "t_WindowSize");
    if (object == nullptr) return;
    const int64_t widthPassed = width, heightPassed = height;
    if (x == -1) x = t_WindowPos(window, 13);
    if (y == -1) y = t_WindowPos(window, 20);
    if (width == -1) width = t_WindowPos(window, 8);
    if (height == -1) height = t_WindowPos(window, 9);
    if (window <= 7)
        sizeGraphicWindow(window, object, x, y, width, height);
    else
        sizeSideWindow(window, object, x, y, width, height, widthPassed, heightPassed);
}

void t_WindowTitle(uint8_t window, const std::string& title)
{
    QWidget* object = existingWindow(window, "t_WindowTitle");
    if (object == nullptr) return;
    if (isMainThread())
        setwindowtitle(object, title);
    else
        runOnMainThreadAsync([object, title] { setwindowtitle(object, title); });
}

void t_WindowTitleVisible(uint8_t window, bool visible)
{
    QWidget* object = existingWindow(window, "t_WindowTitleVisible");
    if (object == nullptr) return;
    if (graphicwindowexists(window)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        windowTable[window].TitleHeight = visible ? chrome() : 0;
    }
    runOnMainThread([object, visible] { setwindowtitlevisible(object, visible); });
}

void t_WindowCenter(uint8_t window)
{
    QWidget* object = existingWindow(window, "t_WindowCenter");
    if (object != nullptr) runOnMainThread([object] { centerwindow(object); });
}

void t_WindowFront(uint8_t window)
{
    QWidget* object = existingWindow(window, "t_WindowFront");
    if (object == nullptr) return;
    t_WindowVisible(window, true);
    runOnMainThread([object] { showwindow(object, true); });
}

void t_WindowVisible(uint8_t window, bool visible)
{
    QWidget* object = existingWindow(window, "t_WindowVisible");
    if (object == nullptr) return;
    if (window >= 8 && window <= 10) {
        QWidget* textView = sideTextView(window);
        if (textView == nullptr) return;
        runOnMainThread([=] {
            if (!visible) return hidewindow(object);
            if (window == 8) settextviewtext(textView, clipboardtext());
            showwindow(object, false);
            markneedsdisplay(textView);
        });
        return;
    }
    runOnMainThread([object, visible] { visible ? showwindow(object, false) : hidewindow(object); });
    if (graphicwindowexists(window)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        windowTable[window].Visible = visible;
        if (!visible) windowTable[window].UpdateDuration = 0;
    }
    autoupdatewake();
}

void t_ColorBorder(uint8_t window, int64_t colour)
{
    if (window > 7) {
        logline("t_ColorBorder: Window is not a graphic window.");
        return;
    }
    if (!initializedGraphic(window)) {
        logline("t_ColorBorder: Window #" + std::to_string(window) + " not initialized.");
        return;
    }
    t_RGBColor c = palettecolor(colour % 16);
    QWidget* object;
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        windowTable[window].RGBColorBorder = c;
        object = windowTable[window].Window;
    }
    runOnMainThread([object, c] { setwindowbackground(object, c); });
}

std::string windowtitlefrombundle(const std::string& bundleFolder, bool hasTextScreen)
{
    size_t slash = bundleFolder.rfind('/');
    std::string name = slash == std::string::npos ? bundleFolder : bundleFolder.substr(slash + 1);
    std::string ending = name.size() > 4 ? name.substr(name.size() - 4) : name;
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending != ".app") return name;
    name.erase(name.size() - ending.size());  // not resize: GCC 12 warns of a copy it never makes
    return hasTextScreen ? name : name + "-Grafik";
}
