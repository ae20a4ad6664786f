#include "startup_texts.h"

#include "usr_settings.h"

AcquisitionTexts acquisitionTexts(int NTWF) {
    if (NTWF == 1) {
        return {QStringLiteral("指定フォルダーからの取り込み"),
                QStringLiteral("指定フォルダー読み込み実行"), false};
    }
    return {QStringLiteral("Twain機器からの取り込み"), QStringLiteral("Twain読み込み実行"), true};
}

QString magnificationText(float& D1MD) {
    if (D1MD == 0.5f) {
        return QStringLiteral("50%");
    }
    if (D1MD == 1.0f) {
        return QStringLiteral("100%");
    }
    D1MD = 0;
    return QStringLiteral("自動");
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
