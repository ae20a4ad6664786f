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

ToggleTexts toggleTexts(const USR_SETTINGS& s) {
    ToggleTexts t;
    t.toolBar = s.DSTL == 1 ? QStringLiteral("ツールバーを表示する")
                            : QStringLiteral("ツールバーを表示しない");
    t.commandTray = s.DSTR == 1 ? QStringLiteral("コマンドトレイを表示する")
                                : QStringLiteral("コマンドトレイを表示しない");
    t.fileTray = s.DSFT == 1 ? QStringLiteral("ファイルトレイを表示する")
                             : QStringLiteral("ファイルトレイを表示しない");
    t.pictures = s.DSPD == 1 ? QStringLiteral("複数枚表示時に絵を表示する")
                             : QStringLiteral("複数枚表示時に絵を表示しない");
    return t;
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
