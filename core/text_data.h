// Tesseract's data for reading the words on pictures: where it is, which languages it holds and
// which package brings a missing one. The languages are Tesseract's names ("jpn", "eng");
// several are written "jpn+eng".
#pragma once

#include <QString>
#include <QStringList>

namespace text_data {

// TESSDATA_PREFIX when set (Tesseract's own variable), else the folder the packages fill.
QString folder();

// Whether the data of language is there.
bool installed(const QString& language);

// The Debian package of language's data ("tesseract-ocr-jpn").
QString package(const QString& language);

// The languages the settings offer: Japanese and English always, then every other language the
// data holds, in name order.
QStringList offered();

// The languages of chosen ("jpn+eng") whose data is there, joined the same way; "" when none.
QString usable(const QString& chosen);

// The name of language for the user ("日本語", "英語", or Qt's own name of it).
QString displayName(const QString& language);

} // namespace text_data
