// The folders settled at start-up: date text, acquisition folder, first-start base folder, the
// display folder without a command line, the folder history and the command-line rule.
#include "browsing_state.h"
#include "command_line.h"
#include "desktop.h"
#include "folder_history.h"
#include "program.h"
#include "program_options.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "startup_folders.h"
#include "temp_dir.h"
#include "user_folders.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

// Readable QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

class StartupFolders : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir temp;
    QString tempDir() const { return QString::fromStdString(temp.path()); }

    void SetUp() override {
        testApplication();
        program.PROGRAM_DIR = QStringLiteral("/opt/orvana/");
        program.TODAY_STR = QStringLiteral("12082026");
    }
};

TEST_F(StartupFolders, TodayIsMonthDayYearWithLeadingZeros) {
    EXPECT_EQ(todayText(QDate(2026, 3, 7)), QStringLiteral("03072026"));
    EXPECT_EQ(todayText(QDate(1999, 12, 31)), QStringLiteral("12311999"));
}

TEST_F(StartupFolders, AcquisitionFolderIsBaseOrDatedSubFolder) {
    program.settings.BASD = QStringLiteral("/pics/");
    program.settings.MKDR = 0;
    makeAcquisitionFolder(program, QStringLiteral("/home/u/Desktop"));
    EXPECT_EQ(program.ACQ_DIR, QStringLiteral("/pics/"));

    program.settings.MKDR = 1;
    makeAcquisitionFolder(program, QStringLiteral("/home/u/Desktop"));
    EXPECT_EQ(program.ACQ_DIR, QStringLiteral("/pics/12082026/"));
    EXPECT_EQ(program.settings.BASD, QStringLiteral("/pics/")) << "BADM 0 keeps BASD";
}

TEST_F(StartupFolders, DesktopModeReplacesBaseEvenWhenDesktopIsUnknown) {
    program.settings.BASD = QStringLiteral("/pics/");
    program.settings.BADM = 1;
    makeAcquisitionFolder(program, QStringLiteral("/home/u/Desktop"));
    EXPECT_EQ(program.settings.BASD, QStringLiteral("/home/u/Desktop/"));
    EXPECT_EQ(program.ACQ_DIR, QStringLiteral("/home/u/Desktop/"));

    makeAcquisitionFolder(program, QString());
    EXPECT_EQ(program.settings.BASD, QStringLiteral("/"));
}

TEST_F(StartupFolders, FirstRunTakesTheDesktopAndDatedFolders) {
    program.settings.MKDR = 0;
    settleFirstRunBase(program, tempDir());
    EXPECT_EQ(program.settings.BASD, tempDir() + QLatin1Char('/'));
    EXPECT_EQ(program.settings.FTRD, program.settings.BASD);
    EXPECT_EQ(program.settings.MKDR, 1);
}

TEST_F(StartupFolders, FirstRunWithoutDesktopFolderUsesTheHomeFolder) {
    // Wherever the program runs from, its own folder or a package's: the pages go home.
    for (const char* programFolder : {"/opt/orvana/", "/usr/lib/orvana/program/"}) {
        SCOPED_TRACE(programFolder);
        program.PROGRAM_DIR = QString::fromLatin1(programFolder);
        settleFirstRunBase(program, tempDir() + QStringLiteral("/missing"));
        EXPECT_EQ(program.settings.BASD, user_folders::home() + QLatin1Char('/'));
        settleFirstRunBase(program, QString());
        EXPECT_EQ(program.settings.BASD, user_folders::home() + QLatin1Char('/'));
        EXPECT_EQ(program.settings.FTRD, program.settings.BASD);
    }
    program.PROGRAM_DIR = QStringLiteral("/opt/orvana/");

    // In desktop mode the desktop is taken as it is: none gives the root.
    program.settings.BADM = 1;
    settleFirstRunBase(program, QString());
    EXPECT_EQ(program.settings.BASD, QStringLiteral("/"));
}

TEST_F(StartupFolders, StartFolderIsLastShownOnlyWhenAsked) {
    program.settings.DFDS = QStringLiteral("/last/");
    program.settings.DFDF = 0;
    EXPECT_EQ(startFolder(program.settings, QStringLiteral("/acq/")), QStringLiteral("/acq/"));
    program.settings.DFDF = 1;
    EXPECT_EQ(startFolder(program.settings, QStringLiteral("/acq/")), QStringLiteral("/last/"));
    program.settings.DFDS.clear();
    EXPECT_EQ(startFolder(program.settings, QStringLiteral("/acq/")), QStringLiteral("/acq/"));
}

