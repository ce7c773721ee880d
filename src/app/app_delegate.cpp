#include "app/app_delegate.h"

#include "app/runtime_state.h"
#include "events/menus.h"
#include "events/mouse.h"
#include "platform/log.h"
#include "platform/threads.h"
#include "platform/widgets.h"
#include "windows/window_lookup.h"

AppDelegate& appDelegate()
{
    static auto* delegate = new AppDelegate;  // outlives every thread that reaches it
    return *delegate;
}

QWidget* AppDelegate::viewOutlet(uint8_t number) const
{
    switch (number) {
    case 0: return t_View00;
    case 1: return t_View01;
    case 2: return t_View02;
    case 3: return t_View03;
    case 4: return t_View04;
    case 5: return t_View05;
    case 6: return t_View06;
    case 7: return t_View07;
    default: return nullptr;
    }
}

void AppDelegate::applicationWillFinishLaunching()
{
    logline("applicationWillFinishLaunching: Called.");
    if (threadnumber() == 1) setthreadname("AppDelegate");
}

// The height of the side windows' title chrome: the pasteboard window's height less its
// scroll view's and the 20 points of margin around the scroll view. Without the pasteboard
// window or its scroll view there is nothing to measure and the height stays 0.
int64_t measuresidewindowchrome(const AppDelegate& delegate)
{
    QWidget* window = widgetwindow(delegate.PasteboardScrollView);
    if (window == nullptr) return 0;
    return static_cast<int64_t>(widgetframe(window).height - widgetframe(delegate.PasteboardScrollView).height - 20.0);
}

void AppDelegate::applicationDidFinishLaunching()
{
    logline("applicationDidFinishLaunching: Start.");
    initvxtools();
    sideWindowChromeHeight = measuresidewindowchrome(*this);
    logline(std::string("Program:") + " Start.");
    startprocess(programBody ? programBody : [] {}, programThreadStackSize);
    logline("applicationDidFinishLaunching: End.");
    applicationLaunched = true;
}

void AppDelegate::applicationDidBecomeActive()
{
    applicationActive = true;
}

void AppDelegate::applicationWillResignActive()
{
    applicationActive = false;
}

bool AppDelegate::applicationShouldTerminateAfterLastWindowClosed()
{
    return false;
}

void AppDelegate::applicationWillTerminate()
{
    logline("applicationWillTerminate: Called.");
    terminationHandler();
}

bool AppDelegate::windowShouldClose(QWidget* window)
{
    // A close box only hides its window, so that it can be shown again unchanged.
    t_MouseEventPostCloseBoxClick(windowNumberForWindow(window));
    return false;
}

void AppDelegate::windowWillClose(QWidget*) {}

void AppDelegate::windowDidResize(QWidget* window)
{
    layoutsidewindow(windowNumberForWindow(window));
}

void AppDelegate::MenuHandler(QAction* sender)
{
    t_MenuEventHandler(menuiteminfo(sender));
}

void AppDelegate::ButtonHandler(QObject*) {}

void layoutsidewindow(uint8_t number)
{
    const AppDelegate& d = appDelegate();
    QWidget* window = windowobject(number);
    if (window == nullptr) return;
    t_Rect frame = widgetframe(window);
    double chrome = static_cast<double>(sideWindowChromeHeight.load());
    if (number == 8) {
        setwidgetsize(d.PasteboardScrollView, frame.width - 20, frame.height - 20 - chrome);
        setwidgetorigin(d.PasteboardScrollView, 10, 10);
        return;
    }
    if (number != 9 && number != 10) return;
    QWidget* scrollView = number == 9 ? d.VirtualPrinterScrollView : d.SystemConsoleScrollView;
    QWidget* ruler = number == 9 ? d.VirtualPrinterRuler : d.SystemConsoleRuler;
    setwidgetsize(scrollView, frame.width - 40, frame.height - 40 - chrome - 15);
    setwidgetorigin(scrollView, 20, 20);
    setwidgetsize(ruler, frame.width - 48, 19);
}
