// The application shell: the Qt application, the interface file, the delegate and the
// launch, around a program body that runs on a thread of its own.
#include "app/app_delegate.h"
#include "app/program_thread.h"
#include "platform/bundle.h"
#include "platform/german_qt_texts.h"
#include "platform/interface_file.h"
#include "platform/leak_check.h"
#include "platform/log.h"
#include "platform/main_thread.h"
#include "platform/way_back.h"
#include "platform/widgets.h"
#include "platform/worker_pool.h"
#include "windows/window_lookup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr const char* interfaceFileName = "Calvotrimex.ui";
constexpr int leakStatus = 23;  // LeakSanitizer's own exit status

constexpr const char* helpText =
    "Usage: %s [options]\n"
    "\n"
    "Options of every vxtools program:\n"
    "  --quit-when-done       quit the application once the program thread has ended\n"
    "  --snapshot FILE        write window 0's picture as PNG when the program thread ends\n"
    "  --version              show the program's name and version\n"
    "  --help                 show this text\n"
    "Without a display (neither DISPLAY nor WAYLAND_DISPLAY set, no -platform given) the\n"
    "program runs on the offscreen platform and quits once the program thread has ended.\n"
    "\n"
    "%s"
    "Qt's own options, among them:\n"
    "  -platform NAME         the platform plugin: xcb (X11), wayland, offscreen (no display)\n"
    "  -display DISPLAY       the X display to use (xcb)\n"
    "  -style STYLE           the widget style of menus and side windows\n"
    "  -stylesheet FILE       a style sheet for the widgets\n"
    "  -reverse               right-to-left layout\n"
    "  -qwindowtitle TITLE    the title of the first window\n"
    "  -qwindowgeometry GEOM  the geometry of the first window\n";

// What describeprogram() said about the program; set before runprogram, on the main thread.
struct ProgramDescription {
    std::string name;
    std::string version;
    std::string options;
};

ProgramDescription& programDescription()
{
    static ProgramDescription description;
    return description;
}

struct ShellOptions {
    bool help = false;
    bool version = false;
    bool quitWhenDone = false;
    std::string snapshot;            // where to write window 0's picture when the program ends
    std::vector<char*> qtArguments;  // what is left for Qt, null-terminated
};

ShellOptions readOptions(int argc, char** argv)
{
    ShellOptions options;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0))
            options.help = true;
        else if (i > 0 && std::strcmp(argv[i], "--version") == 0)
            options.version = true;
        else if (i > 0 && std::strcmp(argv[i], "--quit-when-done") == 0)
            options.quitWhenDone = true;
        else if (i > 0 && i + 1 < argc && std::strcmp(argv[i], "--snapshot") == 0)
            options.snapshot = argv[++i];
        else
            options.qtArguments.push_back(argv[i]);
    }
    options.qtArguments.push_back(nullptr);
    return options;
}

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Whether an argument chooses Qt's platform or display: "-platform", "--display", ...
bool choosesPlatform(const char* argument)
{
    for (const char* option : {"-platform", "--platform", "-display", "--display"}) {
        const size_t length = std::strlen(option);
        if (std::strncmp(argument, option, length) == 0 && (argument[length] == '\0' || argument[length] == '='))
            return true;
    }
    return false;
}

// Whether the program was started where there is no display: neither an X nor a Wayland
// display is named, and no platform or display was chosen by option or environment.
bool withoutDisplay(const ShellOptions& options)
{
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM")) return false;
    return std::none_of(options.qtArguments.begin(), options.qtArguments.end() - 1, choosesPlatform);
}

// Without a display the program runs offscreen and ends when its program thread ends.
void runOffscreen(ShellOptions& options)
{
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    auto& arguments = options.qtArguments;
    arguments.insert(arguments.begin() + (arguments.size() > 1 ? 1 : 0), {platformOption, offscreen});
    options.quitWhenDone = true;
    logline("runprogram: No display; running offscreen and quitting when the program ends.");
}

void printVersion(const char* executable)
{
    const ProgramDescription& description = programDescription();
    if (!description.name.empty()) {
        std::printf("%s %s\n", description.name.c_str(), description.version.c_str());
    } else {
        const char* slash = std::strrchr(executable, '/');
        std::printf("%s (vxtools %s)\n", slash != nullptr ? slash + 1 : executable, VXTOOLS_VERSION);
    }
    std::fflush(stdout);
}