TEST_F(StartupFolders, DesktopFollowsTheUserDirectories) {
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldHome = qgetenv("HOME");
    QDir(tempDir()).mkpath(QStringLiteral("config"));
    QDir(tempDir()).mkpath(QStringLiteral("Schreibtisch"));
    const std::string dirs = "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch/\"\n";
    writeBytes(temp.file("config/user-dirs.dirs"), dirs.data(), dirs.size());
    qputenv("XDG_CONFIG_HOME", (tempDir() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("HOME", tempDir().toLocal8Bit());
    const QString desktop = GET_DESKTOP_DIR();
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("HOME", oldHome);
    EXPECT_EQ(desktop, tempDir() + QStringLiteral("/Schreibtisch"));
}

// The folder history: eleven slots, the newest first, mirrored into DD00..DD09.
class FolderHistory : public StartupFolders {
protected:
    QStringList filled;
    QString shown;
    int fills = 0;
    bool busyDuringFill = false;

    FolderListFill recorder() {
        return [this](const QStringList& entries, const QString& text) {
            filled = entries;
            shown = text;
            busyDuringFill = program.HISTORY_BUSY;
            ++fills;
        };
    }
    void add(const QString& folder) { ADD_FOLDER_HISTORY(program, folder, recorder()); }
};

TEST_F(FolderHistory, NewestFirstAndBusyOnlyWhileFilling) {
    add(QStringLiteral("/a/"));
    add(QStringLiteral("/b/"));
    EXPECT_EQ(filled, (QStringList{"/b/", "/a/"}));
    EXPECT_EQ(shown, QStringLiteral("/b/"));
    EXPECT_TRUE(busyDuringFill);
    EXPECT_FALSE(program.HISTORY_BUSY);
    EXPECT_EQ(program.settings.DD00, QStringLiteral("/b/"));
    EXPECT_EQ(program.settings.DD01, QStringLiteral("/a/"));
}

TEST_F(FolderHistory, SameFolderTwiceKeepsOneEntryAtTheHead) {
    add(QStringLiteral("/a/"));
    add(QStringLiteral("/b/"));
    add(QStringLiteral("/a/"));
    add(QStringLiteral("/a/"));
    EXPECT_EQ(filled, (QStringList{"/a/", "/b/"}));
    // The comparison is exact: another letter case is another folder.
    add(QStringLiteral("/A/"));
    EXPECT_EQ(filled, (QStringList{"/A/", "/a/", "/b/"}));
}

TEST_F(FolderHistory, ElevenSlotsTheOldestFallsOutOfTheSavedTen) {
    for (int i = 0; i < 12; ++i) {
        add(QStringLiteral("/f%1/").arg(i));
    }
    EXPECT_EQ(program.FOLDER_HISTORY[0], QStringLiteral("/f11/"));
    EXPECT_EQ(program.FOLDER_HISTORY[9], QStringLiteral("/f2/"));
    EXPECT_EQ(program.FOLDER_HISTORY[10], QStringLiteral("/f1/"));
    EXPECT_EQ(program.settings.DD09, QStringLiteral("/f2/"));
    EXPECT_EQ(filled.size(), 11);

    // Re-adding a folder frees a slot: the overflow slot is emptied again.
    add(QStringLiteral("/f5/"));
    EXPECT_EQ(program.FOLDER_HISTORY[0], QStringLiteral("/f5/"));
    EXPECT_EQ(program.FOLDER_HISTORY[9], QStringLiteral("/f2/"));
    EXPECT_TRUE(program.FOLDER_HISTORY[10].isEmpty());
}

TEST_F(FolderHistory, EmptyFolderOnlyRefillsAndGapsClose) {
    program.settings.DD00 = QStringLiteral("/x/");
    program.settings.DD03 = QStringLiteral("/y/");
    loadFolderHistory(program);
    add(QString());
    EXPECT_EQ(filled, (QStringList{"/x/", "/y/"}));
    EXPECT_EQ(fills, 1);
    EXPECT_TRUE(program.settings.DD01.isEmpty());

    add(QStringLiteral("/z/"));
    EXPECT_EQ(program.FOLDER_HISTORY[1], QStringLiteral("/x/"));
    EXPECT_EQ(program.FOLDER_HISTORY[2], QStringLiteral("/y/"));
}

TEST_F(FolderHistory, RefillsTheComboBoxQuietly) {
    QComboBox combo;
    combo.setEditable(true);
    combo.addItem(QStringLiteral("/stale/"));
    bool busySeen = true;
    QObject::connect(&combo, &QComboBox::currentTextChanged,
                     [&] { busySeen = busySeen && program.HISTORY_BUSY; });
    ADD_FOLDER_HISTORY(program, QStringLiteral("/a/"), &combo);
    ADD_FOLDER_HISTORY(program, QStringLiteral("/b/"), &combo);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("/b/"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("/b/"));
    EXPECT_TRUE(busySeen) << "every change of the box happened while HISTORY_BUSY was set";
}

// Names from the command line or a drop.
TEST(FolderNames, BackwardScanDecides) {
    EXPECT_EQ(folderFromName(QStringLiteral("/no/such/place")).folder,
              QStringLiteral("/no/such/place/"));
    EXPECT_EQ(folderFromName(QStringLiteral("/no/such/")).folder, QStringLiteral("/no/such/"));
    EXPECT_FALSE(folderFromName(QStringLiteral("/no/such/photo.jpg")).isFolder);
    EXPECT_TRUE(folderFromName(QStringLiteral("/no/such.d/photos")).isFolder)
        << "a dot before the last separator does not count";
    EXPECT_EQ(folderFromName(QStringLiteral("C:")).folder, QStringLiteral("C:/"));
    EXPECT_FALSE(folderFromName(QStringLiteral("photos")).isFolder);
    EXPECT_FALSE(folderFromName(QString()).isFolder);
    // An existing folder named relatively is stored with its whole path.
    const QString here = QDir::currentPath();
    EXPECT_EQ(folderFromName(QStringLiteral(".")).folder, here + QLatin1Char('/'));
    EXPECT_EQ(folderFromName(QStringLiteral("./")).folder, here + QLatin1Char('/'));
}

TEST(FolderNames, AnExistingFolderIsAlwaysAFolder) {
    TempDir temp;
    const QString dotted = QString::fromStdString(temp.path()) + QStringLiteral("/2026.05");
    ASSERT_TRUE(QDir().mkpath(dotted));
    EXPECT_EQ(folderFromName(dotted).folder, dotted + QLatin1Char('/'));
    const QString cwdRelative = QStringLiteral("no-separator-here");
    ASSERT_TRUE(QDir(QString::fromStdString(temp.path())).mkpath(cwdRelative));
    const QString old = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(temp.path()));
    EXPECT_TRUE(folderFromName(cwdRelative).isFolder);
    QDir::setCurrent(old);
}

TEST(FolderNames, CommandLineIsJoinedAndUnquoted) {
    EXPECT_EQ(commandLineText({"ORVA32"}), QString());
    EXPECT_EQ(commandLineText({"ORVA32", "/my", "pics/"}), QStringLiteral("/my pics/"));
    EXPECT_EQ(commandLineText({"ORVA32", "\"/my pics/\""}), QStringLiteral("/my pics/"));
    EXPECT_EQ(commandLineText({"ORVA32", "\""}), QStringLiteral("\"")) << "a lone quote stays";
}

// The options are answered before anything starts; whatever is not an option is the folder, as one
// text, as it always was.
TEST(ProgramOptionsTest, HelpVersionBadOptionsAndTheFolder) {
    struct Case {
        QStringList arguments;
        bool run;
        int exitCode;
        const char* output; // what standard output starts with
        const char* error;  // what standard error starts with
        const char* folder;
    };
    const Case cases[] = {
        {{"ORVA32"}, true, 0, "", "", ""},
        {{"ORVA32", "/my", "pics/"}, true, 0, "", "", "/my pics/"},
        {{"ORVA32", "\"/my pics/\""}, true, 0, "", "", "/my pics/"},
        {{"ORVA32", "--", "-odd/"}, true, 0, "", "", "-odd/"},
        {{"ORVA32", "--help"}, false, 0, "Usage: orvana [options] [folder]\n", "", ""},
        {{"ORVA32", "-h", "/pics/"}, false, 0, "Usage: orvana", "", ""},
        {{"ORVA32", "--help-all"}, false, 0, "Usage: orvana", "", ""},
        {{"ORVA32", "--version"}, false, 0, "Orvana " ORVANA_VERSION "\n", "", ""},
        {{"ORVA32", "--colour", "/pics/"}, false, 2, "", "Unknown option 'colour'.\n", ""},
        {{"ORVA32", "-x"}, false, 2, "", "Unknown option 'x'.\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramOptions options = parseProgramOptions(c.arguments);
        EXPECT_EQ(options.run, c.run);
        EXPECT_EQ(options.exitCode, c.exitCode);
        const QString start = QString::fromUtf8(c.output);
        EXPECT_EQ(options.output.left(start.size()), start) << options.output.toStdString();
        EXPECT_EQ(options.output.isEmpty(), *c.output == 0);
        EXPECT_EQ(options.error, QString::fromUtf8(c.error));
        EXPECT_EQ(options.folder, QString::fromUtf8(c.folder));
    }
    // The help names the folder argument and the files the program uses.
    const QString help = parseProgramOptions({"ORVA32", "--help"}).output;
    for (const char* part : {"[folder]", "--version", "ORVA.CNF", "thumbnails", "trash"}) {
        EXPECT_TRUE(help.contains(QLatin1String(part))) << part;
    }
}

} // namespace
