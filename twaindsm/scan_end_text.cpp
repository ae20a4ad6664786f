#include "scan_end_text.h"

#include <QCoreApplication>

namespace twaindsm {

namespace {

QString connectionLost() {
    return QCoreApplication::translate(
        "ScanEnd",
        "「%1」との接続が切れました。スキャナーと、それを共有しているコンピューターの電源、"
        "ネットワーク、アドレスを確認してください。");
}

// What happened, with the device's name for %1.
QString whatHappened(const ScanEnd& end) {
    switch (end.fault) {
    case sane_host::Fault::Unanswered:
        return end.network
                   ? QCoreApplication::translate(
                         "ScanEnd", "「%1」が応答しなくなりました。スキャナーと、それを共有している"
                                    "コンピューターの電源とネットワークを確認してください。")
                   : QCoreApplication::translate(
                         "ScanEnd", "「%1」が応答しなくなりました。スキャナーの電源とケーブルを確認"
                                    "してください。");
    case sane_host::Fault::Ended:
        // SANE's net backend is known to crash on a connection its server dropped: for a network
        // device that is what the user needs to hear.
        if (end.network) {
            return connectionLost();
        }
        return QCoreApplication::translate(
            "ScanEnd", "「%1」のドライバーが異常終了しました。スキャナーの電源とケーブルを確認して"
                       "ください。");
    case sane_host::Fault::CancelIgnored:
        return QCoreApplication::translate(
            "ScanEnd", "「%1」がスキャンの中止に応じなかったため、ドライバーを終了しました。");
    case sane_host::Fault::NotStarted:
        return QCoreApplication::translate(
            "ScanEnd", "スキャナーのドライバーを起動できませんでした。Orvana をインストールし直して"
                       "ください。");
    default:
        break;
    }
    switch (end.status) {
    case SANE_STATUS_NO_DOCS:
        return QCoreApplication::translate(
            "ScanEnd", "「%1」の原稿送り装置に用紙がありません。用紙をセットしてください。");
    case SANE_STATUS_JAMMED:
        return QCoreApplication::translate(
            "ScanEnd",
            "「%1」で紙づまりが起きました。詰まった用紙を取り除き、まだスキャンしていない"
            "ページをセットし直してください。");
    case SANE_STATUS_COVER_OPEN:
        return QCoreApplication::translate(
            "ScanEnd", "「%1」のカバーが開いています。カバーを閉じてください。");
    case SANE_STATUS_DEVICE_BUSY:
        return QCoreApplication::translate(
            "ScanEnd",
            "「%1」は使用中です（別のプログラムかコンピューターが使っています）。終わるまで"
            "待ってください。");
    case SANE_STATUS_ACCESS_DENIED:
        return end.network
                   ? QCoreApplication::translate(
                         "ScanEnd", "「%1」への接続が拒否されました。スキャナーを共有している"
                                    "コンピューターの設定（saned.conf）で、このコンピューターが許可"
                                    "されているか確認してください。")
                   : QCoreApplication::translate(
                         "ScanEnd", "「%1」を使う権限がありません。スキャナーを使えるユーザーか"
                                    "確認してください。");
    case SANE_STATUS_NO_MEM:
        return QCoreApplication::translate(
            "ScanEnd",
            "「%1」のメモリーが足りません。解像度を下げるか、範囲を小さくしてください。");
    case SANE_STATUS_INVAL:
        return QCoreApplication::translate(
            "ScanEnd", "「%1」はこの設定ではスキャンできません。モード、解像度または範囲を変えて"
                       "ください。");
    case SANE_STATUS_UNSUPPORTED:
        return QCoreApplication::translate(
            "ScanEnd",
            "「%1」が送ってきた画像は、この形式では保存できません。モードかビット数を変えて"
            "ください。");
    case SANE_STATUS_IO_ERROR:
        return end.network
                   ? connectionLost()
                   : QCoreApplication::translate(
                         "ScanEnd", "「%1」との通信に失敗しました。スキャナーの電源とケーブルを確認"
                                    "してください。");
    default:
        return QCoreApplication::translate("ScanEnd",
                                           "「%1」がエラーを報告しました（SANE の状態 %2）。");
    }
}

} // namespace

QString scanEndText(const ScanEnd& end) {
    if (end.fault == sane_host::Fault::None &&
        (end.status == SANE_STATUS_GOOD || end.status == SANE_STATUS_CANCELLED ||
         (end.status == SANE_STATUS_NO_DOCS && end.pagesBefore > 0))) {
        return {};
    }
    QString text = whatHappened(end);
    if (text.contains(QLatin1String("%2"))) {
        text = text.arg(end.device, QString::number(int(end.status)));
    } else if (text.contains(QLatin1String("%1"))) {
        text = text.arg(end.device);
    }
    text += QLatin1Char('\n');
    text += end.pagesBefore > 0
                ? QCoreApplication::translate("ScanEnd",
                                              "それまでにスキャンした %n ページは保存されます。"
                                              "続きは、もう一度［スキャン］を押してください。",
                                              nullptr, end.pagesBefore)
                : QCoreApplication::translate(
                      "ScanEnd", "準備ができたら、もう一度［スキャン］を押してください。");
    return text;
}

} // namespace twaindsm
