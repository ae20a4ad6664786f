#include "default_source_store.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace twaindsm {

namespace {

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orvana");
}

// A product name is at most 33 bytes; anything longer in the file is not ours.
constexpr qint64 maxFileBytes = 256;

} // namespace

std::string DefaultSourceStore::filePath() {
    return (folder() + QStringLiteral("/twain-default-source")).toStdString();
}

std::string DefaultSourceStore::load() {
    QFile file(QString::fromStdString(filePath()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray text = file.read(maxFileBytes);
    const qsizetype end = text.indexOf('\n');
    if (end >= 0)
        text.truncate(end);
    if (text.endsWith('\r'))
        text.chop(1);
    return text.toStdString();
}

bool DefaultSourceStore::save(const std::string& productName) {
    if (!QDir().mkpath(folder()))
        return false;
    QSaveFile file(QString::fromStdString(filePath()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray::fromStdString(productName));
    file.write("\n");
    return file.commit();
}

} // namespace twaindsm
