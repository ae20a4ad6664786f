#include "page_store.h"

#include "browsing.h"
#include "desktop_trash.h"
#include "file_system.h"
#include "find_last_number.h"
#include "kept_pages.h"
#include "native_name.h"
#include "page_encoder.h"
#include "page_file_names.h"
#include "page_name.h"
#include "page_store_messages.h"
#include "pelmix.h"
#include "program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>

namespace {

constexpr int kJpeg = 1;
constexpr int kTiffNone = 2;
constexpr int kTiffPackBits = 3;
constexpr int kTiffGroup4 = 4;
constexpr int kDocument = 5;

int32_t tiffCompression(int saveFormat) {
    switch (saveFormat) {
    case kTiffPackBits:
        return PELMIX_TIFF_PACKBITS;
    case kTiffGroup4:
        return PELMIX_TIFF_GROUP4;
    default:
        return PELMIX_TIFF_NONE;
    }
}

} // namespace

PageStore::PageStore(Program& program, KeptPages& kept) : program_(program), kept_(kept) {}

PageStore::~PageStore() {
    endStep();
}

void PageStore::beginStep() {
    savedFormat_ = program_.settings.SVMD;
    inStep_ = true;
    jpegFallbackShown_ = false;
    group4FallbackShown_ = false;
}

void PageStore::endStep() {
    if (!inStep_)
        return;
    program_.settings.SVMD = savedFormat_;
    inStep_ = false;
}

void PageStore::checkDigitOverflow(int64_t nextNumber) {
    const int digits = page_name::clampDigits(program_.settings);
    if (nextNumber == page_name::largestPlainNumber(digits) + 1)
        program_.prompter.message(nullptr, page_store_messages::digitOverflow(program_.APP_TITLE));
}

QString PageStore::destination(const QString& extension, int64_t& nextNumber) {
    if (stopped_)
        return QString();
    const int digits = page_name::clampDigits(program_.settings);
    auto form = [&] {
        return program_.ACQ_DIR + program_.settings.NTOP +
               page_name::formatNumber(nextNumber, digits) + extension;
    };
    // Serial numbers are 32-bit: NBNB could not carry the next one on.
    auto beyondLimit = [&] {
        if (nextNumber <= INT32_MAX)
            return false;
        program_.prompter.message(nullptr, page_store_messages::noNameLeft(program_.APP_TITLE));
        stopped_ = true;
        return true;
    };
    if (beyondLimit())
        return QString();
    // The settings may have changed while the source's window was open: a name that would not
    // stay in the folder keeps the page instead.
    if (!page_name::prefixUsable(program_.settings.NTOP)) {
        program_.prompter.message(nullptr, page_store_messages::prefixUnusable(
                                               program_.APP_TITLE, program_.settings.NTOP));
        stopped_ = true;
        return QString();
    }
    QString target = form();
    if (!file_system::exists(target))
        return target;

    int32_t last = 0;
    if (FIND_LAST_NUMBER(program_, last) < 0) {
        stopped_ = true;
        return QString();
    }
    const int64_t before = nextNumber;
    nextNumber = int64_t(last) + 1;
    if (nextNumber != before)
        checkDigitOverflow(nextNumber);
    // Not tested again: the rescan's number is beyond every automatic name present.
    return form();
}

QString PageStore::keepPage(const QString& page) {
    kept_.keep(page);
    return QString();
}

bool PageStore::setAsideBlank(const QString& page, const QString& pageName) {
    // In the trash under a name that says what it is (and opens as the picture it is), put back
    // in the acquisition folder by any file manager.
    int number = 0;
    page_file_names::isPageFile(pageName, &number);
    const QString named =
        program_.ACQ_DIR + QCoreApplication::translate("PageStore", "%1白紙%2.bmp")
                               .arg(program_.settings.NTOP)
                               .arg(number + 1, 3, 10, QLatin1Char('0'));
    const QString trashed = file_system::renameNoReplace(page, named) ? named : page;
    if (desktop_trash::moveToTrash(trashed).ok) {
        ++setAside_;
        return true;
    }
    // Not in the trash: the page is stored after all, under its page file's name again.
    if (trashed != page && !file_system::renameNoReplace(trashed, page))
        kept_.keep(trashed);
    return false;
}

QString PageStore::storePage(int k, int64_t& nextNumber) {
    return storePageFile(page_file_names::name(k), nextNumber);
}

