#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vesko {
namespace {

void install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), name, QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace

void installTranslations(QCoreApplication& app) {
    install(app, QStringLiteral("vesko"), QStringLiteral(":/i18n"));
    install(app, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace vesko
