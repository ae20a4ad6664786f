#include "page_store_messages.h"

#include "native_name.h"
#include "page_name.h"

#include <QCoreApplication>

namespace page_store_messages {

namespace {

Prompter::Message okBox(const QString& title, const QStringList& lines,
                        Prompter::Icon icon = Prompter::Icon::None) {
    Prompter::Message m;
    m.caption = title;
    m.text = lines.join(QLatin1Char('\n'));
    m.icon = icon;
    m.buttons = Prompter::Buttons::Ok;
    return m;
}

// "ファイル名 : first" or "ファイル名 : first ～ last"; nothing without a first name.
QStringList fileNames(const QString& first, const QString& last) {
    if (first.isEmpty())
        return {};
    if (last.isEmpty() || last == first)
        return {QCoreApplication::translate("page_store_messages", "ファイル名 : %1").arg(first)};
    return {QCoreApplication::translate("page_store_messages", "ファイル名 : %1 ～ %2")
                .arg(first, last)};
}

} // namespace

QString colourTypeName(int colourType) {
    switch (colourType) {
    case 0:
        return QCoreApplication::translate("page_store_messages", "白黒２値");
    case 1:
        return QCoreApplication::translate("page_store_messages", "16色カラー");
    case 2:
        return QCoreApplication::translate("page_store_messages", "16階調グレー");
    case 3:
        return QCoreApplication::translate("page_store_messages", "256色カラー");
    case 4:
        return QCoreApplication::translate("page_store_messages", "256階調グレー");
    case 5:
        return QCoreApplication::translate("page_store_messages", "フルカラー");
    default:
        return QString();
    }
}

Prompter::Message prefixUnusable(const QString& title, const QString& prefix) {
    return okBox(title,
                 {QCoreApplication::translate(
                      "page_store_messages", "ファイル名の先頭文字「%1」はファイル名に使えません。")
                      .arg(page_name::prefixShown(prefix)),
                  QCoreApplication::translate(
                      "page_store_messages",
                      "「/」、「..」、制御文字を含まないものを設定で指定してください。"),
                  QCoreApplication::translate("page_store_messages", "取り込みを中止します")},
                 Prompter::Icon::Exclamation);
}

Prompter::Message acquisitionFolderUnavailable(const QString& title, const QString& folder) {
    return okBox(title,
                 {QCoreApplication::translate(
                      "page_store_messages",
                      "取り込み先のフォルダーを作成できないか、書き込みができません。"),
                  QCoreApplication::translate("page_store_messages", "フォルダー名 : %1")
                      .arg(native_name::forMessage(folder)),
                  QCoreApplication::translate("page_store_messages", "取り込みを中止します")},
                 Prompter::Icon::Exclamation);
}

Prompter::Message noNameLeft(const QString& title) {
    return okBox(title, {QCoreApplication::translate(
                             "page_store_messages",
                             "現在のファイル名設定ではこれ以上自動的にファイルはつけられません。"),
                         QCoreApplication::translate("page_store_messages",
                                                     "設定の変更を行ってください。")});
}

Prompter::Message blankPagesSetAside(const QString& title, int count) {
    return okBox(
        title, {QCoreApplication::translate(
                    "page_store_messages",
                    "白紙のページが %1 枚あったため、保存せずにごみ箱に移しました。")
                    .arg(count),
                QCoreApplication::translate("page_store_messages",
                                            "白紙ではなかったページは、ごみ箱から元に戻せます。")});
}

Prompter::Message digitOverflow(const QString& title) {
    return okBox(
        title,
        {QCoreApplication::translate("page_store_messages",
                                     "データーの通し番の桁数をオーバーしました。"),
         QCoreApplication::translate("page_store_messages",
                                     "仮ですがケタをオーバーしてファイル名をつけていきます。"),
         QCoreApplication::translate("page_store_messages", "後で名前を変えるなどしてください。"),
         QCoreApplication::translate("page_store_messages",
                                     "次の取り込みでは今までのものに上書きされてしまいます｡ ")});
}

Prompter::Message jpegFallback(const QString& title, int colourType) {
    return okBox(title,
                 {QCoreApplication::translate("page_store_messages",
                                              "形式 (%1)はJpegで保存できないデーター形式です")
                      .arg(colourTypeName(colourType)),
                  QCoreApplication::translate("page_store_messages", "BMP形式で保存します。")});
}

Prompter::Message group4Fallback(const QString& title, int colourType) {
    return okBox(
        title,
        {QCoreApplication::translate("page_store_messages",
                                     "形式 (%1)はTIFF(Group4)で保存できないデーター形式です")
             .arg(colourTypeName(colourType)),
         QCoreApplication::translate("page_store_messages", "TIFF無圧縮形式で保存します。")});
}

Prompter::Message pagesKept(const QString& title, const KeptSummary& summary) {
    QStringList lines;
    if (summary.scanStopped)
        lines += QCoreApplication::translate(
            "page_store_messages",
            "取り込み先のフォルダーにページを書き込めなくなったため、スキャンを中止しました。");
    if (summary.count > 0) {
        lines += QCoreApplication::translate(
                     "page_store_messages",
                     "取り込んだページのうち%1枚を自動的に名前をつけて保存できませんでした。")
                     .arg(summary.count);
        lines += QCoreApplication::translate(
            "page_store_messages",
            "ページは「ORVA_KEEP.」で始まる名前で次のフォルダーに残してあります。");
        lines += summary.folders;
    }
    if (!summary.notKept.isEmpty()) {
        lines += QCoreApplication::translate(
            "page_store_messages",
            "次のページはどのフォルダーにも保存できなかったため、"
            "そのままの名前で残っています。次回の起動時にもう一度保存します。");
        lines += summary.notKept;
    }
    if (!summary.reason.isEmpty())
        lines +=
            QCoreApplication::translate("page_store_messages", "理由 : %1").arg(summary.reason);
    lines += QCoreApplication::translate(
        "page_store_messages", "保存先フォルダーと空き容量、ファイル名設定を確認してください。");
    return okBox(title, lines, Prompter::Icon::Exclamation);
}

Prompter::Message folderBusy(const QString& title, const QString& folder) {
    return okBox(
        title,
        {QCoreApplication::translate("page_store_messages",
                                     "このフォルダーには別の Orvana が取り込み中です。"),
         QCoreApplication::translate("page_store_messages", "フォルダー名 : %1")
             .arg(native_name::forMessage(folder)),
         QCoreApplication::translate("page_store_messages",
                                     "その取り込みが終わってから、もう一度実行してください。")},
        Prompter::Icon::Exclamation);
}

Prompter::Message interruptedPagesStored(const QString& title, int count, const QString& folder,
                                         const QString& first, const QString& last) {
    QStringList lines{
        QCoreApplication::translate("page_store_messages",
                                    "前回中断された取り込みのページが%1枚残っていました。")
            .arg(count),
        QCoreApplication::translate("page_store_messages", "自動的に名前をつけて保存しました。"),
        QCoreApplication::translate("page_store_messages", "フォルダー名 : %1")
            .arg(native_name::forMessage(folder))};
    lines += fileNames(first, last);
    return okBox(title, lines, Prompter::Icon::Information);
}

Prompter::Message documentNotMade(const QString& title, const QString& document, bool interrupted,
                                  const QString& folder, const QString& first, const QString& last,
                                  const QString& reason) {
    QStringList lines{interrupted ? QCoreApplication::translate(
                                        "page_store_messages",
                                        "前回中断されたPDF「%1」の作成は完了していませんでした。")
                                        .arg(document)
                                  : QCoreApplication::translate("page_store_messages",
                                                                "PDF「%1」を作成できませんでした。")
                                        .arg(document)};
    if (!reason.isEmpty()) {
        lines += QCoreApplication::translate("page_store_messages", "理由 : %1").arg(reason);
    }
    lines += QStringList{
        QCoreApplication::translate("page_store_messages",
                                    "取り込んだページは画像ファイルのまま保存してあります。"),
        QCoreApplication::translate("page_store_messages", "フォルダー名 : %1")
            .arg(native_name::forMessage(folder))};
    lines += fileNames(first, last);
    return okBox(title, lines,
                 interrupted ? Prompter::Icon::Information : Prompter::Icon::Exclamation);
}

Prompter::Message documentWithoutWords(const QString& title, const QString& document, int pages,
                                       int read) {
    return okBox(
        title,
        {QCoreApplication::translate(
             "page_store_messages",
             "PDF「%1」の%2ページのうち%3ページは文字を認識できませんでした。")
             .arg(document)
             .arg(pages)
             .arg(pages - read),
         QCoreApplication::translate("page_store_messages", "それらのページは検索できません。")},
        Prompter::Icon::Exclamation);
}

Prompter::Message sourceFilesStayed(const QString& title, const QStringList& paths) {
    QStringList lines{QCoreApplication::translate(
        "page_store_messages", "次のファイルは元のフォルダーから削除できないため、"
                               "取り込みませんでした。")};
    lines += paths;
    lines += QCoreApplication::translate("page_store_messages",
                                         "元のフォルダーが書き込みできるか確認してください。");
    return okBox(title, lines, Prompter::Icon::Exclamation);
}

} // namespace page_store_messages
