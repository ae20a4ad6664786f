#include "startup_texts.h"

#include "usr_settings.h"

#include <QCoreApplication>

AcquisitionTexts acquisitionTexts(int NTWF) {
    if (NTWF == 1) {
        return {QCoreApplication::translate("ORVA_WIN", "指定フォルダーからの取り込み"),
                QCoreApplication::translate("ORVA_WIN", "指定フォルダー読み込み実行"), false};
    }
    return {QCoreApplication::translate("ORVA_WIN", "Twain機器からの取り込み"),
            QCoreApplication::translate("ORVA_WIN", "Twain読み込み実行"), true};
}

QString magnificationText(float& D1MD) {
    if (D1MD == 0.5f) {
        return QStringLiteral("50%");
    }
    if (D1MD == 1.0f) {
        return QStringLiteral("100%");
    }
    D1MD = 0;
    // The same text as MAG_SET's item, which it is looked up by.
    return QCoreApplication::translate("ORVA_WIN", "自動");
}

TwainPicture twainPicture(USR_SETTINGS& s) {
    if (s.TWBT < 1 || s.TWBT > 4) {
        s.TWBT = 1;
    }
    if (s.NTWF == 1) {
        return TwainPicture::Folder;
    }
    return static_cast<TwainPicture>(s.TWBT);
}
