#include "events/views.h"

GraphicView::GraphicView(uint8_t window, QWidget* parent) : QWidget(parent), window_(window) {}

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
