#include "page_store_messages.h"

#include "native_name.h"

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

} // namespace

QString colourTypeName(int colourType) {
    switch (colourType) {
    case 0:
        return QStringLiteral("白黒２値");
    case 1:
        return QStringLiteral("16色カラー");
    case 2:
        return QStringLiteral("16階調グレー");
    case 3:
        return QStringLiteral("256色カラー");
    case 4:
        return QStringLiteral("256階調グレー");
    case 5:
        return QStringLiteral("フルカラー");
    default:
        return QString();
    }
}

Prompter::Message acquisitionFolderUnavailable(const QString& title, const QString& folder) {
    return okBox(title,
                 {QStringLiteral("取り込み先のフォルダーを作成できないか、書き込みができません。"),
                  QStringLiteral("フォルダー名 : ") + native_name::forMessage(folder),
                  QStringLiteral("取り込みを中止します")},
                 Prompter::Icon::Exclamation);
}

Prompter::Message noNameLeft(const QString& title) {
    return okBox(title, {QStringLiteral(
                             "現在のファイル名設定ではこれ以上自動的にファイルはつけられません。"),
                         QStringLiteral("設定の変更を行ってください。")});
}

Prompter::Message digitOverflow(const QString& title) {
    return okBox(title, {QStringLiteral("データーの通し番の桁数をオーバーしました。"),
                         QStringLiteral("仮ですがケタをオーバーしてファイル名をつけていきます。"),
                         QStringLiteral("後で名前を変えるなどしてください。"),
                         QStringLiteral("次の取り込みでは今までのものに上書きされてしまいます｡ ")});
}

Prompter::Message jpegFallback(const QString& title, int colourType) {
    return okBox(title, {QStringLiteral("形式 (") + colourTypeName(colourType) +
                             QStringLiteral(")はJpegで保存できないデーター形式です"),
                         QStringLiteral("BMP形式で保存します。")});
}

Prompter::Message group4Fallback(const QString& title, int colourType) {
    return okBox(title, {QStringLiteral("形式 (") + colourTypeName(colourType) +
                             QStringLiteral(")はTIFF(Group4)で保存できないデーター形式です"),
                         QStringLiteral("TIFF無圧縮形式で保存します。")});
}

Prompter::Message pagesKept(const QString& title, const KeptSummary& summary) {
    QStringList lines;
    if (summary.scanStopped)
        lines += QStringLiteral(
            "取り込み先のフォルダーにページを書き込めなくなったため、スキャンを中止しました。");
    if (summary.count > 0) {
        lines +=
            QStringLiteral("取り込んだページのうち%1枚を自動的に名前をつけて保存できませんでした。")
                .arg(summary.count);
        lines +=
            QStringLiteral("ページは「ORVA_KEEP.」で始まる名前で次のフォルダーに残してあります。");
        lines += summary.folders;
    }
    if (!summary.notKept.isEmpty()) {
        lines += QStringLiteral("次のページはどのフォルダーにも保存できなかったため、"
                                "そのままの名前で残っています。次回の起動時にもう一度保存します。");
        lines += summary.notKept;
    }
    if (!summary.reason.isEmpty())
        lines += QStringLiteral("理由 : ") + summary.reason;
    lines += QStringLiteral("保存先フォルダーと空き容量、ファイル名設定を確認してください。");
    return okBox(title, lines, Prompter::Icon::Exclamation);
}

Prompter::Message folderBusy(const QString& title, const QString& folder) {
    return okBox(title,
                 {QStringLiteral("このフォルダーには別の Orvana が取り込み中です。"),
                  QStringLiteral("フォルダー名 : ") + native_name::forMessage(folder),
                  QStringLiteral("その取り込みが終わってから、もう一度実行してください。")},
                 Prompter::Icon::Exclamation);
}

Prompter::Message interruptedPagesStored(const QString& title, int count, const QString& folder,
                                         const QString& first, const QString& last) {
    QStringList lines{
        QStringLiteral("前回中断された取り込みのページが%1枚残っていました。").arg(count),
        QStringLiteral("自動的に名前をつけて保存しました。"),
        QStringLiteral("フォルダー名 : ") + native_name::forMessage(folder)};
    if (!first.isEmpty())
        lines += QStringLiteral("ファイル名 : ") + first +
                 (last.isEmpty() || last == first ? QString() : QStringLiteral(" ～ ") + last);
    return okBox(title, lines, Prompter::Icon::Information);
}

Prompter::Message sourceFilesStayed(const QString& title, const QStringList& paths) {
    QStringList lines{QStringLiteral("次のファイルは元のフォルダーから削除できないため、"
                                     "取り込みませんでした。")};
    lines += paths;
    lines += QStringLiteral("元のフォルダーが書き込みできるか確認してください。");
    return okBox(title, lines, Prompter::Icon::Exclamation);
}

} // namespace page_store_messages
