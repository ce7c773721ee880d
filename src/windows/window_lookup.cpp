#include "windows/window_lookup.h"

#include "app/app_delegate.h"
#include "platform/main_thread.h"
#include "platform/widgets.h"
#include "windows/window_table.h"

// The outlets are the delegate's, which the GUI thread owns: they are read there.
QWidget* windowview(uint8_t number)
{
    return mainThreadValue<QWidget*>([number] { return appDelegate().viewOutlet(number); });
}

static QWidget* windowOnMainThread(uint8_t number)
{
    const AppDelegate& d = appDelegate();
    switch (number) {
    case 8: return d.PasteboardWindow;
    case 9: return d.VirtualPrinterWindow;
    case 10: return d.SystemConsoleWindow;
    case 11: return d.PreferencesWindow;
    case 12: return d.MainWindow;
    default: return widgetwindow(d.viewOutlet(number));
    }
}

QWidget* windowobject(uint8_t number)
{
    return mainThreadValue<QWidget*>([number] { return windowOnMainThread(number); });
}

static uint8_t numberOnMainThread(QWidget* window)
{
    if (window == nullptr) return noWindow;
    const AppDelegate& d = appDelegate();
    const std::pair<QWidget*, uint8_t> named[] = {
        {d.VirtualPrinterWindow, 9}, {d.SystemConsoleWindow, 10}, {d.PasteboardWindow, 8},
        {d.PreferencesWindow, 11},   {d.MainWindow, 12},
    };
    for (const auto& [outlet, number] : named)
        if (outlet != nullptr && outlet == window) return number;
    for (uint8_t n = 0; n <= 7; ++n) {
        QWidget* holder = widgetwindow(d.viewOutlet(n));
        if (holder != nullptr && holder == window) return n;
    }
    return noWindow;
}

uint8_t windowNumberForWindow(QWidget* window)
{
    return mainThreadValue<uint8_t>([window] { return numberOnMainThread(window); });
}

QWidget* windowtextview(uint8_t number)
{
    return mainThreadValue<QWidget*>([number]() -> QWidget* {
        const AppDelegate& d = appDelegate();
        switch (number) {
        case 8: return d.PasteboardTextView;
        case 9: return d.VirtualPrinterTextView;
        case 10: return d.SystemConsoleTextView;
        default: return nullptr;
        }
    });
}

uint8_t mainwindownumber()
{
    return mainThreadValue<uint8_t>([] { return numberOnMainThread(frontmostwindow()); });
}

uint8_t windowtoshowagain()
{
    uint8_t window = windowNumberForWindow(lastactivatedwindow());
    if (window == noWindow) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        window = graphicwindowexists(0) && windowTable[0].Initialized ? 0 : 12;
    }
    return window;
}
