// Automatic names: the highest number in the acquisition folder, the no-name-left report, the
// digit overflow and the collision rule.
#include "store_fixture.h"
#include "find_last_number.h"
#include "page_name.h"

namespace {

const QString kNoNameLeft =
    QStringLiteral("現在のファイル名設定ではこれ以上自動的にファイルはつけられません。\n"
                   "設定の変更を行ってください。");
const QString kOverflow = QStringLiteral("データーの通し番の桁数をオーバーしました。\n"
                                         "仮ですがケタをオーバーしてファイル名をつけていきます。\n"
                                         "後で名前を変えるなどしてください。\n"
                                         "次の取り込みでは今までのものに上書きされてしまいます｡ ");

using FindLastNumberTest = AcquireStoreTest;

TEST_F(FindLastNumberTest, HighestNumberOverEveryPictureExtension) {
    touch("IMG001.bmp");
    touch("IMG014.jpg");
    touch("IMG009.TIFF"); // the extension match ignores case
    touch("IMG200.txt");  // not a picture extension
    touch("IMG300");      // no extension at all
    int32_t last = -5;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 14);
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(FindLastNumberTest, IgnoresOtherDigitCountsNonDigitsAndPrefixInOtherCase) {
    touch("IMG002.bmp");
    touch("IMG0015.bmp");
    touch("IMG01a.bmp");
    touch("img020.bmp");
    touch("IMG03.bmp");
    touch("IMG-40.bmp");
    int32_t last = 0;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 2);
}

TEST_F(FindLastNumberTest, EmptyOrMissingFolderAndEmptyPrefix) {
    int32_t last = 99;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 0);

    program.settings.NTOP.clear();
    touch("123.jpeg");
    touch("IMG999.bmp"); // not digits at the start once the prefix is empty
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 123);

    program.ACQ_DIR = acq + QStringLiteral("missing/");
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 0);
}

TEST_F(FindLastNumberTest, PrefixWithWildcardCharactersIsTakenLiterally) {
    program.settings.NTOP = QStringLiteral("A*[");
    touch("A*[005.bmp");
    touch("AB[009.bmp");
    int32_t last = 0;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 5);
}

TEST_F(FindLastNumberTest, FirstNumberBeyondThePlainRangeMeansNoNameLeft) {
    touch("IMG1000.tiff");
    int32_t last = 7;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), -1);
    ASSERT_EQ(prompter.requests.size(), 1u);
    const auto& m = prompter.requests[0].message;
    EXPECT_EQ(m.text, kNoNameLeft);
    EXPECT_EQ(m.caption, program.APP_TITLE);
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
}

TEST_F(FindLastNumberTest, NoNameLeftTestIsExactInCaseAndNumber) {
    touch("IMG1000.BMP"); // another letter case of the extension
    touch("IMG1001.bmp"); // not the first number beyond the range
    touch("IMG10000.bmp");
    int32_t last = 0;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(last, 0);
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(FindLastNumberTest, DigitsAboveNineAreLoweredInTheSettings) {
    program.settings.SCNN = 12;
    touch("IMG000000042.bmp");
    int32_t last = 0;
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), 0);
    EXPECT_EQ(program.settings.SCNN, 9);
    EXPECT_EQ(last, 42);
}

TEST(PageNameTest, NumbersKeepAllTheirDigitsBeyondTheMask) {
    EXPECT_EQ(page_name::formatNumber(7, 3), QStringLiteral("007"));
    EXPECT_EQ(page_name::formatNumber(1000, 3), QStringLiteral("1000"));
    EXPECT_EQ(page_name::formatNumber(0, 1), QStringLiteral("0"));
    EXPECT_EQ(page_name::zeroMask(4), QStringLiteral("0000"));
    EXPECT_EQ(page_name::largestPlainNumber(3), 999);
    EXPECT_EQ(page_name::largestPlainNumber(9), 999999999);
    for (int format = 0; format <= 4; ++format)
        EXPECT_EQ(page_name::extensionFor(format), format == 0   ? ".bmp"
                                                   : format == 1 ? ".jpg"
                                                                 : ".tif");
}

using CollisionRuleTest = AcquireStoreTest;

TEST_F(CollisionRuleTest, FreeNameIsUsedAsItIs) {
    KeptPages kept(program);
    PageStore store(program, kept);
    touch("IMG050.jpg"); // same number, other extension: no collision
    int64_t next = 50;
    EXPECT_EQ(store.destination(".bmp", next), acq + "IMG050.bmp");
    EXPECT_EQ(next, 50);
}

