#include "events/view_scaling.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace {

constexpr double pointerAllowance = 1.0 / 1024;

int64_t nearestDevicePixel(double position)
{
    return static_cast<int64_t>(std::floor(position + 0.5));
}

// The picture pixel shown by each of `span` device pixels.
std::vector<int> pixelTable(int64_t span, int64_t count)
{
    std::vector<int> table(static_cast<size_t>(std::max<int64_t>(span, 0)));
    for (int64_t device = 0; device < span; ++device) table[size_t(device)] = int(picturepixelat(device, span, count));
    return table;
}

// `picture` at `columns` x `rows` device pixels, each showing the pixel under its centre.
QImage scaledPicture(const QImage& picture, int64_t columns, int64_t rows)
{
    QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage scaled(int(columns), int(rows), QImage::Format_RGB32);
    const std::vector<int> xs = pixelTable(columns, source.width()), ys = pixelTable(rows, source.height());
    for (int y = 0; y < int(rows); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(ys[size_t(y)]));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < int(columns); ++x) to[x] = from[xs[size_t(x)]];
    }
    return scaled;
}

}  // namespace

DeviceSpan devicespan(double start, double length, double ratio)
{
    const int64_t first = nearestDevicePixel(start * ratio);
    return DeviceSpan{first, std::max<int64_t>(0, nearestDevicePixel((start + length) * ratio) - first)};
}

int64_t picturepixelat(int64_t device, int64_t span, int64_t count)
{
    if (device < 0) return -1;
    if (device >= span || span <= 0) return -2;
    return static_cast<int64_t>((static_cast<__int128>(2 * device + 1) * count) / (2 * static_cast<__int128>(span)));
}

void drawpicture(QPainter& painter, const QSize& size, const QImage& picture)
{
    const QTransform device = painter.deviceTransform();
    const double ratio = device.m11() > 0 ? device.m11() : 1.0;
    const DeviceSpan columns = devicespan(device.dx() / ratio, size.width(), ratio);
    const DeviceSpan rows = devicespan(device.dy() / ratio, size.height(), ratio);
    if (columns.size == picture.width() && rows.size == picture.height() && ratio == 1.0) {
        painter.drawImage(QPointF(0, 0), picture);
        return;
    }
    if (columns.size <= 0 || rows.size <= 0 || picture.isNull()) return;
    QImage scaled = scaledPicture(picture, columns.size, rows.size);
    scaled.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), scaled);  // lands on the nearest device pixel, as the span's edges do
}

PicturePixel picturepixelunder(QPointF inWindow, QPointF offset, double ratio, const QSize& size, const QSize& picture)
{
    const DeviceSpan columns = devicespan(offset.x(), size.width(), ratio);
    const DeviceSpan rows = devicespan(offset.y(), size.height(), ratio);
    // The device pixel the pointer is on; the small allowance takes away the error of the
    // division by the ratio when the pointer sits on whole device pixels.
    const int64_t x = static_cast<int64_t>(std::floor(inWindow.x() * ratio + pointerAllowance));
    const int64_t y = static_cast<int64_t>(std::floor(inWindow.y() * ratio + pointerAllowance));
    return PicturePixel{picturepixelat(x - columns.first, columns.size, picture.width()),
                        picturepixelat(y - rows.first, rows.size, picture.height())};
}
