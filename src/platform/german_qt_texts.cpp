#include "platform/german_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

void usegermanqttexts()
{
    static QPointer<QTranslator> installed;  // gone with the application it was made for
    if (installed != nullptr || QCoreApplication::instance() == nullptr) return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}
