#include "startup_messages.h"

#include <QStringList>

namespace startup_messages {

namespace {

Prompter::Message box(const QString& caption, const QStringList& lines, Prompter::Icon icon,
                      Prompter::Buttons buttons) {
    Prompter::Message m;
    m.caption = caption;
    m.text = lines.join(QLatin1Char('\n'));
    m.icon = icon;
    m.buttons = buttons;
    return m;
}

} // namespace

Prompter::Message drawPicturesQuestion(const QString& title, const QString& folder) {
    return box(
        title,
        {folder, QStringLiteral("を表示します"), QStringLiteral("複数枚表示時に絵を表示しますか?")},
        Prompter::Icon::Question, Prompter::Buttons::YesNo);
}

Prompter::Message deviceListFailedAtStart(const QString& title) {
    return box(title,
               {QStringLiteral("使用するTWAIN機器名の取り込みに失敗しました。"),
                QStringLiteral("TWAIN機器が接続がされていない可能性があります。"),
                QStringLiteral("メーカー製のTwainドライバを入れてから起動しなおすか"),
                QStringLiteral("設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」"),
                QStringLiteral("のチェックをはずしてください。")},
               Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

Prompter::Message deviceListFailedAtExit(const QString& title) {
    return box(title,
               {QStringLiteral("使用するTWAIN機器名の取り込みに失敗しました。"),
                QStringLiteral("TWAIN機器が接続がされていない可能性があります。"),
                QStringLiteral("メーカー製のTwainドライバを入れるか"),
                QStringLiteral("次回設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」"),
                QStringLiteral("のチェックをはずしてください。")},
               Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

Prompter::Message deviceChanged(const QString& title, const QString& previous,
                                const QString& current) {
    return box(title,
               {QStringLiteral("前回のOrvana終了時と使用するTWAIN機器が異なります。"),
                QStringLiteral("前回使用していたTWAIN機器  :") + previous,
                QStringLiteral("現在設定されているTWAIN機器:") + current,
                QStringLiteral("変える場合、「ファイル→使用するTWAIN機器の選択」で取り込む機器の"
                               "設定をし直してください。")},
               Prompter::Icon::Information, Prompter::Buttons::Ok);
}

Prompter::Message acquireNowQuestion(const QString& title) {
    return box(title,
               {QStringLiteral("直ちにTWAIN機器からのを取り込みを行いますか?"),
                QStringLiteral("(予め使用する機器の設定が行われている必要があります。)")},
               Prompter::Icon::Question, Prompter::Buttons::YesNo);
}

Prompter::Message exitQuestion() {
    Prompter::Message m =
        box(QStringLiteral("Orvana 終了"), {QStringLiteral("Orvana を終了します よろしいですか ?")},
            Prompter::Icon::Question, Prompter::Buttons::YesNo);
    m.defaultButton = 2;
    return m;
}

Prompter::Message commandLineNotFolder(const QString& title, const QString& text) {
    return box(
        title,
        {text + QStringLiteral("が指定されましたがフォルダーではありませんので通常起動します。")},
        Prompter::Icon::None, Prompter::Buttons::Ok);
}

Prompter::Message droppedNotFolder(const QString& title, const QString& name) {
    return box(title, {name + QStringLiteral("が指定されましたがフォルダーではありません")},
               Prompter::Icon::None, Prompter::Buttons::Ok);
}

Prompter::Message defaultsMissing(const QString& title, const QString& defaultsPath) {
    return box(title,
               {QStringLiteral("設定ファイルの雛形が読み込めません。"), defaultsPath,
                QStringLiteral("Orvana を起動できませんので終了します。")},
               Prompter::Icon::Critical, Prompter::Buttons::Ok);
}

Prompter::Message settingsNotSaved(const QString& title, const QString& path) {
    Prompter::Message m;
    m.caption = title;
    m.text =
        QStringLiteral("設定を保存できませんでした。今回の変更は次回の起動に引き継がれません。\n") +
        QStringLiteral("ファイル名 : ") + path + QLatin1Char('\n') +
        QStringLiteral("フォルダーに書き込めるか、空き容量があるか確認してください。");
    m.icon = Prompter::Icon::Exclamation;
    m.buttons = Prompter::Buttons::Ok;
    return m;
}

} // namespace startup_messages