void printHelp(const char* executable)
{
    const ProgramDescription& description = programDescription();
    std::string own;
    if (!description.options.empty()) own = "Options of " + description.name + ":\n" + description.options + "\n";
    std::printf(helpText, executable, own.c_str());
    std::fflush(stdout);
}

// SIGINT and SIGTERM quit the application the way its Quit item does: the handler only
// writes a byte, and the event loop reads it and quits.
int signalPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void installQuitSignals(QApplication& application)
{
    if (::pipe(signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        char byte;
        [[maybe_unused]] ssize_t read = ::read(signalPipe[0], &byte, 1);
        quitapplication();
    });
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void writeSnapshot(const std::string& path)
{
    QImage picture = t_WindowImage(0);
    if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG"))
        logline("runprogram: Snapshot " + path + " could not be written.");
}

// The program body, followed by the snapshot and the quit that the options ask for. They
// happen also when the thread ends from inside, since unwinding runs the destructor.
std::function<void()> programWithEnd(std::function<void()> body, const ShellOptions& options)
{
    return [body = std::move(body), quitWhenDone = options.quitWhenDone, snapshot = options.snapshot] {
        struct AtEnd {
            bool quit;
            std::string snapshot;
            ~AtEnd()
            {
                if (!snapshot.empty()) runOnMainThread([this] { writeSnapshot(snapshot); });
                if (quit) runOnMainThreadAsync(quitapplication);
            }
        } atEnd{quitWhenDone, snapshot};
        if (body) body();
    };
}

void connectApplication(QApplication& application, AppDelegate& delegate)
{
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &application,
                     [&delegate] { delegate.applicationWillTerminate(); });
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &application,
                     [&delegate](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             delegate.applicationDidBecomeActive();
                         else
                             delegate.applicationWillResignActive();
                     });
}

}  // namespace

void describeprogram(const std::string& name, const std::string& version, const std::string& options)
{
    programDescription() = {name, version, options};
}

int runprogram(int argc, char** argv, std::function<void()> body, const std::string& bundle)
{
    ShellOptions options = readOptions(argc, argv);
    const char* executable = argc > 0 ? argv[0] : "program";
    if (options.help || options.version) {
        options.help ? printHelp(executable) : printVersion(executable);
        return 0;
    }
    if (withoutDisplay(options)) runOffscreen(options);
    int qtArgc = static_cast<int>(options.qtArguments.size()) - 1;
    setbundlepath(bundle);

    QApplication application(qtArgc, options.qtArguments.data());
    if (const std::string icon = bundleicon(); !icon.empty()) QApplication::setWindowIcon(QIcon(QString::fromStdString(icon)));
    usegermanqttexts();
    if (showrunninginstance()) {
        logline("runprogram: Already running; its window is shown.");
        return 0;
    }
    AppDelegate& delegate = appDelegate();
    application.setQuitOnLastWindowClosed(delegate.applicationShouldTerminateAfterLastWindowClosed());
    loadinterface(resourcespath() + interfaceFileName, delegate);
    setupwayback(interfacemenus(), [] { t_WindowFront(windowtoshowagain()); });
    delegate.programBody = programWithEnd(std::move(body), options);
    // A build under AddressSanitizer looks for leaks as the application quits, before the
    // delegate's closing line, which so stays the last one (see the end below).
    static std::atomic<bool> leaked{false};
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &application, [] { leaked = leaksfound(); });
    connectApplication(application, delegate);
    installQuitSignals(application);

    delegate.applicationWillFinishLaunching();
    QTimer::singleShot(0, &application, [&delegate] { delegate.applicationDidFinishLaunching(); });
    int status = application.exec();

    // Threads of the runtime may still be running (a busy program thread, a never-ending
    // auto-update): end the process here rather than tear down what they use, with the
    // status of the leak check that a build under AddressSanitizer would otherwise make at exit.
    if (runningprogramthreads() > 0 || poolbusyworkers() > 0) {
        std::fflush(stdout);
        std::_Exit(leaked && status == 0 ? leakStatus : status);
    }
    for (QWidget* window : interfacewindows()) delete window;
    return status;
}
