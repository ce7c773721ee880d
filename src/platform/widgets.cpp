#include "platform/widgets.h"

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <QPlainTextEdit>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

namespace {

QPointer<QWidget> lastActivated;

// X11 keeps window positions and sizes in 16 bits: every coordinate is held within them.
constexpr double coordinateLimit = 32767;

// A coordinate in points as the window system takes it: truncated, held at its limits, and 0
// for a value that is not a number.
int coordinate(double value)
{
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(value, -coordinateLimit, coordinateLimit));
}

int extent(double value, int least)
{
    return std::max(least, coordinate(value));
}

double screenHeight(const QWidget* window)
{
    QScreen* screen = window->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 0.0 : screen->geometry().height();
}

}  // namespace

t_Rect widgetframe(QWidget* widget)
{
    if (widget == nullptr) return {};
    QRect box = widget->geometry();
    double outerHeight = widget->isWindow() ? screenHeight(widget)
                                            : (widget->parentWidget() ? widget->parentWidget()->height() : 0);
    return t_Rect{double(box.x()), outerHeight - box.y() - box.height(), double(box.width()), double(box.height())};
}

void setwidgetsize(QWidget* widget, double width, double height)
{
    if (widget == nullptr) return;
    widget->resize(extent(width, 0), extent(height, 0));
}

void setwidgetorigin(QWidget* widget, double x, double y)
{
    if (widget == nullptr) return;
    int parentHeight = widget->parentWidget() ? widget->parentWidget()->height() : 0;
    widget->move(coordinate(x), coordinate(double(parentHeight) - coordinate(y) - widget->height()));
}

QWidget* widgetwindow(QWidget* widget)
{
    return widget == nullptr ? nullptr : widget->window();
}

void notewindowactivated(QWidget* window)
{
    lastActivated = window;
}

QWidget* frontmostwindow()
{
    QWidget* window = lastActivated.data();
    return window != nullptr && window->isVisible() ? window : nullptr;
}

QWidget* lastactivatedwindow()
{
    return lastActivated.data();
}

void hidewindow(QWidget* window)
{
    if (window != nullptr) window->hide();
}

namespace {
std::atomic<bool> quitting{false};
}

void quitapplication()
{
    quitting = true;
    if (QCoreApplication::instance() != nullptr) QCoreApplication::quit();
}

bool applicationquitting()
{
    return quitting;
}

// ---- Windows -------------------------------------------------------------------------

namespace {

QScreen* screenOf(QWidget* window)
{
    QScreen* screen = window != nullptr ? window->screen() : nullptr;
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

QWidget* contentOf(QWidget* window)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    QWidget* content = mainWindow != nullptr ? mainWindow->centralWidget() : nullptr;
    return content != nullptr ? content : window;
}

// Lays the window's content out at once, so that its parts have their new sizes.
void settle(QWidget* window)
{
    if (QLayout* layout = window->layout()) layout->activate();
}

}  // namespace

t_Rect screenframe(QWidget* window)
{
    QScreen* screen = screenOf(window);
    if (screen == nullptr) return {};
    QRect box = screen->geometry();
    return t_Rect{double(box.x()), 0, double(box.width()), double(box.height())};
}

void setwindowframe(QWidget* window, const t_Rect& frame)
{
    if (window == nullptr) return;
    const int width = extent(frame.width, 1), height = extent(frame.height, 1);
    const int top = coordinate(screenHeight(window) - coordinate(frame.y) - height);
    window->setGeometry(coordinate(frame.x), top, width, height);
    settle(window);
    window->update();
}

void applyhiddenresize(QWidget* window)
{
    if (window == nullptr || window->isVisible() || !window->testAttribute(Qt::WA_PendingResizeEvent)) return;
    window->setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resized(window->size(), QSize());
    QCoreApplication::sendEvent(window, &resized);
}

void setwindowtitle(QWidget* window, const std::string& title)
{
    if (window != nullptr) window->setWindowTitle(QString::fromStdString(title));
}

