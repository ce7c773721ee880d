#include "platform/widgets.h"

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <QPlainTextEdit>
#include <QLayout>
#include <QLineEdit>
#include <QMargins>
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

// Whether windows appear on a screen a user sees, with a window manager's decorations.
bool onDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// The window manager's decorations around a window's client area, as last seen on a shown
// window; before any is seen, room for a usual title bar and border. None off a display.
QMargins decorations(const QWidget* window)
{
    static QMargins seen(8, 40, 8, 8);
    if (!onDisplay()) return QMargins();
    if (window != nullptr && window->isVisible()) {
        const QRect frame = window->frameGeometry(), client = window->geometry();
        QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
        if (margins.top() > 0) seen = margins;
    }
    return seen;
}

// Where the client area of `window` may lie so that the window, its title bar included, is
// on its screen's available area.
QRect clientArea(const QWidget* window)
{
    QScreen* screen = screenOf(const_cast<QWidget*>(window));
    return screen == nullptr ? QRect() : screen->availableGeometry().marginsRemoved(decorations(window));
}

// `client` moved, and made smaller where it must, so that the window lies on its screen's
// available area; unchanged where windows are not on a display.
QRect keptOnScreen(const QWidget* window, const QRect& client)
{
    const QRect area = clientArea(window);
    if (!onDisplay() || area.isEmpty()) return client;
    const QSize size = client.size().boundedTo(area.size());
    const int x = std::clamp(client.x(), area.left(), area.right() + 1 - size.width());
    const int y = std::clamp(client.y(), area.top(), area.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
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

void setwindowframe(QWidget* window, const t_Rect& frame, bool fixedSize)
{
    if (window == nullptr) return;
    const int width = extent(frame.width, 1), height = extent(frame.height, 1);
    const int top = coordinate(screenHeight(window) - coordinate(frame.y) - height);
    const QRect client = keptOnScreen(window, QRect(coordinate(frame.x), top, width, height));
    if (onDisplay()) {  // a window manager takes these hints; offscreen has none
        window->setMinimumSize(fixedSize ? client.size() : QSize(0, 0));
        window->setMaximumSize(fixedSize ? client.size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }
    window->setGeometry(client);
    settle(window);
    window->update();
}

double screenfitscale(QWidget* window, double fixedWidth, double fixedHeight, double width, double height)
{
    const QRect area = clientArea(window);
    if (!onDisplay() || area.isEmpty() || !(width > 0) || !(height > 0)) return 1.0;
    const double scale = std::min({1.0, (area.width() - fixedWidth) / width, (area.height() - fixedHeight) / height});
    return std::isfinite(scale) ? std::max(scale, 0.0) : 1.0;
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
    // The window with its decorations in the middle of the available area.
    const QMargins around = decorations(window);
    QRect box = window->geometry().marginsAdded(around);
    box.moveCenter(screen->availableGeometry().center());
    window->setGeometry(keptOnScreen(window, box.marginsRemoved(around)));
}

void showwindow(QWidget* window, bool activate)
{
    if (window == nullptr) return;
    const QRect client = keptOnScreen(window, window->geometry());
    if (client != window->geometry()) window->setGeometry(client);
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
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

void fillparent(QWidget* widget, int side, int top)
{
    if (widget == nullptr || widget->parentWidget() == nullptr) return;
    QWidget* content = widget->parentWidget();
    if (QLayout* layout = content->window()->layout()) layout->activate();
    widget->setGeometry(side, top, content->width() - 2 * side, content->height() - top - side);
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

void showtextfieldstart(QWidget* textField)
{
    if (auto* field = qobject_cast<QLineEdit*>(textField)) field->setCursorPosition(0);
}

void markneedsdisplay(QWidget* widget)
{
    if (widget != nullptr) widget->update();
}
