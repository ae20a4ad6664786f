#include "find_last_number.h"

#include "file_system.h"
#include "page_name.h"
#include "page_store_messages.h"
#include "program.h"

#include <QStringList>
#include <algorithm>

namespace {

// What the automatic names end in: the pictures a run stores and the documents it makes.
const QStringList& pictureExtensions() {
    static const QStringList extensions{QStringLiteral(".bmp"),  QStringLiteral(".jpg"),
                                        QStringLiteral(".jpeg"), QStringLiteral(".tif"),
                                        QStringLiteral(".tiff"), QStringLiteral(".pdf")};
    return extensions;
}

// The wildcard match "<prefix>*<extension>" as the file system does it: letter case ignored.
// Done by hand so that a prefix holding "*", "?" or "[" is taken literally.
bool matchesPattern(const QString& name, const QString& prefix) {
    if (!name.startsWith(prefix, Qt::CaseInsensitive))
        return false;
    for (const QString& extension : pictureExtensions()) {
        if (name.size() >= prefix.size() + extension.size() &&
            name.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool allDigits(QStringView text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

int FIND_LAST_NUMBER(Program& program, int32_t& lastNumber) {
    const int digits = page_name::clampDigits(program.settings);
    const QString& prefix = program.settings.NTOP;

    QStringList names;
    for (const QString& name : file_system::list(program.ACQ_DIR)) {
        if (matchesPattern(name, prefix))
            names += name;
    }

    // The first number beyond the plain range is only ever written after a digit overflow; a
    // later run that started below it would overwrite what followed.
    const QString beyond = prefix + QLatin1Char('1') + page_name::zeroMask(digits);
    for (const QString& name : names) {
        for (const QString& extension : pictureExtensions()) {
            if (name == beyond + extension) {
                program.prompter.message(nullptr,
                                         page_store_messages::noNameLeft(program.APP_TITLE));
                return -1;
            }
        }
    }

    int32_t last = 0;
    for (const QString& name : names) {
        if (!name.startsWith(prefix, Qt::CaseSensitive))
            continue;
        const QStringView rest = QStringView(name).mid(prefix.size());
        if (rest.size() <= digits || rest[digits] != QLatin1Char('.'))
            continue;
        const QStringView number = rest.left(digits);
        if (!allDigits(number))
            continue;
        last = std::max(last, static_cast<int32_t>(number.toInt()));
    }
    lastNumber = last;
    return 0;
}

bool STARTING_NUMBER(Program& program, int64_t& lastNumber) {
    if (program.settings.NBMD != 0) {
        lastNumber = std::max<int64_t>(int64_t(program.settings.NBNB) - 1, -1);
        return true;
    }
    int32_t last = 0;
    if (FIND_LAST_NUMBER(program, last) < 0) {
        return false;
    }
    lastNumber = last;
    return true;
}
