// Texts, placement and messages the main window takes from the settings at start-up and exit.
#include "program_language.h"
#include "qt_support.h"
#include "startup_messages.h"
#include "startup_placement.h"
#include "startup_texts.h"
#include "usr_settings.h"

#include <QCoreApplication>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr TwipsSize kScreen{19200, 14400};
constexpr TwipsSize kDesign{12000, 9000};

TEST(WindowPlacement, NoStoredSizeCentresAtDesignSize) {
    USR_SETTINGS s;
    s.POSL = 100;
    s.POST = 100;
    s.POSW = 0;
    s.POSH = 5000;
    const TwipsRect r = windowPlacement(s, kScreen, kDesign);
    EXPECT_EQ(r.left, 19200 / 2 - 12000 / 2);
    EXPECT_EQ(r.top, 14400 / 2 - 9000 / 2);
    EXPECT_EQ(r.width, 12000);
    EXPECT_EQ(r.height, 9000);
}

TEST(WindowPlacement, StoredRectangleUsedOnlyWhenOnScreen) {
    USR_SETTINGS s;
    s.POSL = 0;
    s.POST = 0;
    s.POSW = 19200;
    s.POSH = 14400;
    TwipsRect r = windowPlacement(s, kScreen, kDesign);
    EXPECT_EQ(r.width, 19200) << "exactly the screen is still on it";
    EXPECT_EQ(r.left, 0);

    s.POSW = 19201;
    r = windowPlacement(s, kScreen, kDesign);
    EXPECT_EQ(r.width, 12000) << "one twip wider than the screen centres";

    s.POSW = 5000;
    s.POST = -1;
    EXPECT_EQ(windowPlacement(s, kScreen, kDesign).width, 12000);
    s.POST = 10000;
    s.POSH = 4401;
    EXPECT_EQ(windowPlacement(s, kScreen, kDesign).width, 12000);
    s.POSH = 4400;
    r = windowPlacement(s, kScreen, kDesign);
    EXPECT_EQ(r.top, 10000);
    EXPECT_EQ(r.height, 4400);
}

TEST(WindowPlacement, SmallScreenHoldsTheWholeWindow) {
    // 800 x 600 pixels at 96 dpi, a design size larger than that.
    const TwipsSize small{12000, 9000};
    const TwipsSize design{14400, 10500};
    USR_SETTINGS s;
    for (int32_t storedWidth : {0, 30000}) { // none stored, or one too wide for this screen
        s.POSW = storedWidth;
        s.POSH = 20000;
        const TwipsRect r = windowPlacement(s, small, design);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.width, 12000);
        EXPECT_EQ(r.height, 9000);
    }
}

TEST(WindowPlacement, ExtremeStoredValuesDoNotOverflow) {
    USR_SETTINGS s;
    s.POSL = 2147483000;
    s.POST = 0;
    s.POSW = 2147483000;
    s.POSH = 100;
    EXPECT_EQ(windowPlacement(s, kScreen, kDesign).width, 12000);
    s.POSL = 10;
    s.POSW = -2147483000;
    EXPECT_EQ(windowPlacement(s, kScreen, kDesign).width, 12000);
}

TEST(WindowPlacement, TwipsAndPixels) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(3450, 96), 230);
    EXPECT_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_EQ(pixelsToTwips(10, 0), 0);
}

TEST(StartupTexts, AcquisitionCommandByMethod) {
    const AcquisitionTexts folder = acquisitionTexts(1);
    EXPECT_EQ(folder.menuText, QStringLiteral("指定フォルダーからの取り込み"));
    EXPECT_EQ(folder.buttonTip, QStringLiteral("指定フォルダー読み込み実行"));
    EXPECT_FALSE(folder.chooseDevice);
    for (int method : {0, 2}) {
        const AcquisitionTexts twain = acquisitionTexts(method);
        EXPECT_EQ(twain.menuText, QStringLiteral("Twain機器からの取り込み"));
        EXPECT_EQ(twain.buttonTip, QStringLiteral("Twain読み込み実行"));
        EXPECT_TRUE(twain.chooseDevice);
    }
}

TEST(StartupTexts, MagnificationResetsUnknownValues) {
    float d = 0.5f;
    EXPECT_EQ(magnificationText(d), QStringLiteral("50%"));
    EXPECT_EQ(d, 0.5f);
    d = 1;
    EXPECT_EQ(magnificationText(d), QStringLiteral("100%"));
    d = 0;
    EXPECT_EQ(magnificationText(d), QStringLiteral("自動"));
    for (float odd : {0.25f, 2.0f, -1.0f, 0.5001f}) {
        d = odd;
        EXPECT_EQ(magnificationText(d), QStringLiteral("自動"));
        EXPECT_EQ(d, 0.0f) << odd;
    }
}

