#include "program_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ProgramLanguage::Language ProgramLanguage::forDesktop(const QStringList& uiLanguages) {
    for (const QString& tag : uiLanguages) {
        const QString language =
            tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
        if (language.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0) {
            return English;
        }
        if (language.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0) {
            return Japanese;
        }
    }
    return Japanese;
}

bool ProgramLanguage::install(Language language) {
    if (language == English) {
        // Qt's own texts are English as they stand.
        return program_.load(QStringLiteral(":/translations/orvana_en.qm")) &&
               QCoreApplication::installTranslator(&program_);
    }
    return qt_.load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&qt_);
}
