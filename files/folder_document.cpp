#include "folder_document.h"

#include "browsing.h"
#include "file_system.h"
#include "folder_list.h"
#include "native_name.h"
#include "picture_document.h"
#include "program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace folder_document {

void make(Program& program, QWidget* owner) {
    const QString folder = browsing::displayFolder(program);
    FolderList list;
    if (folder.isEmpty() || !list.setFolder(folder) || list.count() == 0) {
        program.tell(
            owner,
            QCoreApplication::translate("folder_document", "表示中のフォルダーに絵がありません。"),
            Prompter::Icon::Exclamation);
        return;
    }
    QString name = QDir(folder).dirName();
    if (name.isEmpty()) {
        name = QStringLiteral("pictures");
    }
    QString target = program.prompter.saveFileAs(
        owner, QCoreApplication::translate("folder_document", "PDFの作成"),
        folder + name + QStringLiteral(".pdf"), {QStringLiteral("PDF (*.pdf)")}, 0);
    if (target.isEmpty()) {
        return;
    }
    if (!target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        // The dialog asked about the name typed, not about this one.
        target += QStringLiteral(".pdf");
        if (file_system::exists(target)) {
            Prompter::Message question;
            question.caption = program.APP_TITLE;
            question.text = QCoreApplication::translate("folder_document",
                                                        "%1\nは既に存在します。上書きしますか?")
                                .arg(native_name::forMessage(target));
            question.icon = Prompter::Icon::Exclamation;
            question.buttons = Prompter::Buttons::YesNo;
            question.defaultButton = 2;
            if (program.prompter.message(owner, question) != Prompter::Yes) {
                return;
            }
        }
    }
    QStringList paths;
    for (const QString& picture : list.names()) {
        paths += folder + picture;
    }
    const picture_document::Outcome outcome =
        picture_document::write(program, owner, paths, target, true);
    const QString shown = native_name::forMessage(target);
    switch (outcome.result) {
    case picture_document::Result::Written: {
        QString message =
            QCoreApplication::translate("folder_document", "PDFを作成しました。") +
            QLatin1Char('\n') +
            QCoreApplication::translate("folder_document", "ファイル名 : %1").arg(shown) +
            QLatin1Char('\n') +
            QCoreApplication::translate("folder_document", "ページ数 : %1").arg(paths.size());
        if (!picture_document::textLanguages(program).isEmpty()) {
            message += QLatin1Char('\n') +
                       QCoreApplication::translate("folder_document", "文字を認識したページ : %1")
                           .arg(outcome.textPages);
        }
        program.tell(owner, message, Prompter::Icon::Information);
        break;
    }
    case picture_document::Result::Cancelled:
        break;
    case picture_document::Result::NotAPicture:
        program.tell(owner,
                     QCoreApplication::translate(
                         "folder_document", "「%1」は読み込めないため、PDFを作成できませんでした。")
                         .arg(native_name::forMessage(outcome.file)),
                     Prompter::Icon::Exclamation);
        break;
    case picture_document::Result::TooLarge:
        program.tell(owner,
                     QCoreApplication::translate("folder_document",
                                                 "「%1」は%2×%3ピクセルと大きすぎるため、"
                                                 "PDFを作成できませんでした。")
                         .arg(native_name::forMessage(outcome.file))
                         .arg(outcome.width)
                         .arg(outcome.height),
                     Prompter::Icon::Exclamation);
        break;
    case picture_document::Result::Failed:
        program.tell(
            owner,
            QCoreApplication::translate("folder_document", "PDF「%1」を作成できませんでした。")
                    .arg(shown) +
                QLatin1Char('\n') +
                (outcome.reason.isEmpty()
                     ? QCoreApplication::translate(
                           "folder_document",
                           "保存先に書き込めるか、絵が変更されていないか確認してください。")
                     : QCoreApplication::translate("folder_document", "理由 : %1")
                           .arg(outcome.reason)),
            Prompter::Icon::Exclamation);
        break;
    }
}

} // namespace folder_document
