#include "platform/clipboard.h"

#include "vxtools.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

std::string clipboardtext()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard == nullptr ? std::string() : clipboard->text().toStdString();
}

void setclipboardtext(const std::string& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(QString::fromStdString(text));
    }
}

bool copywindowpicture(uint8_t window)
{
    QImage picture = windowNSImage(window);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (picture.isNull() || clipboard == nullptr) return false;
    clipboard->clear();
    clipboard->setImage(picture);
    return true;
}
