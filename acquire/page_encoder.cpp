#include "page_encoder.h"

#include "native_name.h"
#include "page_store.h"
#include "pelmix.h"

#include <chrono>
#include <utility>

namespace {

// How often the folder is looked at while the scanner is on a page; a page takes far longer.
constexpr std::chrono::milliseconds kLookEvery{10};

// Loads the page file and writes its JPEG to target; false for pages that are neither grey nor
// colour, or when either step fails.
bool encodeFile(const QString& page, const QString& target, int quality) {
    HGLOBAL image = PelmixFileLoad(native_name::toBytes(page).constData(), "", "");
    IMAGE_INFO info{};
    bool saved = false;
    if (image != nullptr && PelmixImageInfo(image, &info) != 0 &&
        (info.COLOR_TYPE == PELMIX_256_GREYS || info.COLOR_TYPE == PELMIX_FULL_COLOUR)) {
        saved = PelmixJpegFileSave(native_name::toBytes(target).constData(), image, "", "", quality,
                                   info.COLOR_TYPE == PELMIX_256_GREYS ? 1 : 0) != 0;
    }
    PelmixMemFree(image);
    return saved;
}

} // namespace

PageEncoder::PageEncoder(QString folder, int quality)
    : folder_(std::move(folder)), quality_(quality), thread_([this] { run(); }) {}

PageEncoder::~PageEncoder() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    for (const auto& entry : ready_) {
        file_system::remove(entry.second.path);
    }
}

void PageEncoder::finish(int count) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        delivered_ = count;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

QString PageEncoder::take(const QString& pageName, int quality) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = ready_.find(pageName);
    if (found == ready_.end()) {
        return QString();
    }
    const Encoding encoding = found->second;
    ready_.erase(found);
    if (quality != quality_ || file_system::stampOf(folder_ + pageName) != encoding.source) {
        file_system::remove(encoding.path);
        return QString();
    }
    return encoding.path;
}

QString PageEncoder::encodingName(const QString& pageName) {
    return QLatin1Char('.') + pageName + QStringLiteral(".jpg");
}

bool PageEncoder::isEncoding(const QString& name) {
    static const QString suffix = QStringLiteral(".jpg");
    return name.startsWith(QLatin1Char('.')) && name.endsWith(suffix) &&
           PageStore::isPageFile(name.mid(1, name.size() - 1 - suffix.size()));
}

void PageEncoder::run() {
    for (int k = 0;; ++k) {
        const QString page = folder_ + PageStore::pageFileName(k);
        std::unique_lock<std::mutex> lock(mutex_);
        // Waits for page k while the batch goes on.
        while (!stopping_ && delivered_ < 0 && !file_system::isFile(page)) {
            wake_.wait_for(lock, kLookEvery);
        }
        if (stopping_ || (delivered_ >= 0 && k >= delivered_)) {
            return;
        }
        if (!file_system::isFile(page)) {
            continue; // the batch is over, and this page went elsewhere
        }
        lock.unlock();
        encode(k);
    }
}

void PageEncoder::encode(int k) {
    const QString pageName = PageStore::pageFileName(k);
    const QString page = folder_ + pageName;
    const QString target = folder_ + encodingName(pageName);
    // The library writes each page file under another name and renames it when complete, so
    // the file seen is whole; a stamp that changes meanwhile means it was replaced.
    const file_system::Stamp before = file_system::stampOf(page);
    if (!encodeFile(page, target, quality_) || file_system::stampOf(page) != before) {
        file_system::remove(target);
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    ready_[pageName] = Encoding{target, before};
}
