// On a desktop: the programs under an X server of their own with a real window manager
// (openbox) at screen scales 1, 1.5 and 2. Windows lie on the screen with their title bars,
// a click reports the picture pixel under it, minimized windows come back and a second start
// hands over to the running program, with a tray and without.
#include "application_process.h"
#include "events/view_scaling.h"

#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

namespace {

const QString bundle = QStringLiteral("--bundle=" VX_CALVOTRIMEX_BUNDLE);
constexpr int screenWidth = 1920, screenHeight = 1200;

bool toolsPresent()
{
    return std::system("for tool in Xvfb openbox trayer xdotool xwininfo xprop import; do "
                       "command -v $tool >/dev/null || exit 1; done") == 0;
}

// An X server of its own (the first free display) with openbox managing its windows.
class XSession {
public:
    XSession()
    {
        server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(screenWidth).arg(screenHeight),
                               "-noreset", "-nolisten", "tcp"});
        if (server_.waitForReadyRead(20000)) display_ = ":" + server_.readLine().trimmed();
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("DISPLAY", display_);
        for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
            environment_.remove(name);
        windowManager_.setProcessEnvironment(environment_);
        windowManager_.start("openbox", {});
        ready_ = display_.size() > 1 && waitFor("xprop -root _NET_SUPPORTING_WM_CHECK", "window id");
    }
    ~XSession()
    {
        for (QProcess* process : {&tray_, &windowManager_, &server_}) {
            process->terminate();
            if (!process->waitForFinished(5000)) process->kill();
            process->waitForFinished();
        }
    }

    bool ready() const { return ready_; }

    // The output of a shell command run on this display.
    std::string run(const QString& command)
    {
        QProcess shell;
        shell.setProcessEnvironment(environment_);
        shell.start("sh", {"-c", command});
        shell.waitForFinished(30000);
        return shell.readAllStandardOutput().trimmed().toStdString();
    }

    // Runs `command` until its output holds `wanted`; false after 20 s.
    bool waitFor(const QString& command, const std::string& wanted, bool present = true)
    {
        for (int i = 0; i < 200; ++i) {
            if ((run(command).find(wanted) != std::string::npos) == present) return true;
            QThread::msleep(100);
        }
        return false;
    }

    // A system tray at the top right of the screen.
    bool startTray()
    {
        tray_.setProcessEnvironment(environment_);
        tray_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "32"});
        return waitFor("xprop -root _NET_SUPPORTING_WM_CHECK; xdotool search --onlyvisible --class trayer", "\n");
    }

    QProcessEnvironment environment(double scale) const
    {
        QProcessEnvironment environment = environment_;
        environment.insert("QT_SCALE_FACTOR", QString::number(scale));
        return environment;
    }

private:
    QProcess server_, windowManager_, tray_;
    QString display_;
    QProcessEnvironment environment_;
    bool ready_ = false;
};

// A window's client area and the window manager's decorations around it, in device pixels.
struct Frame {
    QRect client;
    int left = 0, right = 0, top = 0, bottom = 0;
    QRect outer() const { return client.adjusted(-left, -top, right, bottom); }
};

int valueAfter(const std::string& text, const std::string& label)
{
    size_t at = text.find(label);
    return at == std::string::npos ? -100000 : std::atoi(text.c_str() + at + label.size());
}

Frame frameOf(XSession& x, const std::string& window)
{
    const std::string info = x.run(QString("xwininfo -id %1").arg(QString::fromStdString(window)));
    Frame frame;
    frame.client = QRect(valueAfter(info, "Absolute upper-left X:"), valueAfter(info, "Absolute upper-left Y:"),
                         valueAfter(info, "Width:"), valueAfter(info, "Height:"));
    std::string extents = x.run(QString("xprop -id %1 _NET_FRAME_EXTENTS").arg(QString::fromStdString(window)));
    std::replace(extents.begin(), extents.end(), ',', ' ');
    std::istringstream(extents.substr(extents.find('=') + 1)) >> frame.left >> frame.right >> frame.top >> frame.bottom;
    return frame;
}

