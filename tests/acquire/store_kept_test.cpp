// Pages that cannot be stored are kept under names no run overwrites, and the user hears of them
// once per run: failed loads and saves, no automatic name left during a run, a folder that turns
// read-only, and page files left by an interrupted run.
#include "store_fixture.h"
#include "interrupted_runs.h"
#include "kept_folder.h"
#include "small_volume.h"

#include <QDateTime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime kStamp(QDate(2024, 5, 6), QTime(7, 8, 9));

class KeptPagesTest : public AcquireStoreTest {
protected:
    KeptPages kept{program, kStamp};
    PageStore store{program, kept};

    static QString keptName(int n) {
        return QStringLiteral("ORVA_KEEP.20240506-070809.%1.bmp").arg(n, 4, 10, QChar('0'));
    }

    // The one message of the run, checked for its form; returns its text.
    QString reportText() {
        const size_t before = prompter.requests.size();
        EXPECT_TRUE(kept.report());
        EXPECT_EQ(prompter.requests.size(), before + 1);
        const Prompter::Message& m = prompter.requests.back().message;
        EXPECT_EQ(m.caption, program.APP_TITLE);
        EXPECT_EQ(m.icon, Prompter::Icon::Exclamation);
        EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
        return m.text;
    }
};

TEST_F(KeptPagesTest, UnreadablePageIsKeptBesideTheOthers) {
    program.settings.SVMD = 1;
    writePage(0, Page::Colour);
    ASSERT_TRUE(writeBytes((acq + "ORVA_TMP.001").toStdString(), "BMnot a picture", 15));
    writePage(2, Page::Grey);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"IMG001.jpg", "", "IMG003.jpg"}));
    EXPECT_EQ(files(acq), (QStringList{"IMG001.jpg", "IMG003.jpg", keptName(1)}));
    EXPECT_EQ(readBytes((acq + keptName(1)).toStdString()), "BMnot a picture");

    const QString text = reportText();
    EXPECT_TRUE(text.contains(QStringLiteral("1枚")));
    EXPECT_TRUE(text.contains(acq));
    // Reported once: the count starts afresh.
    EXPECT_FALSE(kept.report());
    EXPECT_EQ(kept.count(), 0);
}

TEST_F(KeptPagesTest, FailedSaveKeepsThePageAndLaterPagesGoOn) {
    // A folder where the converted file would go: the save cannot rename onto it (also as root).
    program.settings.SVMD = 1;
    ASSERT_TRUE(QDir().mkdir(acq + "IMG002.jpg"));
    for (int k = 0; k < 3; ++k)
        writePage(k, Page::Colour);
    const std::string page1 = readBytes((acq + "ORVA_TMP.001").toStdString());
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"IMG001.jpg", "", "IMG003.jpg"}));
    EXPECT_EQ(files(acq), (QStringList{"IMG001.jpg", "IMG003.jpg", keptName(1)}));
    EXPECT_EQ(readBytes((acq + keptName(1)).toStdString()), page1);
    EXPECT_TRUE(QFileInfo(acq + "IMG002.jpg").isDir());
    EXPECT_TRUE(reportText().contains(QStringLiteral("1枚")));
}

TEST_F(KeptPagesTest, BmpMoveOntoATakenNameKeepsThePage) {
    ASSERT_TRUE(QDir().mkdir(acq + "IMG001.bmp"));
    writePage(0, Page::BlackWhite);
    int64_t next = 1;
    EXPECT_EQ(storeStep(store, 1, next), QStringList{""});
    EXPECT_EQ(files(acq), QStringList{keptName(1)});
    EXPECT_EQ(kept.count(), 1);
}

