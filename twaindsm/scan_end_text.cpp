#include "scan_end_text.h"

#include <QCoreApplication>

namespace twaindsm {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ScanEnd", text);
}

QString connectionLost() {
    return tr("「%1」との接続が切れました。スキャナーと、それを共有しているコンピューターの電源、"
              "ネットワーク、アドレスを確認してください。");
}

// What happened, with the device's name for %1.
QString whatHappened(const ScanEnd& end) {
    switch (end.fault) {
    case sane_host::Fault::Unanswered:
        return end.network ? tr("「%1」が応答しなくなりました。スキャナーと、それを共有している"
                                "コンピューターの電源とネットワークを確認してください。")
                           : tr("「%1」が応答しなくなりました。スキャナーの電源とケーブルを確認"
                                "してください。");
    case sane_host::Fault::Ended:
        // SANE's net backend is known to crash on a connection its server dropped: for a network
        // device that is what the user needs to hear.
        if (end.network) {
            return connectionLost();
        }
        return tr("「%1」のドライバーが異常終了しました。スキャナーの電源とケーブルを確認して"
                  "ください。");
    case sane_host::Fault::CancelIgnored:
        return tr("「%1」がスキャンの中止に応じなかったため、ドライバーを終了しました。");
    case sane_host::Fault::NotStarted:
        return tr("スキャナーのドライバーを起動できませんでした。Orvana をインストールし直して"
                  "ください。");
    default:
        break;
    }
    switch (end.status) {
    case SANE_STATUS_NO_DOCS:
        return tr("「%1」の原稿送り装置に用紙がありません。用紙をセットしてください。");
    case SANE_STATUS_JAMMED:
        return tr("「%1」で紙づまりが起きました。詰まった用紙を取り除き、まだスキャンしていない"
                  "ページをセットし直してください。");
    case SANE_STATUS_COVER_OPEN:
        return tr("「%1」のカバーが開いています。カバーを閉じてください。");
    case SANE_STATUS_DEVICE_BUSY:
        return tr("「%1」は使用中です（別のプログラムかコンピューターが使っています）。終わるまで"
                  "待ってください。");
    case SANE_STATUS_ACCESS_DENIED:
        return end.network ? tr("「%1」への接続が拒否されました。スキャナーを共有している"
                                "コンピューターの設定（saned.conf）で、このコンピューターが許可"
                                "されているか確認してください。")
                           : tr("「%1」を使う権限がありません。スキャナーを使えるユーザーか"
                                "確認してください。");
    case SANE_STATUS_NO_MEM:
        return tr("「%1」のメモリーが足りません。解像度を下げるか、範囲を小さくしてください。");
    case SANE_STATUS_INVAL:
        return tr("「%1」はこの設定ではスキャンできません。モード、解像度または範囲を変えて"
                  "ください。");
    case SANE_STATUS_UNSUPPORTED:
        return tr("「%1」が送ってきた画像は、この形式では保存できません。モードかビット数を変えて"
                  "ください。");
    case SANE_STATUS_IO_ERROR:
        return end.network ? connectionLost()
                           : tr("「%1」との通信に失敗しました。スキャナーの電源とケーブルを確認"
                                "してください。");
    default:
        return tr("「%1」がエラーを報告しました（SANE の状態 %2）。");
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
                : tr("準備ができたら、もう一度［スキャン］を押してください。");
    return text;
}

} // namespace twaindsm
