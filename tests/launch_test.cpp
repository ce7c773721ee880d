// The real application, started offscreen: its launch lines, and quitting it.
#include "application_process.h"

#include <QDateTime>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

const QString bundle = QStringLiteral("--bundle=" VX_CALVOTRIMEX_BUNDLE);

// A program started where there is no display: no DISPLAY, no WAYLAND_DISPLAY, no platform.
struct Undisplayed : QProcess {
    Undisplayed(const char* program, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
        setProcessEnvironment(environment);
        start(program, arguments);
    }
    ~Undisplayed() { kill(); waitForFinished(); }
    // The exit status, or -1 when the program did not end by itself within `seconds`.
    int wait(int seconds)
    {
        return waitForFinished(seconds * 1000) && exitStatus() == NormalExit ? exitCode() : -1;
    }
};

}  // namespace

// What a program tells and refuses before it starts, with no display to start on.
TEST(Launch, VersionHelpAndRefusedResultFile)
{
    const struct {
        const char* program;
        QStringList arguments;
        int status;
        QString output;  // what standard output begins with
    } cases[] = {
        {VX_CALVOTRIMEX, {"--version"}, 0, "Calvotrimex " VX_VERSION "\n"},
        {VX_BUSY_PROGRAM, {"--version"}, 0, "vx_busy_program (vxtools " VX_VERSION ")\n"},
        {VX_CALVOTRIMEX, {"--result", "-", "--help"}, 0, "Usage: " VX_CALVOTRIMEX " [options]\n"},
        {VX_CALVOTRIMEX, {"--result", "/nonexistent/result.json"}, 1,
         "openresult: The result file /nonexistent/result.json cannot be written: No such file or directory.\n"},
        {VX_CALVOTRIMEX, {"--result"}, 1, "calvotrimex: --result needs a file name, or - for standard output.\n"},
    };
    for (const auto& [program, arguments, status, output] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        Undisplayed application(program, arguments);
        EXPECT_EQ(application.wait(30), status);
        const QString printed = application.readAllStandardOutput();
        EXPECT_TRUE(printed.startsWith(output)) << printed.toStdString();
        if (arguments.contains("--help")) {
            EXPECT_TRUE(printed.contains("\n  --result FILE ")) << printed.toStdString();
        }
    }
}