TEST_F(CollisionRuleTest, TakenNameMovesOnAfterTheHighestNumber) {
    // Serial numbering at 50 while lower numbers are free.
    touch("IMG003.bmp");
    touch("IMG050.bmp");
    touch("IMG061.tif");
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 50;
    EXPECT_EQ(store.destination(".bmp", next), acq + "IMG062.bmp");
    EXPECT_EQ(next, 62);
    EXPECT_FALSE(store.stopped());
}

TEST_F(CollisionRuleTest, RescanFindingNoNameLeftStops) {
    touch("IMG005.bmp");
    touch("IMG1000.bmp");
    KeptPages kept(program);
    PageStore store(program, kept);
    int64_t next = 5;
    EXPECT_EQ(store.destination(".bmp", next), QString());
    EXPECT_TRUE(store.stopped());
    EXPECT_EQ(next, 5);
    EXPECT_EQ(messageTexts(), QStringList{kNoNameLeft});
    // Once stopped no further name is given, not even a free one, and nothing more is asked.
    int64_t other = 700;
    EXPECT_EQ(store.destination(".jpg", other), QString());
    EXPECT_EQ(prompter.requests.size(), 1u);
}

using DigitOverflowTest = AcquireStoreTest;

TEST_F(DigitOverflowTest, MessageOnlyForExactlyTheFirstLongerNumber) {
    KeptPages kept(program);
    PageStore store(program, kept);
    for (int32_t n : {998, 999, 1001, 10000})
        store.checkDigitOverflow(n);
    EXPECT_TRUE(prompter.requests.empty());
    store.checkDigitOverflow(1000);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(prompter.requests[0].message.text, kOverflow);
    EXPECT_EQ(prompter.requests[0].message.caption, program.APP_TITLE);

    program.settings.SCNN = 1;
    store.checkDigitOverflow(10);
    EXPECT_EQ(prompter.requests.size(), 2u);
}

TEST_F(DigitOverflowTest, PagesAfter999GetLongerNamesAndTheNextRunHasNoNameLeft) {
    touch("IMG998.bmp");
    for (int k = 0; k < 3; ++k)
        writePage(k, Page::Colour);
    KeptPages kept(program);
    PageStore store(program, kept);
    int32_t last = 0;
    ASSERT_EQ(FIND_LAST_NUMBER(program, last), 0);
    int64_t next = last + 1;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"IMG999.bmp", "IMG1000.bmp", "IMG1001.bmp"}));
    EXPECT_EQ(messageTexts(), QStringList{kOverflow});
    EXPECT_EQ(next, 1002);

    // The next run without serial numbering starts from the files present and stops.
    prompter.requests.clear();
    EXPECT_EQ(FIND_LAST_NUMBER(program, last), -1);
    EXPECT_EQ(messageTexts(), QStringList{kNoNameLeft});
}

TEST_F(DigitOverflowTest, NumbersAtTheirLimits) {
    struct Case {
        const char* what;
        int16_t digits;
        int16_t serial;
        int32_t start;
        QStringList present;
        int pages;
        QStringList names;
        QStringList messages;
        int16_t digitsAfter;
    };
    const Case cases[] = {
        {"the collision rule lands on 10^SCNN",
         3,
         1,
         5,
         {"IMG005.bmp", "IMG999.bmp"},
         1,
         {"IMG1000.bmp"},
         {kOverflow},
         3},
        {"no serial number passes the largest 32-bit value",
         9,
         1,
         INT32_MAX,
         {},
         2,
         {"IMG2147483647.bmp", ""},
         {kNoNameLeft},
         9},
        {"twelve digits are lowered to nine", 12, 0, 0, {}, 1, {"IMG000000001.bmp"}, {}, 9},
    };
    const QString root = acq;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        acq = root + QString::number(++n) + '/';
        program.ACQ_DIR = acq;
        QDir().mkpath(acq);
        prompter.requests.clear();
        program.settings.SCNN = c.digits;
        program.settings.NBMD = c.serial;
        program.settings.NBNB = c.start;
        for (const QString& name : c.present)
            touch(name);
        for (int k = 0; k < c.pages; ++k)
            writePage(k, Page::Colour);
        KeptPages kept(program);
        PageStore store(program, kept);
        int64_t last = 0;
        ASSERT_TRUE(STARTING_NUMBER(program, last));
        int64_t next = last + 1;
        EXPECT_EQ(storeStep(store, c.pages, next), c.names);
        EXPECT_EQ(messageTexts(), c.messages);
        EXPECT_EQ(program.settings.SCNN, c.digitsAfter);
        EXPECT_EQ(kept.count(), int(c.names.count(QString())));
    }
}

} // namespace
