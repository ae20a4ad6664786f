// The adjustment dialog's saves, over the file or under a new name, and what its close renews.
#include "adjust_view.h"
#include "browsing.h"
#include "cnf_win.h"
#include "companion_program.h"
#include "display_refresh.h"
#include "file_system.h"
#include "file_times.h"
#include "native_name.h"
#include "program.h"
#include "snaplet_inf.h"
#include "sv_cpr.h"

#include <QScrollBar>
#include <QStringList>

namespace {

// The save dialog's filters. A dialog puts the first pattern of the chosen filter on the name,
// so each filter leads with the letter case of the file's own extension: "f.bmp" is offered as
// "f.bmp", not "f.BMP", and a lower-case name stays lower case in another format.
QStringList saveFilters(const QString& path) {
    const QString extension = path.mid(path.lastIndexOf(QLatin1Char('.')) + 1);
    const bool lower = !extension.isEmpty() && extension == extension.toLower() &&
                       extension != extension.toUpper();
    QStringList filters = {CNF_WIN::tr("All Files(*.*)")};
    const struct {
        const char* name;
        const char* extension;
    } kinds[] = {{"BMP", "BMP"}, {"ICON", "ICO"}, {"JPEG", "JPG"}, {"TIFF", "TIF"}};
    for (const auto& kind : kinds) {
        const QString upper = QLatin1String(kind.extension);
        const QString first = lower ? upper.toLower() : upper;
        const QString second = lower ? upper : upper.toLower();
        filters << CNF_WIN::tr("%1 Files(*.%2 *.%3)").arg(QLatin1String(kind.name), first, second);
    }
    return filters;
}

// The filter offered first for path, by its extension (0 = all files).
int filterFor(const QString& path) {
    const QString extension = path.toUpper().right(4);
    const QStringList extensions = {QStringLiteral(".BMP"), QStringLiteral(".ICO"),
                                    QStringLiteral(".JPG"), QStringLiteral(".TIF")};
    return int(extensions.indexOf(extension)) + 1;
}

} // namespace

void CNF_WIN::onCommand15() {
    QString path = program_.prompter.saveFileAs(this, windowTitle(), program_.ADJUST_PATH,
                                                saveFilters(program_.ADJUST_PATH),
                                                filterFor(program_.ADJUST_PATH));
    if (path.isEmpty()) {
        return;
    }
    // The dialog asks about a file of exactly that name; one that differs only in letter case
    // is the same name to the user, so it is asked about here, by its real name, and replaced.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString existing = file_system::findName(folder, path.mid(slash + 1));
    if (!existing.isEmpty() && folder + existing != path) {
        Prompter::Message question;
        question.caption = program_.APP_TITLE;
        question.text = tr("%1\nファイルが既に存在しています上書きしますか?")
                            .arg(native_name::forMessage(folder + existing));
        question.icon = Prompter::Icon::Question;
        question.buttons = Prompter::Buttons::OkCancel;
        question.defaultButton = 2;
        if (program_.prompter.message(this, question) != Prompter::Ok) {
            return;
        }
        path = folder + existing;
    }
    SAVE_ADJUSTED(path);
}

