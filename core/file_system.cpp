#include "file_system.h"

#include "file_system_native.h"
#include "upper_ascii.h"

#include <QRegularExpression>
#include <cerrno>
#include <cstring>

namespace file_system {

Result Result::failure(int error) {
    return Result{false, error, QString::fromLocal8Bit(std::strerror(error))};
}

QStringList list(const QString& folder, const QString& pattern) {
    QStringList all;
    if (!native::entries(folder, all)) {
        return {};
    }
    const QRegularExpression wanted(
        pattern.isEmpty() ? QString() : QRegularExpression::wildcardToRegularExpression(pattern));
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList names;
    for (const QString& name : all) {
        if (!pattern.isEmpty() && !wanted.match(name).hasMatch()) {
            continue;
        }
        // A link to nothing still takes its name, as a file would.
        if (isFile(base + name) ||
            (exists(base + name) && !isFolder(base + name) && canonical(base + name).isEmpty())) {
            names += name;
        }
    }
    names.sort();
    return names;
}

QString findName(const QString& folder, const QString& name) {
    if (exists(folder + name)) {
        return name;
    }
    QStringList all;
    if (!native::entries(folder.isEmpty() ? QStringLiteral(".") : folder, all)) {
        return {};
    }
    const QString wanted = UPPER_ASCII(name);
    for (const QString& candidate : all) {
        if (UPPER_ASCII(candidate) == wanted) {
            return candidate;
        }
    }
    return {};
}

Result moveFile(const QString& source, const QString& destination, bool replace) {
    if (!isFile(source) || destination.isEmpty()) {
        return Result::failure(ENOENT);
    }
    Result renamed =
        replace ? renameReplacing(source, destination) : renameNoReplace(source, destination);
    if (renamed || !native::acrossVolumes(renamed)) {
        return renamed;
    }
    // Another file system: a complete copy first, then the source goes. A source that cannot go
    // is found before anything is copied. Should it still refuse, a copy that took a free name
    // goes again, so the file stays where it was, once; a copy that replaced a file stays, so
    // that the replaced file is not lost too, and the failure is told.
    if (const int error = native::removalError(source); error != 0) {
        return Result::failure(error);
    }
    const Result copied = copyFile(source, destination, replace);
    if (!copied) {
        return copied;
    }
    const Result removed = remove(source);
    if (!removed && !replace && exists(source)) {
        remove(destination);
    }
    return removed;
}

} // namespace file_system
