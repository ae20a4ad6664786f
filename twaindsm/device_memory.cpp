#include "device_memory.h"

#include "base_folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>
#include <utility>

namespace twaindsm {

namespace {

// A device has a few dozen options; a file far larger than that is not one of ours.
constexpr qint64 kMaxFileBytes = 1 << 20;
// A preview is the whole glass at 75 dpi or so: an A3 glass is about 900 x 1250 pixels.
constexpr qint64 kMaxPreviewBytes = 64 << 20;
constexpr int kMaxPreviewSide = 8000;
const char* const kPreviewShows = "shows";

// The device's name on the machine that serves it: "test:0" for "net:scanbox:test:0" (or
// "net:[::1]:test:0"); "" for a device of this machine.
std::string remoteName(const std::string& name) {
    if (name.rfind("net:", 0) != 0) {
        return {};
    }
    size_t at = 4;
    if (at < name.size() && name[at] == '[') {
        at = name.find(']', at);
        if (at == std::string::npos) {
            return {};
        }
        ++at;
    } else {
        at = name.find(':', at);
    }
    return at == std::string::npos || at + 1 >= name.size() ? std::string() : name.substr(at + 1);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// The file's values; false when it is not a file of ours.
bool parse(const QByteArray& bytes, QJsonObject& top, std::map<std::string, SaneValue>& values) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return false;
    }
    top = document.object();
    const QJsonValue options = top.value(QStringLiteral("options"));
    if (!top.value(QStringLiteral("device")).isString() || !options.isObject()) {
        return false;
    }
    values.clear();
    const QJsonObject all = options.toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (!it.value().isObject() || it.key().isEmpty() || it.key().contains(QChar(0))) {
            return false;
        }
        const QJsonObject entry = it.value().toObject();
        SaneValue value;
        const QJsonValue text = entry.value(QStringLiteral("text"));
        const QJsonValue numbers = entry.value(QStringLiteral("numbers"));
        if ((!text.isUndefined() && !text.isString()) ||
            (!numbers.isUndefined() && !numbers.isArray())) {
            return false;
        }
        if (text.isString()) {
            if (text.toString().contains(QChar(0))) {
                return false;
            }
            value.text = text.toString().toStdString();
        }
        for (const QJsonValue& n : numbers.toArray()) {
            if (!n.isDouble() || !std::isfinite(n.toDouble())) {
                return false;
            }
            value.numbers.push_back(n.toDouble());
        }
        values[it.key().toStdString()] = value;
    }
    return true;
}

} // namespace

QString DeviceMemory::folder() {
    const std::string config = winport::baseFolder(winport::BaseFolder::Config);
    return config.empty()
               ? QString()
               : QFile::decodeName(QByteArray::fromStdString(config + "/orvana/devices/"));
}

DeviceMemory::DeviceMemory(Device device) : device_(std::move(device)) {}

QString DeviceMemory::path(const char* extension) const {
    // Device names hold ':' and '/' and may hold anything: the file is named by a digest.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(device_.name), QCryptographicHash::Sha1);
    return folder().isEmpty() ? QString()
                              : folder() + QString::fromLatin1(digest.toHex()) + extension;
}

DeviceMemory::Read DeviceMemory::read() {
    values_.clear();
    if (path().isEmpty()) {
        return Read::Nothing;
    }
    auto load = [](const QString& file, QJsonObject& top, std::map<std::string, SaneValue>& into,
                   bool& there) {
        QFile in(file);
        there = in.exists();
        if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxFileBytes) {
            return false;
        }
        return parse(in.read(kMaxFileBytes), top, into);
    };
    QJsonObject top;
    bool there = false;
    if (load(path(), top, values_, there)) {
        return values_.empty() ? Read::Nothing : Read::Values;
    }
    if (there) {
        values_.clear();
        return Read::Damaged;
    }
    // A network device under another host name: the same device there, by vendor and model.
    const std::string remote = remoteName(device_.name);
    if (remote.empty()) {
        return Read::Nothing;
    }
    const QStringList files = QDir(folder()).entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString& name : files) {
        std::map<std::string, SaneValue> found;
        bool exists = false;
        if (load(folder() + name, top, found, exists) &&
            remoteName(top.value(QStringLiteral("device")).toString().toStdString()) == remote &&
            top.value(QStringLiteral("vendor")).toString() == text(device_.vendor) &&
            top.value(QStringLiteral("model")).toString() == text(device_.model)) {
            values_ = std::move(found);
            return values_.empty() ? Read::Nothing : Read::Values;
        }
    }
    return Read::Nothing;
}

bool DeviceMemory::remember(const std::string& option, const SaneValue& value) {
    values_[option] = value;
    return write();
}

bool DeviceMemory::forget(const std::string& option) {
    values_.erase(option);
    return write();
}

bool DeviceMemory::clear() {
    values_.clear();
    return write();
}

bool DeviceMemory::write() const {
    if (path().isEmpty() || !QDir().mkpath(folder())) {
        return false;
    }
    QJsonObject options;
    for (const auto& [name, value] : values_) {
        QJsonObject entry;
        if (!value.text.empty()) {
            entry.insert(QStringLiteral("text"), text(value.text));
        }
        if (!value.numbers.empty()) {
            QJsonArray numbers;
            for (double n : value.numbers) {
                numbers.append(n);
            }
            entry.insert(QStringLiteral("numbers"), numbers);
        }
        options.insert(text(name), entry);
    }
    QJsonObject top{{QStringLiteral("device"), text(device_.name)},
                    {QStringLiteral("vendor"), text(device_.vendor)},
                    {QStringLiteral("model"), text(device_.model)},
                    {QStringLiteral("options"), options}};
    // Written beside the file and renamed over it once complete.
    QSaveFile out(path());
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray bytes = QJsonDocument(top).toJson();
    return out.write(bytes) == bytes.size() && out.commit();
}

bool DeviceMemory::keepPreview(const QImage& picture, const QString& shows) const {
    if (path().isEmpty() || picture.isNull() || !QDir().mkpath(folder())) {
        return false;
    }
    QSaveFile out(path(".png"));
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    QImageWriter writer(&out, "png");
    writer.setText(QString::fromLatin1(kPreviewShows), shows);
    return writer.write(picture) && out.commit();
}

QImage DeviceMemory::keptPreview(const QString& shows) const {
    const QString file = path(".png");
    // Only a plain file of a sensible size: not a FIFO that would never end, nor a huge one.
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || info.size() > kMaxPreviewBytes) {
        return {};
    }
    QImageReader reader(file, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPreviewSide || size.height() > kMaxPreviewSide ||
        reader.text(QString::fromLatin1(kPreviewShows)) != shows) {
        return {};
    }
    return reader.read();
}

} // namespace twaindsm
