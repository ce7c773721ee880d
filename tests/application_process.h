// A program of the tests as a child process whose standard output the test reads line by line.
#pragma once

#include <QProcess>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

class Application : public QProcess {
public:
    explicit Application(const QStringList& arguments, const char* program = VX_CALVOTRIMEX, bool offscreen = true,
                         const QProcessEnvironment& environmentGiven = QProcessEnvironment::systemEnvironment())
    {
        QProcessEnvironment environment = environmentGiven;
        offscreen ? environment.insert("QT_QPA_PLATFORM", "offscreen") : environment.remove("QT_QPA_PLATFORM");
        setProcessEnvironment(environment);
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(program, arguments);
    }
    ~Application() { kill(); waitForFinished(); }

    // Reads lines until one begins with `wanted`; false when the output ends or stays away for a minute.
    bool readUntil(const std::string& wanted) { return readUntilCount(wanted, 1); }

    // Reads lines until `count` of them begin with `prefix`; false when the output ends or
    // stays away for `seconds`.
    bool readUntilCount(const std::string& prefix, size_t count, int seconds = 60)
    {
        auto counted = [&] {
            return size_t(std::count_if(lines.begin(), lines.end(), [&](auto& line) { return line.rfind(prefix, 0) == 0; }));
        };
        readLines();
        while (counted() < count) {
            if (!waitForReadyRead(seconds * 1000)) return false;
            readLines();
        }
        return true;
    }

    void signal(int number) { ::kill(pid_t(processId()), number); }

    // Waits for the process to end; its exit status, or -1 when it did not exit normally.
    int wait(int seconds = 30)
    {
        if (state() != NotRunning && !waitForFinished(seconds * 1000)) return -2;
        readLines();
        return exitStatus() == NormalExit && error() != FailedToStart ? exitCode() : -1;
    }

    std::vector<std::string> lines;

private:
    void readLines()
    {
        while (canReadLine()) lines.push_back(readLine().chopped(1).toStdString());
    }
};

