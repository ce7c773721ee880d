// The real application, started offscreen: its launch lines, and quitting it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The application as a child process whose standard output the test reads line by line.
class Application {
public:
    explicit Application(std::vector<std::string> arguments, const char* program = VX_CALVOTRIMEX)
    {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
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
}