TEST(StartupTexts, TwainButtonPicture) {
    USR_SETTINGS s;
    s.TWBT = 3;
    EXPECT_EQ(twainPicture(s), TwainPicture::Camera2);
    s.TWBT = 7;
    EXPECT_EQ(twainPicture(s), TwainPicture::Scanner);
    EXPECT_EQ(s.TWBT, 1);
    s.TWBT = 4;
    s.NTWF = 1;
    EXPECT_EQ(twainPicture(s), TwainPicture::Folder);
    EXPECT_EQ(s.TWBT, 4) << "the device picture is kept for when TWAIN is used again";
}

using namespace startup_messages;

TEST(StartupMessages, QuestionsCarryTheQuestionIconAndYesNo) {
    Prompter::Message m = drawPicturesQuestion("Orvana", "/pics/");
    EXPECT_EQ(m.caption, "Orvana");
    EXPECT_EQ(m.text, QStringLiteral("/pics/\nを表示します\n複数枚表示時に絵を表示しますか?"));
    EXPECT_EQ(m.icon, Prompter::Icon::Question);
    EXPECT_EQ(m.buttons, Prompter::Buttons::YesNo);

    m = acquireNowQuestion("Orvana");
    EXPECT_EQ(m.text, QStringLiteral("直ちにTWAIN機器からのを取り込みを行いますか?\n"
                                     "(予め使用する機器の設定が行われている必要があります。)"));
    EXPECT_EQ(m.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(m.defaultButton, 1);

    m = exitQuestion();
    EXPECT_EQ(m.caption, QStringLiteral("Orvana 終了"));
    EXPECT_EQ(m.text, QStringLiteral("Orvana を終了します よろしいですか ?"));
    EXPECT_EQ(m.icon, Prompter::Icon::Question);
    EXPECT_EQ(m.defaultButton, 2) << "No is the default";
}

TEST(StartupMessages, DeviceMessagesStartAndExitDiffer) {
    const Prompter::Message start = deviceListFailedAtStart("Orvana");
    const Prompter::Message exit = deviceListFailedAtExit("Orvana");
    EXPECT_EQ(start.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(exit.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(start.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(start.text.split('\n').size(), 5);
    EXPECT_EQ(start.text.split('\n')[2],
              QStringLiteral("メーカー製のTwainドライバを入れてから起動しなおすか"));
    EXPECT_EQ(exit.text.split('\n')[2], QStringLiteral("メーカー製のTwainドライバを入れるか"));
    EXPECT_EQ(exit.text.split('\n')[3],
              QStringLiteral("次回設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」"));

    const Prompter::Message changed = deviceChanged("Orvana", "Old Scanner", "Virtual");
    EXPECT_EQ(changed.icon, Prompter::Icon::Information);
    EXPECT_EQ(changed.text,
              QStringLiteral("前回のOrvana終了時と使用するTWAIN機器が異なります。\n"
                             "前回使用していたTWAIN機器  :Old Scanner\n"
                             "現在設定されているTWAIN機器:Virtual\n"
                             "変える場合、「ファイル→使用するTWAIN機器の選択」で取り込む機器の"
                             "設定をし直してください。"));
}

TEST(StartupMessages, NotAFolder) {
    Prompter::Message m = commandLineNotFolder("Orvana", "photo.jpg");
    EXPECT_EQ(
        m.text,
        QStringLiteral("photo.jpgが指定されましたがフォルダーではありませんので通常起動します。"));
    EXPECT_EQ(m.icon, Prompter::Icon::None);
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
    m = droppedNotFolder("Orvana", "/x/a.bmp");
    EXPECT_EQ(m.text, QStringLiteral("/x/a.bmpが指定されましたがフォルダーではありません"));
    EXPECT_EQ(m.icon, Prompter::Icon::None);
}

} // namespace

TEST(QtTranslations, QtsOwnDialogsSpeakTheProgramsLanguage) {
    testApplication();
    ProgramLanguage language;
    ASSERT_TRUE(language.install(ProgramLanguage::Japanese))
        << "Qt's translations are not installed";
    // The file dialog's overwrite question and the print dialog's button, as Qt asks them.
    const char* const texts[][2] = {
        {"QFileDialog", "%1 already exists.\nDo you want to replace it?"},
        {"QPrintDialog", "Print"},
    };
    for (const auto& [context, text] : texts) {
        SCOPED_TRACE(text);
        const QString translated = QCoreApplication::translate(context, text);
        EXPECT_NE(translated, QString::fromUtf8(text));
        EXPECT_TRUE(std::any_of(translated.begin(), translated.end(), [](QChar c) {
            return c.unicode() >= 0x3000;
        })) << translated.toStdString();
    }
}
