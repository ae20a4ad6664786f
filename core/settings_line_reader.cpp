#include "settings_line_reader.h"

#include "native_name.h"

#include <QByteArray>
#include <QIODevice>

bool SettingsLineReader::next(QString& line) {
    QByteArray bytes(maxLineBytes + 1, Qt::Uninitialized);
    qint64 length = device_.readLine(bytes.data(), bytes.size());
    if (length <= 0) {
        return false;
    }
    bytes.truncate(length);

    if (bytes.endsWith('\n')) {
        bytes.chop(1);
    } else {
        // Cut off by the length limit: drop the rest of this line.
        char rest[4096];
        qint64 got = 0;
        while ((got = device_.readLine(rest, sizeof rest)) > 0 && rest[got - 1] != '\n') {
        }
    }
    if (bytes.endsWith('\r')) {
        bytes.chop(1);
    }
    // Bytes the locale cannot read are kept as they are, for the save to write them back.
    line = native_name::fromBytes(bytes);
    return true;
}
