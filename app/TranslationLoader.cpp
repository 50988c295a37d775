#include "app/TranslationLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void CTranslationLoader::Install(QCoreApplication& app, const QString& language)
{
    const QString lang = language.isEmpty() ? QLocale::system().name() : language;
    if (lang.startsWith(QLatin1String("en")))
        return;
    const QStringList catalogues =
            QDir(QStringLiteral(":/i18n")).entryList({ QStringLiteral("*_%1.qm").arg(lang) });
    for (const QString& name : catalogues) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral(":/i18n/") + name))
            app.installTranslator(translator);
    }
    auto* qtTranslator = new QTranslator(&app);
    if (qtTranslator->load(QStringLiteral("qtbase_") + lang,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTranslator);
}
