#include "page_encoder.h"

#include "native_name.h"
#include "page_file_names.h"
#include "pelmix.h"
#include "text_data.h"
#include "usr_settings.h"

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

PageEncoder::Cleaning PageEncoder::Cleaning::of(const USR_SETTINGS& s) {
    Cleaning cleaning;
    cleaning.cutBorders = s.CLBR == 1;
    cleaning.straighten = s.CLSK == 1;
    cleaning.turnUpright = s.CLUP == 1;
    cleaning.findBlank = s.CLBL == 1;
    cleaning.blankSensitivity = s.CLBS;
    cleaning.textData = native_name::toBytes(text_data::folder()).toStdString();
    return cleaning;
}

PageEncoder::PageEncoder(QString folder, int quality)
    : PageEncoder(std::move(folder), quality, Cleaning()) {}

PageEncoder::PageEncoder(QString folder, int quality, Cleaning cleaning)
    : folder_(std::move(folder)), quality_(quality), cleaning_(std::move(cleaning)),
      thread_([this] { run(); }) {}

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

bool PageEncoder::takeBlank(const QString& pageName) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = blank_.find(pageName);
    if (found == blank_.end()) {
        return false;
    }
    const file_system::Stamp stamp = found->second;
    blank_.erase(found);
    return file_system::stampOf(folder_ + pageName) == stamp;
}

QString PageEncoder::encodingName(const QString& pageName) {
    return QLatin1Char('.') + pageName + QStringLiteral(".jpg");
}

bool PageEncoder::isEncoding(const QString& name) {
    static const QString suffix = QStringLiteral(".jpg");
    return name.startsWith(QLatin1Char('.')) && name.endsWith(suffix) &&
           page_file_names::isPageFile(name.mid(1, name.size() - 1 - suffix.size()));
}

void PageEncoder::run() {
    for (int k = 0;; ++k) {
        const QString page = folder_ + page_file_names::name(k);
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

bool PageEncoder::clean(const QString& page, const QString& pageName) {
    const QByteArray path = native_name::toBytes(page);
    const file_system::Stamp before = file_system::stampOf(page);
    HGLOBAL image = PelmixFileLoad(path.constData(), "", "");
    if (image == nullptr) {
        return true; // stored, or kept, as it is
    }
    const PELMIX_CLEANING steps{cleaning_.cutBorders,       cleaning_.straighten,
                                cleaning_.turnUpright,      cleaning_.findBlank,
                                cleaning_.blankSensitivity, cleaning_.textData.c_str()};
    PELMIX_CLEANED found{};
    HGLOBAL cleaned = PelmixCleanPage(image, &steps, &found);
    PelmixMemFree(image);
    if (found.BLANK != 0) {
        PelmixMemFree(cleaned);
        const std::lock_guard<std::mutex> lock(mutex_);
        blank_[pageName] = before;
        return false;
    }
    // The library writes the new page beside the old and renames it over it once complete; a
    // page file replaced meanwhile (it never is during a run) keeps what replaced it.
    if (cleaned != nullptr && file_system::stampOf(page) == before) {
        PelmixBmpFileSave(path.constData(), cleaned, "", "", 0);
    }
    PelmixMemFree(cleaned);
    return true;
}

void PageEncoder::encode(int k) {
    const QString pageName = page_file_names::name(k);
    const QString page = folder_ + pageName;
    const QString target = folder_ + encodingName(pageName);
    if (cleaning_.any() && !clean(page, pageName)) {
        return; // blank: set aside, not encoded
    }
    if (quality_ == kNoEncoding) {
        return;
    }
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
