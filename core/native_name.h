// File names and other text kept as the bytes they are. A name on disk is a string of bytes; the
// usual decoding turns bytes that are not valid UTF-8 (Latin-1 or Shift-JIS names from old
// archives) into U+FFFD and the file can no longer be opened. Here each such byte becomes a lone
// code point U+DC80 + byte (the "surrogate escape" scheme), so that toBytes gives back exactly the
// bytes that fromBytes was given, and valid UTF-8 reads as usual.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace native_name {

QString fromBytes(QByteArrayView bytes);
QByteArray toBytes(QStringView text);

// Whether text carries escaped bytes.
bool hasEscapes(QStringView text);

// The text for the screen: escaped bytes read as Shift-JIS when they form valid Shift-JIS, else as
// Latin-1; text without escaped bytes is returned as it is.
QString forDisplay(const QString& text);

// A path for a message box: as forDisplay, and a path longer than maxLength characters keeps its
// beginning and its end with "…" between them, so that the box stays within the screen.
QString forMessage(const QString& path, qsizetype maxLength = 260);

} // namespace native_name
