// The picture of a graphic window: its video memory as a QImage, built in one pass.
#include "platform/clock.h"
#include "platform/log.h"
#include "windows/window_image.h"
#include "windows/window_lookup.h"
#include "windows/window_table.h"

#include <QImage>

namespace {

// Fills `image` with the picture of record `w`, with video memory held still meanwhile.
bool convertedPicture(const t_Window& w, QImage& image)
{
    auto* pixels = reinterpret_cast<uint32_t*>(image.bits());  // detaches before the lock
    VideoMemoryGuard reading(VideoMemoryGuard::Use::read);
    return convertpicture(w, pixels, static_cast<size_t>(image.bytesPerLine()) / 4);
}

}  // namespace

QImage t_WindowImage(uint8_t window)
{
    if (!memoryInitialized || window > 7) return {};
    std::lock_guard<std::mutex> guard(windowRecordLock);
    t_Window& w = windowTable[window];
    if (!w.Initialized) {
        logline("t_WindowImage: Graphic window #" + std::to_string(window) + " not initialized.");
        return {};
    }
    if (!w.Visible) return {};
    const double start = absolutetime();
    QImage image(static_cast<int>(w.Width), static_cast<int>(w.Height), QImage::Format_RGB32);
    if (image.isNull() || !convertedPicture(w, image)) {
        logline("t_WindowImage: Data could not be collected, image could not be created.");
        return {};
    }
    const double end = absolutetime();
    w.UpdateDuration = static_cast<int64_t>(end * 1000000) - static_cast<int64_t>(start * 1000000);
    w.UpdateFinished = static_cast<int64_t>(absolutetime() * 1000);
    return image;
}

QImage windowNSImage(uint8_t window)
{
    if (window > 7 || windowobject(window) == nullptr) return {};
    return t_WindowImage(window);
}
