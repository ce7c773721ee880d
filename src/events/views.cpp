#include "events/views.h"

#include "events/view_events.h"
#include "events/view_scaling.h"
#include "platform/key_events.h"
#include "vxtools.h"
#include "windows/video_changes.h"
#include "windows/window_table.h"
#include "windows/window_update.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

GraphicView::GraphicView(uint8_t window, QWidget* parent) : QWidget(parent), window_(window)
{
    setFocusPolicy(Qt::StrongFocus);
    // On a screen scaled by a fraction the device pixels at the view's right and bottom edges
    // can lie in points of its parent: clicks there come from the parent.
    if (parent != nullptr) parent->installEventFilter(this);
}

namespace {

// The click's position in the window of `widget`. Delivered through the window, the event
// keeps there the fractions of a point that a scaled screen gives and the widget's own
// position has lost.
QPointF positionInWindow(const QWidget* widget, const QMouseEvent& event)
{
    const QPointF inWindow = widget->mapTo(widget->window(), event.position());
    const QPointF scene = event.scenePosition();
    return std::abs(scene.x() - inWindow.x()) < 1 && std::abs(scene.y() - inWindow.y()) < 1 ? scene : inWindow;
}

}  // namespace

// Follows its window's minimizing and restoring, and takes the clicks its parent gets at the
// view's edges.
bool GraphicView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watched_ && event->type() == QEvent::WindowStateChange) noteOnScreen();
    if (watched != parentWidget()) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease && edgeClick_) {
        edgeClick_ = false;
        viewMouseUp();
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
    auto* click = static_cast<QMouseEvent*>(event);
    const QPointF inWindow = positionInWindow(parentWidget(), *click);
    const std::optional<PicturePixel> pixel = pixelAt(inWindow);
    if (!pixel || pixel->column < 0 || pixel->row < 0) return false;
    edgeClick_ = takeClick(*click, inWindow);
    return edgeClick_;
}

// The change count is read before the picture is made: a change made meanwhile shows in the
// next picture, if not in this one.
QImage GraphicView::takePicture()
{
    const uint64_t changes = videochanges(window_);
    if (window_ == 0) setverticalblank(0, false);
    QImage picture = t_WindowImage(window_);
    if (window_ == 0) setverticalblank(0, true);
    if (!picture.isNull()) notepictured(window_, changes);
    return picture;
}

// The auto-update process looks after a view only while it is on the screen: shown, and its
// window not minimized.
void GraphicView::noteOnScreen()
{
    setviewonscreen(window_, isVisible() && !window()->isMinimized());
}

void GraphicView::showEvent(QShowEvent*)
{
    if (watched_ != window()) {
        if (watched_ != nullptr) watched_->removeEventFilter(this);
        watched_ = window();
        watched_->installEventFilter(this);
    }
    noteOnScreen();
}

// Hidden by the program, or (spontaneously) by the window system when its window is minimized.
void GraphicView::hideEvent(QHideEvent*)
{
    setviewonscreen(window_, false);
}

// With QuickUpdate the view keeps its last picture when no new one comes, as a layer keeps
// its contents; otherwise it draws only a new picture.
void GraphicView::paintEvent(QPaintEvent*)
{
    if (!memoryInitialized) return;
    bool keepsPicture = wantsupdatelayer(window_);
    QImage picture = takePicture();
    if (!picture.isNull())
        shown_ = picture;
    else if (!keepsPicture)
        shown_ = QImage();
    if (shown_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    drawpicture(painter, size(), shown_);
}

// Modifier keys change the modifier flags only; every other key-down goes to the key handler,
// auto-repeated ones too.
void GraphicView::keyPressEvent(QKeyEvent* event)
{
    if (ismodifierkey(*event)) return setmodifierflags(flagschangedbits(*event));
    TypedKey typed = typedkeyfromqt(*event);
    setmodifierflags(typed.record.modifierFlags);
    if (typed.types)
        viewKeyDown(window_, typed.record);
    else
        keyPressed = true;
}

// A key coming up clears keyPressed, unless the key is only repeating or is a modifier key,
// whose change the modifier flags follow.
void GraphicView::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    if (ismodifierkey(*event)) return setmodifierflags(flagschangedbits(*event));
    viewKeyUp();
}

void GraphicView::mousePressEvent(QMouseEvent* event)
{
    if (!takeClick(*event, positionInWindow(this, *event))) QWidget::mousePressEvent(event);
}

bool GraphicView::takeClick(const QMouseEvent& event, QPointF inWindow)
{
    const bool right = event.button() == Qt::RightButton;
    if (!right && event.button() != Qt::LeftButton) return false;
    MouseEventRecord mouse = clickInWindow(inWindow);
    mouse.buttons = static_cast<uint64_t>(QGuiApplication::mouseButtons() | event.buttons());
    mouse.modifierFlags = pointermodifierbits(event.modifiers());
    viewMouseDown(window_, mouse, right);
    return true;
}

std::optional<PicturePixel> GraphicView::pixelAt(QPointF inWindow) const
{
    t_Window w;
    if (memoryInitialized && graphicwindowexists(window_)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        w = windowTable[window_];
    }
    if (!w.Initialized || w.Width > INT32_MAX || w.Height > INT32_MAX) return std::nullopt;
    return picturepixelunder(inWindow, mapTo(window(), QPointF(0, 0)), devicePixelRatioF(), size(),
                             QSize(int(w.Width), int(w.Height)));
}

// The click's place in the window as the mouse handler reads it, from the picture pixel under
// the click at `inWindow`: the view's place and size in the window say where each picture pixel
// is, so that the handler's columns and rows are picture pixels however the view is scaled.
MouseEventRecord GraphicView::clickInWindow(QPointF inWindow) const
{
    const std::optional<PicturePixel> pixel = pixelAt(inWindow);
    if (!pixel) return MouseEventRecord{inWindow.x(), window()->height() - inWindow.y()};
    t_Window w;
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        w = windowTable[window_];
    }
    auto clip = [](int64_t at, int64_t count) { return at == -2 ? count : at; };
    return MouseEventRecord{double(w.BorderWidth + clip(pixel->column, w.Width)),
                            double(w.Height + w.BorderHeight - clip(pixel->row, w.Height))};
}

void GraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    viewMouseUp();
}

QWidget* makeview(const QString& className, QWidget* parent)
{
    if (className == QLatin1String("View00")) return new View00(parent);
    if (className == QLatin1String("View01")) return new View01(parent);
    if (className == QLatin1String("View02")) return new View02(parent);
    if (className == QLatin1String("View03")) return new View03(parent);
    if (className == QLatin1String("View04")) return new View04(parent);
    if (className == QLatin1String("View05")) return new View05(parent);
    if (className == QLatin1String("View06")) return new View06(parent);
    if (className == QLatin1String("View07")) return new View07(parent);
    return nullptr;
}