// The program's window once its frame is on: its id.
std::string programWindow(XSession& x, Application& program)
{
    if (!program.readUntil("key echo: ready")) return "";
    const std::string window = x.run("xdotool search --sync --onlyvisible --name Calvotrimex | head -1");
    return x.waitFor("xprop -id " + QString::fromStdString(window) + " _NET_FRAME_EXTENTS", "=") ? window : "";
}

// The picture in a screenshot of `window`: the area inside the border, whose colour the
// window's bottom left corner shows; an empty rectangle while the window is not drawn yet.
QRect pictureInScreenshot(XSession& x, const Frame& window)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("screen.png");
    x.run("import -window root " + file);
    QImage shot(file);
    if (shot.isNull() || !shot.rect().contains(window.client)) return {};
    const QRect c = window.client;
    const QRgb border = shot.pixel(c.left() + 1, c.bottom() - 1);
    const int row = c.bottom() - c.height() / 4, column = c.left() + c.width() / 2;
    auto inside = [&](int px, int py) { return shot.pixel(px, py) != border; };
    int left = c.left(), right = c.right(), bottom = c.bottom();
    while (left < right && !inside(left, row)) ++left;
    while (right > left && !inside(right, row)) --right;
    while (bottom > c.top() && !inside(column, bottom)) --bottom;
    int top = bottom;
    while (top > c.top() && inside(column, top - 1)) --top;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect pictureOnScreen(XSession& x, const Frame& window)
{
    QRect picture;
    for (int i = 0; i < 50 && (picture = pictureInScreenshot(x, window)).width() < 100; ++i) QThread::msleep(200);
    return picture;
}

bool onScreen(const Frame& frame)
{
    return QRect(0, 0, screenWidth, screenHeight).contains(frame.outer()) && frame.top > 0;
}

std::string clickLine(int64_t column, int64_t row)
{
    return "click: " + std::to_string(column) + " " + std::to_string(row);
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

}  // namespace