QString PageStore::storePageFile(const QString& pageName, int64_t& nextNumber) {
    const QString page = program_.ACQ_DIR + pageName;
    if (!file_system::isFile(page))
        return QString();
    if (stopped_)
        return keepPage(page);
    if (encoder_ != nullptr && encoder_->takeBlank(pageName) && setAsideBlank(page, pageName))
        return QString();

    checkDigitOverflow(nextNumber);
    for (;;) {
        int format = program_.settings.SVMD;
        // An encoding exists only of grey and colour pages: a document keeps them as JPEG too.
        QString encoding;
        if (encoder_ != nullptr && (format == kJpeg || format == kDocument))
            encoding = encoder_->take(pageName, program_.settings.JPGP);
        if (!encoding.isEmpty())
            format = kJpeg;
        else if (format == kDocument)
            format = documentPageFormat(page);
        const QString target = destination(page_name::extensionFor(format), nextNumber);
        if (target.isEmpty()) {
            if (!encoding.isEmpty())
                file_system::remove(encoding);
            return keepPage(page);
        }
        const QString name = QFileInfo(target).fileName();

        if (!encoding.isEmpty()) {
            if (file_system::renameNoReplace(encoding, target)) {
                releaseWorkImage();
                file_system::remove(page); // as after a conversion: the page is stored now
                return name;
            }
            file_system::remove(encoding); // encoded again below
        }

        if (format == 0) {
            if (file_system::renameNoReplace(page, target))
                return name;
            return keepPage(page);
        }
        switch (convert(page, target, name, format)) {
        case Outcome::Stored:
            return name;
        case Outcome::Kept:
            return keepPage(page);
        case Outcome::Retry:
            break; // the step's format changed: name the page again under the new rules
        }
    }
}

int PageStore::documentPageFormat(const QString& page) {
    // Pages that become one PDF are kept meanwhile in the form the document embeds as it stands
    // (JPEG) or encodes the same way (black and white); the rest, palette pictures, as they came.
    HGLOBAL image = PelmixFileLoad(native_name::toBytes(page).constData(), "", "");
    IMAGE_INFO info{};
    const int type = image != nullptr && PelmixImageInfo(image, &info) != 0 ? info.COLOR_TYPE : -1;
    PelmixMemFree(image);
    return type == PELMIX_256_GREYS || type == PELMIX_FULL_COLOUR ? kJpeg
           : type == PELMIX_TWO_COLOUR                            ? kTiffGroup4
                                                                  : 0;
}

void PageStore::releaseWorkImage() {
    HGLOBAL& work = browsing::workImage(program_);
    if (work != nullptr) {
        PelmixMemFree(work);
        work = nullptr;
    }
}

PageStore::Outcome PageStore::convert(const QString& page, const QString& target,
                                      const QString& name, int format) {
    releaseWorkImage();
    HGLOBAL& work = browsing::workImage(program_);
    HGLOBAL image = PelmixFileLoad(native_name::toBytes(page).constData(), "", "");
    IMAGE_INFO info{};
    if (image == nullptr || PelmixImageInfo(image, &info) == 0) {
        PelmixMemFree(image);
        return Outcome::Kept;
    }

    USR_SETTINGS& settings = program_.settings;
    const int type = info.COLOR_TYPE;
    if (format == kJpeg && type != PELMIX_256_GREYS && type != PELMIX_FULL_COLOUR) {
        if (!jpegFallbackShown_)
            program_.prompter.message(nullptr,
                                      page_store_messages::jpegFallback(program_.APP_TITLE, type));
        jpegFallbackShown_ = true;
        PelmixMemFree(image);
        if (settings.SVMD == format)
            settings.SVMD = 0;
        return Outcome::Retry;
    }
    if (format == kTiffGroup4 && type != PELMIX_TWO_COLOUR) {
        if (!group4FallbackShown_)
            program_.prompter.message(
                nullptr, page_store_messages::group4Fallback(program_.APP_TITLE, type));
        group4FallbackShown_ = true;
        PelmixMemFree(image);
        if (settings.SVMD == format)
            settings.SVMD = kTiffNone;
        return Outcome::Retry;
    }

    work = image;
    const QByteArray path = native_name::toBytes(target);
    const QByteArray caption = QCoreApplication::translate("PageStore", "変換保存中").toLocal8Bit();
    const QByteArray text = name.toLocal8Bit();
    int32_t saved = 0;
    if (format == kJpeg)
        saved = PelmixJpegFileSave(path.constData(), image, caption.constData(), text.constData(),
                                   settings.JPGP, type == PELMIX_256_GREYS ? 1 : 0);
    else
        saved = PelmixTiffFileSave(path.constData(), image, caption.constData(), text.constData(),
                                   tiffCompression(format));
    // The page file goes only once its converted file is complete (the library writes under a
    // temporary name and renames); until then it is the only copy of the page.
    if (saved == 0)
        return Outcome::Kept;
    // A page file that will not go away is a duplicate of a stored page: the next run moves it
    // aside with the other leftovers rather than losing anything.
    file_system::remove(page);
    return Outcome::Stored;
}