// Without a display the application runs offscreen by itself, measures, writes its result as
// JSON to standard output, its log to standard error, and exits 0.
TEST(Launch, WithoutADisplayItMeasuresWritesItsResultAndEnds)
{
    Undisplayed application(VX_CALVOTRIMEX, {"--result", "-"});
    ASSERT_EQ(application.wait(300), 0);
    const QString log = application.readAllStandardError();
    // The launch lines in order; the last line at the end.
    const QString launch = "runprogram: No display; running offscreen and quitting when the program ends.\n";
    EXPECT_TRUE(log.startsWith(launch) && log.endsWith("applicationWillTerminate: Called.\n")) << log.toStdString();
    qsizetype at = 0;
    for (const char* line : {"applicationWillFinishLaunching: Called.", "applicationDidFinishLaunching: Start.",
                             "initvxtools: Start.", "initvxtools: End.", "Program: Start.", "applicationDidFinishLaunching: End."})
        EXPECT_GT(at = log.indexOf(line, at), 0) << line;

    QJsonParseError error;
    const QJsonObject result = QJsonDocument::fromJson(application.readAllStandardOutput(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(result.keys(), (QStringList{"cpus", "gflops", "kernel", "model", "passes", "threads", "time", "version"}));
    EXPECT_EQ(result["version"].toString(), VX_VERSION);
    const QDateTime time = QDateTime::fromString(result["time"].toString(), Qt::ISODate);
    EXPECT_TRUE(time.isValid() && time.timeSpec() == Qt::UTC && time.secsTo(QDateTime::currentDateTimeUtc()) < 600);
    EXPECT_GE(result["cpus"].toInt(), 1);
    EXPECT_TRUE(result["kernel"].toString().startsWith("Linux "));
    // Every measurement in order (a pass measured again appears again); the answer is the
    // thread count of a measurement that counted as faster.
    const QJsonArray passes = result["passes"].toArray();
    ASSERT_FALSE(passes.isEmpty());
    bool answerCounted = false;
    for (const QJsonValue& value : passes) {
        const QJsonObject pass = value.toObject();
        EXPECT_GT(pass["microseconds"].toInteger(), 0);  // the document's form: the result file test
        answerCounted |= pass["faster"].toBool() && pass["threads"].toInteger() == result["threads"].toInteger();
    }
    EXPECT_TRUE(passes.first()["threads"].toInteger() == 1 && passes.first()["faster"].toBool());
    EXPECT_TRUE(answerCounted && result["gflops"].toDouble() > 0.0);
}

// Quitting by a signal while the program thread computes, waits in the pause on Control-S
// or in an open panel. The busy program lives outside the bundle; it is given the bundle of
// the application.
TEST(Launch, QuitsCleanlyWhileTheProgramThreadIsBusy)
{
    const std::pair<QStringList, int> cases[] = {
        {{bundle}, SIGTERM}, {{bundle, "--paused"}, SIGINT}, {{bundle, "--panel"}, SIGINT}};
    for (const auto& [arguments, number] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        Application application(arguments, VX_BUSY_PROGRAM);
        ASSERT_TRUE(application.readUntil("busy: Start."));
        application.signal(number);
        EXPECT_EQ(application.wait(), 0);
        auto end = std::ranges::find(application.lines, "applicationWillTerminate: Called.");
        ASSERT_NE(end, application.lines.end());
        // Only the program thread, leaving the panel that quitting closed, may log after it.
        EXPECT_TRUE(std::all_of(end + 1, application.lines.end(), [](auto& line) { return line == "busy: Start."; }));
    }
}

TEST(Launch, CalvotrimexDoesItsWholeJob)
{
    const std::string snapshot = testing::TempDir() + "calvotrimex-window.png";
    std::remove(snapshot.c_str());
    Application application({bundle, "--quit-when-done", "--snapshot", QString::fromStdString(snapshot)}, VX_SCREEN_PROGRAM);
    ASSERT_EQ(application.wait(300), 0);
    const std::vector<std::string>& lines = application.lines;
    for (const char* line : {"Program: Start.", "t_QuitProgram: Quitting current thread with message in window #0.",
                             "applicationWillTerminate: Called."})  // --quit-when-done ended it
        EXPECT_NE(std::ranges::find(lines, line), lines.end()) << line;
    const auto screen = std::ranges::find(lines, "screen:");
    ASSERT_NE(screen, lines.end());
    std::vector<std::string> text(screen + 1, lines.end());
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text[0], "Calvotrimex" + std::string(43, ' ') + "\u00A9 2026 Calvotrimex authors");
    EXPECT_EQ(QString::fromStdString(text[1]), QString(80, QChar(0x9C)));  // the rule's graphic character 156
    EXPECT_EQ(text[3], "Anzahl der maximal verfügbaren parallelen Threads wird berechnet:");
    // A pass of 10 ms or more shows more than the field's five characters ("10.867 ms.").
    const std::regex report(R"([ 0-9.]{5,} ms\. = [ 0-9]{2} Thread[s ] =[ 0-9.]{3},[0-9]{2} GFLOPs)");
    EXPECT_TRUE(std::regex_match(text[5], report)) << text[5];
    EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](auto& line) { return line.rfind("Dieser Computer kann ", 0) == 0; }));
    EXPECT_EQ(text.back(), "(Programm Ende)");

    QImage picture(QString::fromStdString(snapshot));
    ASSERT_EQ(picture.size(), QSize(1280, 800));
    EXPECT_EQ(picture.pixel(1279, 799), qRgb(0, 0, 0));
    int red = 0, green = 0;
    for (int x = 0; x < 240; ++x) red += picture.pixel(x, 784) == qRgb(255, 0, 0);
    for (int x = 0; x < 176; ++x) green += qGreen(picture.pixel(x, 16)) == 255;
    EXPECT_TRUE(red > 10 && green > 10) << red << " " << green;  // "(Programm Ende)" in palette colour 1, the header in green
}