bool CNF_WIN::SAVE_ADJUSTED(const QString& path) {
    const QString extension = path.toUpper().right(4);
    if (extension != QLatin1String(".BMP") && extension != QLatin1String(".TIF") &&
        extension != QLatin1String(".JPG")) {
        tell(tr("%1\nこの形式では保存できません。名前の終わりを .BMP、.JPG、.TIF "
                "のいずれかにしてください。")
                 .arg(native_name::forMessage(path)),
             Prompter::Icon::Exclamation);
        return false;
    }
    FileTimes times;
    const bool keepTimes =
        program_.settings.CNFD == 1 && GET_FILE_TIMES(program_.ADJUST_PATH, times) == 0;

    // The full-resolution picture with the current brightness and balance.
    HGLOBAL result = AdjustImage::adjusted(image.base(), BRIGHT->value(), R_BAR->value(),
                                           G_BAR->value(), B_BAR->value());
    const QByteArray target = native_name::toBytes(path);
    const QByteArray name = native_name::toBytes(program_.ADJUST_NAME);
    const QByteArray caption = tr("保存中").toLocal8Bit();
    int saved = 0;
    bool declined = false;
    if (extension == QLatin1String(".BMP")) {
        saved =
            PelmixBmpFileSave(target.constData(), result, caption.constData(), name.constData(), 0);
    } else if (extension == QLatin1String(".TIF")) {
        saved = saveTiff(path, result);
        declined = saved < 0;
    } else {
        SV_CPR quality(program_.settings.JPGP, this);
        quality.exec();
        if (quality.JPEG_CANCELLED != 0) {
            declined = true;
        } else {
            IMAGE_INFO info{};
            PelmixImageInfo(result, &info);
            saved = PelmixJpegFileSave(target.constData(), result, caption.constData(),
                                       name.constData(), quality.JPEG_QUALITY,
                                       info.COLOR_TYPE == PELMIX_256_GREYS ? 1 : 0);
        }
    }
    if (result != nullptr) {
        PelmixMemFree(result);
    }
    if (declined) {
        return false;
    }
    if (saved == 0) {
        saveFailed(path);
        return false;
    }

    if (keepTimes) {
        SET_FILE_TIMES(path, times);
    }
    if (path == program_.ADJUST_PATH) {
        ADJ_OVERWRITTEN = true;
    }
    if (view_.refresh().fileChanged(path)) {
        savedShown_ = true;
    }
    return true;
}

// Asks for uncompressed, then for PackBits; 1 saved, 0 failed, -1 both declined.
int CNF_WIN::saveTiff(const QString& path, HGLOBAL result) {
    Prompter::Message question;
    question.caption = program_.APP_TITLE;
    question.icon = Prompter::Icon::Question;
    question.buttons = Prompter::Buttons::YesNo;
    const QString shown = native_name::forMessage(path);
    const QByteArray target = native_name::toBytes(path);
    const QByteArray caption = tr("保存中").toLocal8Bit();
    question.text = tr("%1\nを無圧縮TIFFで\n保存します、よろしいですか?").arg(shown);
    if (program_.prompter.message(this, question) == Prompter::Yes) {
        const QByteArray text = native_name::toBytes(program_.ADJUST_PATH);
        return PelmixTiffFileSave(target.constData(), result, caption.constData(), text.constData(),
                                  PELMIX_TIFF_NONE) != 0;
    }
    question.text = tr("%1\nをPackedBit圧縮TIFFで\n保存します、よろしいですか?").arg(shown);
    if (program_.prompter.message(this, question) == Prompter::Yes) {
        const QByteArray name = native_name::toBytes(program_.ADJUST_NAME);
        return PelmixTiffFileSave(target.constData(), result, caption.constData(), name.constData(),
                                  PELMIX_TIFF_PACKBITS) != 0;
    }
    return -1;
}

void CNF_WIN::saveFailed(const QString& path) {
    // The library writes through a temporary file: the file that was there is unchanged.
    tell(tr("%1\nに保存できませんでした。元のファイルは変更されていません。")
             .arg(native_name::forMessage(path)),
         Prompter::Icon::Exclamation);
}

void CNF_WIN::renewThumbnail() {
    const USR_SETTINGS& settings = program_.settings;
    if (!((ADJ_OVERWRITTEN && settings.UTNM == 1) || settings.UTNT == 1)) {
        return;
    }
    const QString& folder = browsing::displayFolder(program_);
    // Only a plain file in the folder's own thumbnail folder goes: never one reached by a link.
    const BoundFolder thumbnails = companionFolder(folder);
    if (thumbnails.removeFile(native_name::toBytes(program_.ADJUST_NAME).toStdString()) == 0 &&
        settings.UTNM == 1) {
        RUN_SNAPLET(program_, folder);
    }
}
