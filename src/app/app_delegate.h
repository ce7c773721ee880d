// The application delegate: the outlets of the interface file and the methods the
// application shell calls at launch, on activation, on window events and at termination.
#pragma once

#include "vxtools.h"

#include <functional>
#include <string>

class QAction;
class QObject;
class QWidget;

// The stack of the program thread: 1 GiB.
constexpr int64_t programThreadStackSize = 1073741824;

struct AppDelegate {
    // Outlets, null until the interface file connects them. t_View00 ... t_View07 hold the
    // views of classes View00 ... View07, the text views are QPlainTextEdits and the
    // rulers QLineEdits.
    QWidget* t_View00 = nullptr;
    QWidget* t_View01 = nullptr;
    QWidget* t_View02 = nullptr;
    QWidget* t_View03 = nullptr;
    QWidget* t_View04 = nullptr;
    QWidget* t_View05 = nullptr;
    QWidget* t_View06 = nullptr;
    QWidget* t_View07 = nullptr;
    QWidget* VirtualPrinterWindow = nullptr;
    QWidget* VirtualPrinterScrollView = nullptr;
    QWidget* VirtualPrinterTextView = nullptr;
    QWidget* VirtualPrinterRuler = nullptr;
    QWidget* SystemConsoleWindow = nullptr;
    QWidget* SystemConsoleScrollView = nullptr;
    QWidget* SystemConsoleTextView = nullptr;
    QWidget* SystemConsoleRuler = nullptr;
    QWidget* PasteboardWindow = nullptr;
    QWidget* PasteboardScrollView = nullptr;
    QWidget* PasteboardTextView = nullptr;
    QWidget* MainWindow = nullptr;
    QWidget* PreferencesWindow = nullptr;

    // The program body the launch starts on the program thread.
    std::function<void()> programBody;

    // The view outlet of graphic window `number` (0 ... 7); null for any other number.
    QWidget* viewOutlet(uint8_t number) const;

    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    void applicationWillResignActive();
    bool applicationShouldTerminateAfterLastWindowClosed();
    void applicationWillTerminate();
    bool windowShouldClose(QWidget* window);
    void windowWillClose(QWidget* window);
    void windowDidResize(QWidget* window);
    void MenuHandler(QAction* sender);
    void ButtonHandler(QObject* sender);
};

// The application's delegate, created on first use and kept for the life of the process.
AppDelegate& appDelegate();

// Loads the interface file at `path` for the delegate: its outlets are connected by object
// name (a missing one stays null), its graphic views are the runtime's, and window and menu
// events go to the delegate. Returns false when the file cannot be loaded.
bool loadinterface(const std::string& path, AppDelegate& delegate);

// The height of the side windows' title chrome, measured on the pasteboard window.
int64_t measuresidewindowchrome(const AppDelegate& delegate);

// Lays out the scroll view and ruler of side window `number` (8, 9 or 10) for its frame.
void layoutsidewindow(uint8_t number);
