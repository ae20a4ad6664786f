#include "page_encoder.h"

#include "native_name.h"
#include "page_file_names.h"
#include "pelmix.h"
#include "text_data.h"
#include "usr_settings.h"

#include <chrono>
#include <memory>
#include <utility>

namespace {

// How often the folder is looked at while the scanner is on a page; a page takes far longer.
constexpr std::chrono::milliseconds kLookEvery{10};

// A page image, freed when its owner goes.
struct ImageFree {
    void operator()(void* image) const { PelmixMemFree(static_cast<HGLOBAL>(image)); }
};
using OwnedImage = std::unique_ptr<void, ImageFree>;

// Writes the JPEG of image to target; false for pages that are neither grey nor colour, or when
// the save fails.
bool encodeImage(HGLOBAL image, const QString& target, int quality) {
    IMAGE_INFO info{};
    return PelmixImageInfo(image, &info) != 0 &&
           (info.COLOR_TYPE == PELMIX_256_GREYS || info.COLOR_TYPE == PELMIX_FULL_COLOUR) &&
           PelmixJpegFileSave(native_name::toBytes(target).constData(), image, "", "", quality,
                              info.COLOR_TYPE == PELMIX_256_GREYS ? 1 : 0) != 0;
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

void* PageEncoder::clean(void* image, bool& blank) const {
    const PELMIX_CLEANING steps{cleaning_.cutBorders,       cleaning_.straighten,
                                cleaning_.turnUpright,      cleaning_.findBlank,
                                cleaning_.blankSensitivity, cleaning_.textData.c_str()};
    PELMIX_CLEANED found{};
    HGLOBAL cleaned = PelmixCleanPage(static_cast<HGLOBAL>(image), &steps, &found);
    blank = found.BLANK != 0;
    if (blank) {
        PelmixMemFree(cleaned);
        return nullptr;
    }
    return cleaned;
}

void PageEncoder::encode(int k) {
    const QString pageName = page_file_names::name(k);
    const QString page = folder_ + pageName;
    const QString target = folder_ + encodingName(pageName);
    const QByteArray path = native_name::toBytes(page);
    // The library writes each page file under another name and renames it when complete, so
    // the file seen is whole; a stamp that changes meanwhile means it was replaced.
    file_system::Stamp source = file_system::stampOf(page);
    OwnedImage image(PelmixFileLoad(path.constData(), "", ""));
    if (!image) {
        return; // stored, or kept, as it is
    }
    if (cleaning_.any()) {
        bool blank = false;
        OwnedImage cleaned(clean(image.get(), blank));
        if (blank) {
            const std::lock_guard<std::mutex> lock(mutex_);
            blank_[pageName] = source;
            return; // set aside by the store, not encoded
        }
        // The cleaned page is written beside the old and renamed over it once complete; until
        // then, and if it cannot be written, the page file is the page as scanned, and what is
        // encoded is what the file holds.
        if (cleaned && file_system::stampOf(page) == source &&
            PelmixBmpFileSave(path.constData(), static_cast<HGLOBAL>(cleaned.get()), "", "", 0) !=
                0) {
            image = std::move(cleaned);
            source = file_system::stampOf(page);
        }
    }
    if (quality_ == kNoEncoding) {
        return;
    }
    if (!encodeImage(static_cast<HGLOBAL>(image.get()), target, quality_) ||
        file_system::stampOf(page) != source) {
        file_system::remove(target);
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    ready_[pageName] = Encoding{target, source};
}
