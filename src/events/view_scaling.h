// How a view shows its window's picture on the screen's device pixels, and which picture pixel
// lies under a click. Both follow one rule, so that a click reports the pixel it was made on
// at every scale of the screen (1, 1.5, 2, ...) and in a view smaller or larger than the
// picture: a device pixel shows the picture pixel under its centre.
#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include <cstdint>

class QPainter;

// The device pixels a view covers along one axis: from `first`, `size` of them.
struct DeviceSpan {
    int64_t first = 0;
    int64_t size = 0;
};

// The span of a view whose edges lie at `start` and `start + length` points of its window on
// a screen of `ratio` device pixels per point. Edges are rounded to the nearest device pixel,
// halves upward, as the painter places an image.
DeviceSpan devicespan(double start, double length, double ratio);

// The picture pixel (of `count`) that device pixel `device` of a span of `span` device pixels
// shows: the one under its centre. -1 before the span, -2 at or beyond its end.
int64_t picturepixelat(int64_t device, int64_t span, int64_t count);

// Paints `picture` over the whole of a view of `size` points with `painter`, one picture pixel
// per device pixel chosen by `picturepixelat` (nearest neighbour, no smoothing).
void drawpicture(QPainter& painter, const QSize& size, const QImage& picture);

// The picture pixel (column, row; -1 before, -2 beyond the picture) under a click at
// `inWindow` points of the window, in a view of `size` points whose top left corner lies at
// `offset` points in the window, on a screen of `ratio` device pixels per point.
struct PicturePixel {
    int64_t column = 0;
    int64_t row = 0;
};
PicturePixel picturepixelunder(QPointF inWindow, QPointF offset, double ratio, const QSize& size,
                               const QSize& picture);