TEST_F(KeptPagesTest, NoNameLeftDuringARunStopsWithoutOverwriting) {
    // Serial numbering lands on a taken name; the rescan finds the first number beyond the range.
    program.settings.NBMD = 1;
    touch("IMG005.bmp");
    touch("IMG1000.jpg");
    for (int k = 0; k < 3; ++k)
        writePage(k, Page::Colour);
    int64_t next = 5;
    EXPECT_EQ(storeStep(store, 3, next), (QStringList{"", "", ""}));
    EXPECT_TRUE(store.stopped());
    EXPECT_EQ(readBytes((acq + "IMG005.bmp").toStdString()), "x");
    EXPECT_EQ(readBytes((acq + "IMG1000.jpg").toStdString()), "x");
    EXPECT_EQ(files(acq),
              (QStringList{"IMG005.bmp", "IMG1000.jpg", keptName(1), keptName(2), keptName(3)}));
    ASSERT_EQ(prompter.requests.size(), 1u); // the no-name-left message, once
    EXPECT_TRUE(prompter.requests[0].message.text.startsWith(
        QStringLiteral("現在のファイル名設定ではこれ以上")));
    EXPECT_TRUE(reportText().contains(QStringLiteral("3枚")));
}

TEST_F(KeptPagesTest, FolderTurningReadOnlyHalfwayKeepsEveryPage) {
    SmallVolume volume(8 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no right to mount a file system";
    acq = QString::fromStdString(volume.path()) + '/';
    program.ACQ_DIR = acq;
    for (int16_t format : {int16_t(0), int16_t(1)}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(volume.setReadOnly(false));
        for (const QString& name : files(acq))
            QFile::remove(acq + name);
        program.settings.SVMD = format;
        for (int k = 0; k < 4; ++k)
            writePage(k, Page::Colour);
        int64_t next = 1;
        store.beginStep();
        QStringList names;
        for (int k = 0; k < 4; ++k, ++next) {
            if (k == 2) {
                ASSERT_TRUE(volume.setReadOnly(true));
            }
            names += store.storePage(k, next);
        }
        store.endStep();
        const QString ext = format == 0 ? ".bmp" : ".jpg";
        EXPECT_EQ(names, (QStringList{"IMG001" + ext, "IMG002" + ext, "", ""}));
        const QString refuge = kept_folder::primary();
        ASSERT_EQ(files(refuge).size(), 2);
        EXPECT_EQ(readBytes((refuge + files(refuge)[0]).toStdString()),
                  readBytes((acq + "ORVA_TMP.002").toStdString()));
        const QString text = reportText();
        EXPECT_TRUE(text.contains(QStringLiteral("2枚")));
        EXPECT_TRUE(text.contains(refuge));

        // The volume would not let the page files go: once it is writable again, the next start
        // names them (their copies stay kept as well).
        ASSERT_TRUE(volume.setReadOnly(false));
        EXPECT_EQ(recoverInterruptedRuns(program, acq), 2);
        EXPECT_EQ(files(acq),
                  (QStringList{"IMG001" + ext, "IMG002" + ext, "IMG003" + ext, "IMG004" + ext}));
        QDir(refuge).removeRecursively();
        prompter.requests.clear();
    }
}

TEST_F(KeptPagesTest, PageNoFolderTakesStaysWhereItIsAndIsReported) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no right to mount a file system";
    acq = QString::fromStdString(volume.path()) + '/';
    program.ACQ_DIR = acq;
    writePage(0, Page::Colour);
    ASSERT_TRUE(QDir().mkdir(acq + "tmp"));
    ASSERT_TRUE(volume.setReadOnly(true));
    // Neither the kept-pages folder nor the temporary folder can take it.
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("ORVANA_KEPT_DIR", QFile::encodeName(acq + "kept"));
    qputenv("TMPDIR", QFile::encodeName(acq + "tmp"));
    program.settings.SVMD = 1;
    int64_t next = 1;
    const QStringList names = storeStep(store, 1, next);
    if (tmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmp);
    EXPECT_EQ(names, QStringList{""});
    EXPECT_EQ(files(acq), QStringList{"ORVA_TMP.000"});
    EXPECT_EQ(kept.notKept(), QStringList{acq + "ORVA_TMP.000"});
    const QString text = reportText();
    EXPECT_TRUE(text.contains(acq + "ORVA_TMP.000")) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("理由 : "))) << text.toStdString();
}

TEST_F(KeptPagesTest, NothingToKeepWhenTheFileIsGone) {
    EXPECT_EQ(kept.keep(acq + "ORVA_TMP.000"), QString());
    EXPECT_FALSE(kept.report());
    EXPECT_TRUE(prompter.requests.empty());
}

} // namespace