void setwindowtitlevisible(QWidget* window, bool visible)
{
    if (window == nullptr) return;
    bool shown = window->isVisible();
    if (auto* mainWindow = qobject_cast<QMainWindow*>(window)) mainWindow->menuBar()->setVisible(visible);
    window->setWindowFlag(Qt::FramelessWindowHint, !visible);  // this hides a shown window
    if (shown) window->show();
    settle(window);
}

void centerwindow(QWidget* window)
{
    QScreen* screen = screenOf(window);
    if (window == nullptr || screen == nullptr) return;
    QRect area = screen->availableGeometry();
    QRect box = window->geometry();
    box.moveCenter(area.center());
    window->move(box.topLeft());
}

void showwindow(QWidget* window, bool activate)
{
    if (window == nullptr) return;
    window->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();  // offscreen cannot
    if (activate) {
        window->activateWindow();
        notewindowactivated(window);
    }
}

bool iswindowvisible(QWidget* window)
{
    return window != nullptr && window->isVisible();
}

void setwindowbackground(QWidget* window, const t_RGBColor& colour)
{
    QWidget* content = contentOf(window);
    if (content == nullptr) return;
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(colour.Red, colour.Green, colour.Blue, colour.Alpha));
    content->setPalette(palette);
    content->setAutoFillBackground(true);
    content->update();
}

namespace {

constexpr const char* bottomBorderProperty = "vxBottomBorder";
const QString bottomPlacementName = QStringLiteral("vxBottomPlacement");

// Moves the placed views of a content area that changed height, keeping their distance from
// its bottom.
class BottomPlacement : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            for (QWidget* view : static_cast<QWidget*>(watched)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (view->property(bottomBorderProperty).isValid()) placeFromBottom(view);
        return false;
    }

    static void placeFromBottom(QWidget* view)
    {
        const double bottom = view->property(bottomBorderProperty).toDouble();
        const double parentHeight = view->parentWidget() ? view->parentWidget()->height() : 0;
        view->move(view->x(), coordinate(parentHeight - bottom - double(view->height())));
    }
};

}  // namespace

void placeview(QWidget* view, int64_t borderWidth, int64_t borderHeight, int64_t width, int64_t height)
{
    if (view == nullptr) return;
    QWidget* content = view->parentWidget();
    if (content != nullptr && content->findChild<QObject*>(bottomPlacementName, Qt::FindDirectChildrenOnly) == nullptr) {
        auto* placement = new BottomPlacement(content);
        placement->setObjectName(bottomPlacementName);
        content->installEventFilter(placement);
    }
    view->setProperty(bottomBorderProperty, double(coordinate(double(borderHeight))));
    view->setGeometry(coordinate(double(borderWidth)), 0, extent(double(width), 0), extent(double(height), 0));
    BottomPlacement::placeFromBottom(view);
}

void redisplayview(QWidget* view, bool later)
{
    if (view == nullptr) return;
    if (later)
        view->update();
    else
        view->repaint();
}

int64_t menubarheight(QWidget* window)
{
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    if (mainWindow == nullptr || mainWindow->menuWidget() == nullptr) return 0;
    return mainWindow->menuWidget()->isVisibleTo(mainWindow) ? mainWindow->menuWidget()->height() : 0;
}

void systembeep()
{
    if (QCoreApplication::instance() != nullptr) QApplication::beep();
}

// ---- Text views and the clipboard ----------------------------------------------------

void settextviewtext(QWidget* textView, const std::string& text)
{
    if (auto* edit = qobject_cast<QPlainTextEdit*>(textView)) edit->setPlainText(QString::fromStdString(text));
    markneedsdisplay(textView);
}

std::string textviewtext(QWidget* textView)
{
    auto* edit = qobject_cast<QPlainTextEdit*>(textView);
    return edit == nullptr ? std::string() : edit->toPlainText().toStdString();
}

void settextviewfont(QWidget* textView, const std::string& family, int pointSize)
{
    if (textView == nullptr) return;
    QFont font(QString::fromStdString(family), pointSize);
    font.setStyleHint(QFont::Monospace);
    font.setFamilies({QString::fromStdString(family), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
    textView->setFont(font);
}

void markneedsdisplay(QWidget* widget)
{
    if (widget != nullptr) widget->update();
}