TEST(Desktop, WindowsLieOnTheScreenAndClicksHitThePixelUnderThem)
{
    if (!toolsPresent()) GTEST_SKIP() << "Xvfb, openbox, trayer, xdotool, xwininfo, xprop and import are needed";
    XSession x;
    ASSERT_TRUE(x.ready());
    for (double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        {
            // The small window: every click on its picture, then the side windows.
            Application program({bundle}, VX_KEY_ECHO_PROGRAM, false, x.environment(scale));
            const std::string window = programWindow(x, program);
            ASSERT_FALSE(window.empty());
            const Frame frame = frameOf(x, window);
            EXPECT_TRUE(onScreen(frame)) << frame.outer().x() << "," << frame.outer().y();
            const QRect picture = pictureOnScreen(x, frame);
            ASSERT_EQ(picture.size(), QSize(qRound(640 * scale), qRound(160 * scale)));
            const int w = picture.width(), h = picture.height();
            std::vector<std::string> expected;
            for (auto [dx, dy] : {std::pair{-1, 0}, {0, -1}, {w, h - 1}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {159, 319 % h},
                                  {w - 2, h - 2}, {w - 1, h - 1}}) {
                x.run(QString("xdotool mousemove %1 %2 click 1").arg(picture.x() + dx).arg(picture.y() + dy));
                const int64_t column = picturepixelat(dx, w, 640), row = picturepixelat(dy, h, 160);
                if (column >= 0 && row >= 0) expected.push_back(clickLine(column, row));  // beside: no click
            }
            const size_t last = size_t(std::count(expected.begin(), expected.end(), expected.back()));
            ASSERT_TRUE(program.readUntilCount(expected.back(), last, 20))  // the last click's line
                << testing::PrintToString(linesStartingWith(program.lines, "click: ")) << " picture at " << picture.x()
                << "," << picture.y();
            // A click on the border beside the picture reports no pixel of it: no click, or
            // one outside the picture (-1 before, -2 beyond).
            std::vector<std::string> clicks = linesStartingWith(program.lines, "click: "), inside;
            std::copy_if(clicks.begin(), clicks.end(), std::back_inserter(inside), [](auto& line) { return line.find('-') == line.npos; });
            EXPECT_EQ(inside, expected);

            // The side windows and the main window, each with its title bar on the screen.
            x.run("xdotool windowactivate --sync " + QString::fromStdString(window) +
                  "; xdotool key ctrl+shift+z ctrl+shift+p ctrl+shift+j ctrl+shift+e ctrl+shift+m");
            ASSERT_TRUE(x.waitFor("xdotool search --onlyvisible --name . | wc -l", "6"));
            QThread::msleep(500);
            std::istringstream shownWindows(x.run("xdotool search --onlyvisible --name ."));
            for (std::string shown; shownWindows >> shown;) {
                const Frame side = frameOf(x, shown);
                EXPECT_TRUE(onScreen(side)) << x.run("xdotool getwindowname " + QString::fromStdString(shown)) << " at "
                                            << side.outer().x() << "," << side.outer().y();
            }
        }
        {
            // Calvotrimex's window, 1280 x 800 points: on the screen whole, the picture in proportion.
            Application program({bundle, "--large"}, VX_KEY_ECHO_PROGRAM, false, x.environment(scale));
            const std::string window = programWindow(x, program);
            ASSERT_FALSE(window.empty());
            const Frame frame = frameOf(x, window);
            EXPECT_TRUE(onScreen(frame)) << frame.outer().width() << "x" << frame.outer().height();
            const QRect picture = pictureOnScreen(x, frame);
            EXPECT_NEAR(double(picture.width()) / picture.height(), 1.6, 0.01)
                << picture.x() << "," << picture.y() << " " << picture.width() << "x" << picture.height();
            EXPECT_TRUE(scale != 1.0 || picture.size() == QSize(1280, 800));
            // Fixed in size: a request to resize it keeps its size.
            x.run("xdotool windowsize " + QString::fromStdString(window) + " 700 500; sleep 0.5");
            EXPECT_EQ(frameOf(x, window).client.size(), frame.client.size());
            for (QPoint corner : {picture.topLeft(), picture.bottomRight()})
                x.run(QString("xdotool mousemove %1 %2 click 1").arg(corner.x()).arg(corner.y()));
            ASSERT_TRUE(program.readUntilCount("click: ", 2, 20));
            EXPECT_EQ(linesStartingWith(program.lines, "click: "), (std::vector{clickLine(0, 0), clickLine(1279, 799)}));
        }
    }
}

TEST(Desktop, MinimizedWindowsComeBackAndASecondStartHandsOver)
{
    if (!toolsPresent()) GTEST_SKIP() << "Xvfb, openbox, trayer, xdotool, xwininfo, xprop and import are needed";
    XSession x;
    ASSERT_TRUE(x.ready());
    for (bool tray : {false, true}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        if (tray) {
            ASSERT_TRUE(x.startTray());
        }
        Application program({bundle}, VX_KEY_ECHO_PROGRAM, false, x.environment(1));
        ASSERT_TRUE(program.readUntil("key echo: ready"));
        const QString window = QString::fromStdString(x.run("xdotool search --sync --onlyvisible --name Calvotrimex | head -1"));
        x.run("xdotool windowminimize --sync " + window);
        ASSERT_TRUE(x.waitFor("xprop -id " + window + " _NET_WM_STATE", "_NET_WM_STATE_HIDDEN"));
        Application second({bundle}, VX_KEY_ECHO_PROGRAM, false, x.environment(1));
        EXPECT_EQ(second.wait(), 0);
        EXPECT_EQ(second.lines, std::vector<std::string>{"runprogram: Already running; its window is shown."});
        EXPECT_TRUE(program.readUntil("setupwayback: Started again, showing the window."));
        EXPECT_TRUE(x.waitFor("xprop -id " + window + " _NET_WM_STATE", "_NET_WM_STATE_HIDDEN", false));
        EXPECT_TRUE(x.waitFor("xwininfo -id " + window, "IsViewable"));
        EXPECT_TRUE(x.waitFor("xdotool getactivewindow", x.run("printf %d " + window)));  // and it has the focus
    }
}
