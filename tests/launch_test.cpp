// The real application, started offscreen: its launch lines, and quitting it.
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The application as a child process whose standard output the test reads line by line.
class Application {
public:
    explicit Application(std::vector<std::string> arguments, const char* program = VX_CALVOTRIMEX,
                         bool offscreen = true)
    {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            if (offscreen)
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
            else
                unsetenv("QT_QPA_PLATFORM");
            std::vector<char*> argv{const_cast<char*>(program)};
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program, argv.data());
            _exit(127);
        }
        close(out[1]);
        output_ = out[0];
    }

    ~Application()
    {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) close(output_);
    }

    // Reads lines until one equals `wanted` or the output ends or `seconds` pass.
    bool readUntil(const std::string& wanted, int seconds = 60)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            for (const std::string& line : lines_)
                if (line == wanted) return true;
            if (!readSome(deadline)) return false;
        }
        return false;
    }

    void signal(int number) { kill(pid_, number); }

    // Waits for the process to end; its exit status, or -1 when it did not exit normally.
    int wait(int seconds = 30)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (readSome(deadline)) {}
        int status = 0;
        for (;;) {
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) break;
            if (std::chrono::steady_clock::now() > deadline) return -2;
            usleep(10000);
        }
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::vector<std::string>& lines() const { return lines_; }

private:
    bool readSome(std::chrono::steady_clock::time_point deadline)
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
        char buffer[4096];
        ssize_t got = read(output_, buffer, sizeof buffer);
        if (got <= 0) return false;
        pending_.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            lines_.push_back(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
        return true;
    }

    pid_t pid_ = -1;
    int output_ = -1;
    bool reaped_ = false;
    std::string pending_;
    std::vector<std::string> lines_;
};

// The position of `line` in `lines`, or -1.
int positionOf(const std::vector<std::string>& lines, const std::string& line)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST(Launch, LinesInOrderAndQuitBySignal)
{
    Application application({"-platform", "offscreen"});
    ASSERT_TRUE(application.readUntil("applicationDidFinishLaunching: End."));
    const std::vector<std::string> order = {
        "applicationWillFinishLaunching: Called.", "applicationDidFinishLaunching: Start.",
        "initvxtools: Start.", "initvxtools: End.", "Program: Start.", "applicationDidFinishLaunching: End."};
    int previous = -1;
    for (const std::string& line : order) {
        int position = positionOf(application.lines(), line);
        EXPECT_GT(position, previous) << line;
        previous = position;
    }
    EXPECT_EQ(positionOf(application.lines(), "applicationWillFinishLaunching: Called."), 0);

    application.signal(SIGTERM);
    EXPECT_EQ(application.wait(), 0);
    EXPECT_EQ(application.lines().back(), "applicationWillTerminate: Called.");
}

TEST(Launch, QuitsWhenTheProgramIsDoneIfAsked)
{
    Application application({"--quit-when-done"});
    EXPECT_EQ(application.wait(60), 0);
    EXPECT_GE(positionOf(application.lines(), "Program: Start."), 0);
    EXPECT_GE(positionOf(application.lines(), "applicationWillTerminate: Called."), 0);
}

TEST(Launch, InterruptQuitsToo)
{
    Application application({});
    ASSERT_TRUE(application.readUntil("applicationDidFinishLaunching: End."));
    application.signal(SIGINT);
    EXPECT_EQ(application.wait(), 0);
    EXPECT_GE(positionOf(application.lines(), "applicationWillTerminate: Called."), 0);
}

TEST(Launch, QuitsCleanlyWhileTheProgramThreadIsBusy)
{
    // The busy program lives outside the bundle; it is given the bundle of the application.
    Application application({std::string("--bundle=") + VX_CALVOTRIMEX_BUNDLE}, VX_BUSY_PROGRAM);
    ASSERT_TRUE(application.readUntil("busy: Start."));
    application.signal(SIGTERM);
    EXPECT_EQ(application.wait(), 0);
    EXPECT_EQ(application.lines().back(), "applicationWillTerminate: Called.");

    for (const char* waiting : {"--paused", "--panel"}) {
        Application blocked({std::string("--bundle=") + VX_CALVOTRIMEX_BUNDLE, waiting}, VX_BUSY_PROGRAM);
        ASSERT_TRUE(blocked.readUntil("busy: Start.")) << waiting;
        blocked.signal(SIGINT);
        EXPECT_EQ(blocked.wait(), 0) << waiting;
        EXPECT_EQ(blocked.lines().back(), "applicationWillTerminate: Called.") << waiting;
    }
}

