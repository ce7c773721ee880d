// The views of the graphic windows: View00 ... View07, one class per window number. A view
// shows its window's picture scaled to its size without smoothing, and hands key-downs and
// mouse-downs on with its window number.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "events/view_scaling.h"

#include <cstdint>
#include <optional>

struct MouseEventRecord;

class GraphicView : public QWidget {
public:
    GraphicView(uint8_t window, QWidget* parent);
    // The graphic window (0 ... 7) this view belongs to.
    uint8_t windowNumber() const { return window_; }
    // The picture the view showed last.
    const QImage& shownPicture() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Watches its window for being minimized and restored.
    bool eventFilter(QObject* object, QEvent* event) override;
    // Tab and Shift-Tab are keys of the program, not moves of the keyboard focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    // A new picture of the window, with window 0's VerticalBlank false while it is made.
    QImage takePicture();
    // Where a click at `inWindow` (points in the window) lies for the mouse handler.
    MouseEventRecord clickInWindow(QPointF inWindow) const;
    // The picture pixel shown at `inWindow`; none while the window is not created.
    std::optional<PicturePixel> pixelAt(QPointF inWindow) const;
    // Hands a left or right click at `inWindow` to the mouse handler; false for other buttons.
    bool takeClick(const QMouseEvent& event, QPointF inWindow);
    void noteOnScreen();

    uint8_t window_;
    QImage shown_;
    bool edgeClick_ = false;  // a press taken from the parent, whose release ends it
    QPointer<QWidget> watched_;  // the window whose state changes the view follows
};

#define VX_VIEW_CLASS(Name, Number)                                                     \
    class Name : public GraphicView {                                                   \
    public:                                                                             \
        explicit Name(QWidget* parent = nullptr) : GraphicView(Number, parent) {}       \
    };

VX_VIEW_CLASS(View00, 0)
VX_VIEW_CLASS(View01, 1)
VX_VIEW_CLASS(View02, 2)
VX_VIEW_CLASS(View03, 3)
VX_VIEW_CLASS(View04, 4)
VX_VIEW_CLASS(View05, 5)
VX_VIEW_CLASS(View06, 6)
VX_VIEW_CLASS(View07, 7)

#undef VX_VIEW_CLASS

// A new view for the class name "View00" ... "View07"; null for any other name.
QWidget* makeview(const QString& className, QWidget* parent);
