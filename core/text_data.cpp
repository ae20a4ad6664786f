#include "text_data.h"

#include "file_system.h"

#include <QCoreApplication>
#include <QLocale>

namespace text_data {

namespace {

const QString kJapanese = QStringLiteral("jpn");
const QString kEnglish = QStringLiteral("eng");
const QString kSuffix = QStringLiteral(".traineddata");

} // namespace

QString folder() {
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty()) {
        return prefix.endsWith(QLatin1Char('/')) ? prefix.chopped(1) : prefix;
    }
    for (const char* candidate :
         {"/usr/share/tesseract-ocr/5/tessdata", "/usr/share/tesseract-ocr/4.00/tessdata"}) {
        if (file_system::isFolder(QString::fromLatin1(candidate))) {
            return QString::fromLatin1(candidate);
        }
    }
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

bool installed(const QString& language) {
    return !language.isEmpty() &&
           file_system::isFile(folder() + QLatin1Char('/') + language + kSuffix);
}

QString package(const QString& language) {
    return QStringLiteral("tesseract-ocr-") + language;
}

QStringList offered() {
    QStringList languages{kJapanese, kEnglish};
    QStringList others;
    for (const QString& name :
         file_system::list(folder() + QLatin1Char('/'), QLatin1Char('*') + kSuffix)) {
        const QString language = name.chopped(kSuffix.size());
        // "osd" finds the direction of the text, and is no language to read.
        if (!languages.contains(language) && language != QLatin1String("osd") &&
            !language.isEmpty()) {
            others += language;
        }
    }
    others.sort();
    return languages + others;
}

QString usable(const QString& chosen) {
    QStringList found;
    for (const QString& language : chosen.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        if (installed(language) && !found.contains(language)) {
            found += language;
        }
    }
    return found.join(QLatin1Char('+'));
}

QString displayName(const QString& language) {
    if (language == kJapanese) {
        return QCoreApplication::translate("text_data", "日本語");
    }
    if (language == kEnglish) {
        return QCoreApplication::translate("text_data", "英語");
    }
    // Tesseract's names are ISO 639-2 codes, some with a script or a variant after "_".
    const QLocale::Language known =
        QLocale::codeToLanguage(language.section(QLatin1Char('_'), 0, 0), QLocale::ISO639Part2);
    if (known == QLocale::AnyLanguage || known == QLocale::C) {
        return language;
    }
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(known), language);
}

} // namespace text_data