TEST(Launch, CalvotrimexDoesItsWholeJob)
{
    const std::string snapshot = testing::TempDir() + "calvotrimex-window.png";
    std::remove(snapshot.c_str());
    Application application({std::string("--bundle=") + VX_CALVOTRIMEX_BUNDLE, "--quit-when-done", "--snapshot", snapshot},
                            VX_SCREEN_PROGRAM);
    ASSERT_EQ(application.wait(300), 0);
    const std::vector<std::string>& lines = application.lines();
    EXPECT_GE(positionOf(lines, "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000."), 0);
    EXPECT_GE(positionOf(lines, "t_QuitProgram: Quitting current thread with message in window #0."), 0);
    int screen = positionOf(lines, "screen:");
    ASSERT_GE(screen, 0);
    std::vector<std::string> text(lines.begin() + screen + 1, lines.end());
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text[0], "Calvotrimex" + std::string(43, ' ') + "\u00A9 2026 Calvotrimex authors");
    std::string rule;
    for (int i = 0; i < 80; ++i) rule += "\u009C";  // the rule's graphic character 156
    EXPECT_EQ(text[1], rule);
    EXPECT_EQ(text[3], "Anzahl der maximal verfügbaren parallelen Threads wird berechnet:");
    const std::regex report(R"([ 0-9.]{5} ms\. = [ 0-9]{2} Thread[s ] =[ 0-9.]{3},[0-9]{2} GFLOPs)");
    EXPECT_TRUE(std::regex_match(text[5], report)) << text[5];
    EXPECT_NE(std::find_if(text.begin(), text.end(), [](const std::string& line) {
                  return line.rfind("Dieser Computer kann ", 0) == 0;
              }), text.end());
    EXPECT_EQ(text.back(), "(Programm Ende)");

    QImage picture(QString::fromStdString(snapshot));
    ASSERT_EQ(picture.size(), QSize(1280, 800));
    EXPECT_EQ(picture.pixel(1279, 799), qRgb(0, 0, 0));
    int red = 0, green = 0;
    for (int x = 0; x < 240; ++x) red += picture.pixel(x, 784) == qRgb(255, 0, 0);
    for (int x = 0; x < 176; ++x) green += qGreen(picture.pixel(x, 16)) == 255;
    EXPECT_GT(red, 10);   // "(Programm Ende)" in palette colour 1
    EXPECT_GT(green, 10); // the header in the program's green
}

TEST(Launch, RealKeyPressesUnderAnXServer)
{
    if (std::system("command -v xvfb-run >/dev/null && command -v xdotool >/dev/null") != 0)
        GTEST_SKIP() << "xvfb-run and xdotool are needed";
    // The program runs under its own X server; xdotool types into its window.
    const std::string script =
        std::string("\"$0\" \"$1\" --quit-when-done & program=$!; "
                    "xdotool search --sync --onlyvisible --name Calvotrimex windowfocus --sync >/dev/null 2>&1; "
                    "sleep 1; xdotool key a ctrl+s Left F1 shift+Tab Escape; wait $program");
    Application application({"-a", "sh", "-c", script, VX_KEY_ECHO_PROGRAM,
                             std::string("--bundle=") + VX_CALVOTRIMEX_BUNDLE},
                            "/usr/bin/xvfb-run", false);
    ASSERT_EQ(application.wait(120), 0);
    std::vector<std::string> keys;
    for (const std::string& line : application.lines())
        if (line.rfind("key: ", 0) == 0) keys.push_back(line);
    const std::vector<std::string> expected = {"key: 97 0", "key: 19 1", "key: 8 123", "key: 129 122", "key: 20 48",
                                               "key: 27 53"};
    EXPECT_EQ(keys, expected);
}
