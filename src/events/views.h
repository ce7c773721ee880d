// The views of the graphic windows: View00 ... View07, one class per window number.
#pragma once

#include <QWidget>

#include <cstdint>

class GraphicView : public QWidget {
public:
    GraphicView(uint8_t window, QWidget* parent);
    // The graphic window (0 ... 7) this view belongs to.
    uint8_t windowNumber() const { return window_; }

private:
    uint8_t window_;
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
