#include "startup_messages.h"

#include <QCoreApplication>
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
    return box(title,
               {QCoreApplication::translate("startup_messages", "%1\nを表示します").arg(folder),
                QCoreApplication::translate("startup_messages", "複数枚表示時に絵を表示しますか?")},
               Prompter::Icon::Question, Prompter::Buttons::YesNo);
}

Prompter::Message deviceListFailedAtStart(const QString& title) {
    return box(
        title,
        {QCoreApplication::translate("startup_messages",
                                     "使用するTWAIN機器名の取り込みに失敗しました。"),
         QCoreApplication::translate("startup_messages",
                                     "TWAIN機器が接続がされていない可能性があります。"),
         QCoreApplication::translate(
             "startup_messages", "メーカー製のTwainドライバを入れてから起動しなおすか\n"
                                 "設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」\n"
                                 "のチェックをはずしてください。")},
        Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

Prompter::Message deviceListFailedAtExit(const QString& title) {
    return box(title,
               {QCoreApplication::translate("startup_messages",
                                            "使用するTWAIN機器名の取り込みに失敗しました。"),
                QCoreApplication::translate("startup_messages",
                                            "TWAIN機器が接続がされていない可能性があります。"),
                QCoreApplication::translate(
                    "startup_messages",
                    "メーカー製のTwainドライバを入れるか\n"
                    "次回設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」\n"
                    "のチェックをはずしてください。")},
               Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

Prompter::Message deviceChanged(const QString& title, const QString& previous,
                                const QString& current) {
    return box(
        title,
        {QCoreApplication::translate("startup_messages",
                                     "前回のOrvana終了時と使用するTWAIN機器が異なります。"),
         QCoreApplication::translate("startup_messages", "前回使用していたTWAIN機器  :%1")
             .arg(previous),
         QCoreApplication::translate("startup_messages", "現在設定されているTWAIN機器:%1")
             .arg(current),
         QCoreApplication::translate(
             "startup_messages", "変える場合、「ファイル→使用するTWAIN機器の選択」で取り込む機器の"
                                 "設定をし直してください。")},
        Prompter::Icon::Information, Prompter::Buttons::Ok);
}

Prompter::Message acquireNowQuestion(const QString& title) {
    return box(title,
               {QCoreApplication::translate("startup_messages",
                                            "直ちにTWAIN機器からのを取り込みを行いますか?"),
                QCoreApplication::translate(
                    "startup_messages", "(予め使用する機器の設定が行われている必要があります。)")},
               Prompter::Icon::Question, Prompter::Buttons::YesNo);
}

Prompter::Message exitQuestion() {
    Prompter::Message m = box(
        QCoreApplication::translate("startup_messages", "Orvana 終了"),
        {QCoreApplication::translate("startup_messages", "Orvana を終了します よろしいですか ?")},
        Prompter::Icon::Question, Prompter::Buttons::YesNo);
    m.defaultButton = 2;
    return m;
}

Prompter::Message commandLineNotFolder(const QString& title, const QString& text) {
    return box(
        title,
        {QCoreApplication::translate(
             "startup_messages", "%1が指定されましたがフォルダーではありませんので通常起動します。")
             .arg(text)},
        Prompter::Icon::None, Prompter::Buttons::Ok);
}

Prompter::Message droppedNotFolder(const QString& title, const QString& name) {
    return box(title,
               {QCoreApplication::translate("startup_messages",
                                            "%1が指定されましたがフォルダーではありません")
                    .arg(name)},
               Prompter::Icon::None, Prompter::Buttons::Ok);
}

Prompter::Message defaultsMissing(const QString& title, const QString& defaultsPath) {
    return box(
        title,
        {QCoreApplication::translate("startup_messages", "設定ファイルの雛形が読み込めません。"),
         defaultsPath,
         QCoreApplication::translate("startup_messages",
                                     "Orvana を起動できませんので終了します。")},
        Prompter::Icon::Critical, Prompter::Buttons::Ok);
}

Prompter::Message settingsNotSaved(const QString& title, const QString& path) {
    Prompter::Message m;
    m.caption = title;
    m.text = QCoreApplication::translate(
                 "startup_messages",
                 "設定を保存できませんでした。今回の変更は次回の起動に引き継がれません。\n"
                 "ファイル名 : %1\n"
                 "フォルダーに書き込めるか、空き容量があるか確認してください。")
                 .arg(path);
    m.icon = Prompter::Icon::Exclamation;
    m.buttons = Prompter::Buttons::Ok;
    return m;
}

} // namespace startup_messages
