#include "events/views.h"

#include "events/view_events.h"
#include "platform/key_events.h"
#include "vxtools.h"
#include "windows/video_changes.h"
#include "windows/window_table.h"
#include "windows/window_update.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

GraphicView::GraphicView(uint8_t window, QWidget* parent) : QWidget(parent), window_(window)
{
    setFocusPolicy(Qt::StrongFocus);
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

bool GraphicView::eventFilter(QObject* object, QEvent* event)
{
    if (object == watched_ && event->type() == QEvent::WindowStateChange) noteOnScreen();
    return QWidget::eventFilter(object, event);
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
    painter.drawImage(rect(), shown_);
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
    bool right = event->button() == Qt::RightButton;
    if (!right && event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    QPointF inWindow = mapTo(window(), event->position());
    MouseEventRecord mouse{inWindow.x(), window()->height() - inWindow.y(),
                           static_cast<uint64_t>(QGuiApplication::mouseButtons() | event->buttons()),
                           pointermodifierbits(event->modifiers())};
    viewMouseDown(window_, mouse, right);
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