// Real key presses, clicks and menu keys under an X server of its own, with NumLock off and a
// dead circumflex left of 1; then every window hidden and the way back by a second start.
TEST(Launch, RealKeyPressesUnderAnXServer)
{
    if (std::system("for tool in xvfb-run xdotool xmodmap xclip; do command -v $tool >/dev/null || exit 1; done") != 0)
        GTEST_SKIP() << "xvfb-run, xdotool, xmodmap and xclip are needed";
    const QString script = R"sh(
        focus() { timeout 20 xdotool search --sync --onlyvisible --name "$1" windowfocus --sync >/dev/null 2>&1; }
        "$0" "$1" --quit-when-done & program=$!
        focus Calvotrimex; xmodmap -e "keycode 49 = dead_circumflex degree"; sleep 1
        xdotool key a ctrl+s Left F1 F12 shift+Tab BackSpace Delete Home Next
        xdotool key KP_Insert KP_End KP_Down KP_Next KP_Left KP_Begin KP_Right KP_Home KP_Up KP_Prior KP_Delete KP_Enter
        xdotool key alt+KP_Home alt+KP_Insert ctrl+KP_Prior Num_Lock Insert dead_circumflex e shift+dead_circumflex
        xdotool key Caps_Lock a; sleep 0.5; xdotool mousemove --window "$(xdotool getwindowfocus)" 100 100 click 1
        sleep 0.5; xdotool key Caps_Lock
        xdotool key ctrl+shift+c; sleep 1; echo "clipboard: $(xclip -o -selection clipboard | head -c 8)"
        xdotool key ctrl+shift+z; focus Zwischenablage; xdotool key ctrl+shift+z ctrl+shift+g
        focus Calvotrimex; xdotool key ctrl+shift+w; sleep 1
        echo "visible: $(xdotool search --onlyvisible --name . | wc -l)"
        timeout 20 "$0" "$1"; status=$?; focus Calvotrimex && echo "second start: $status"; xdotool key Escape; wait $program)sh";
    Application application({"-a", "sh", "-c", script, VX_KEY_ECHO_PROGRAM, bundle}, "/usr/bin/xvfb-run", false);
    ASSERT_EQ(application.wait(120), 0);
    std::vector<std::string> echoed;
    for (const std::string& line : application.lines)
        for (const char* kind : {"key: ", "mouse: ", "menu: ", "clipboard: ", "visible: ", "setupwayback: ", "second start: "})
            if (line.rfind(kind, 0) == 0) echoed.push_back(line);
    // Value, key position, Mods, cursor key, function key.
    EXPECT_EQ(echoed, (std::vector<std::string>{
        "key: 97 0 0 0 0",     "key: 19 1 4 0 0",     "key: 8 123 160 1 0",  "key: 129 122 128 0 1",
        "key: 140 111 128 0 1", "key: 20 48 2 0 0",   "key: 127 51 0 0 0",   "key: 7 117 128 0 0",
        "key: 2 115 128 1 0",  "key: 3 121 128 1 0",
        "key: 48 82 32 0 0",   "key: 49 83 32 0 0",   "key: 50 84 32 0 0",   "key: 51 85 32 0 0",
        "key: 52 86 32 0 0",   "key: 53 87 32 0 0",   "key: 54 88 32 0 0",   "key: 55 89 32 0 0",
        "key: 56 91 32 0 0",   "key: 57 92 32 0 0",   "key: 46 65 32 0 0",   "key: 13 76 32 0 0",
        "key: 229 89 40 0 0",  "key: 216 82 40 0 0",  "key: 27 71 160 0 0",  "key: 195 114 192 0 1",
        "key: 94 10 0 0 0",    "key: 234 14 0 0 0",   "key: 176 10 2 0 0",   "key: 65 0 1 0 0",
        "mouse: 1",            "menu: 111",           "clipboard: key echo", "menu: 211",
        "menu: 211",           "menu: 213",           "menu: 200",           "visible: 0",
        "setupwayback: Started again, showing the window.", "second start: 0", "key: 27 53 0 0 0"}));
}
