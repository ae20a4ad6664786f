#include "default_source_store.h"

#include "base_folders.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace twaindsm {

namespace {

// The folder as the system's bytes; "" when the user has no configuration folder: nothing is
// stored then.
std::string folder() {
    const std::string config = winport::baseFolder(winport::BaseFolder::Config);
    return config.empty() ? std::string() : config + "/orvana";
}

QString named(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A product name is at most 33 bytes; anything longer in the file is not ours.
constexpr qint64 maxFileBytes = 256;

} // namespace

std::string DefaultSourceStore::filePath() {
    const std::string base = folder();
    return base.empty() ? std::string() : base + "/twain-default-source";
}

std::string DefaultSourceStore::load() {
    QFile file(named(filePath()));
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
    if (folder().empty() || !QDir().mkpath(named(folder())))
        return false;
    QSaveFile file(named(filePath()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray::fromStdString(productName));
    file.write("\n");
    return file.commit();
}

} // namespace twaindsm
