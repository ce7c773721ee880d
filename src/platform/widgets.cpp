#include "platform/widgets.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

QPointer<QWidget> lastActivated;

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
    widget->resize(std::max(0, int(width)), std::max(0, int(height)));
}

void setwidgetorigin(QWidget* widget, double x, double y)
{
    if (widget == nullptr) return;
    int parentHeight = widget->parentWidget() ? widget->parentWidget()->height() : 0;
    widget->move(int(x), parentHeight - int(y) - widget->height());
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

void hidewindow(QWidget* window)
{
    if (window != nullptr) window->hide();
}

void quitapplication()
{
    if (QCoreApplication::instance() != nullptr) QCoreApplication::quit();
}
