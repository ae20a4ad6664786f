// Loading and saving the settings record through ORVA.CNF and its template DEF_ORVA.CNF.
#include "settings_field.h"
#include "settings_line.h"
#include "settings_line_reader.h"
#include "settings_store.h"
#include "temp_dir.h"
#include "without_root_rights.h"

#include <QString>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string shippedTemplate = std::string(ORVANA_RESOURCES) + "/DEF_ORVA.CNF";

// A small template: comments, an empty line, settings with and without comments, a key the
// record does not have, and lines after the end marker.
const std::string smallTemplate = "' test settings\r\n"
                                  "\r\n"
                                  "NTOP , IMG 'file prefix\r\n"
                                  "  BASD ,  'base folder\r\n"
                                  "DSPM ,  1\r\n"
                                  "POSL ,  0 'left\r\n"
                                  "POSW ,  0\r\n"
                                  "SCNN ,  3 'digits\r\n"
                                  "MKDR ,  0\r\n"
                                  "D1MD ,  0 'zoom\r\n"
                                  "DFDS ,  \r\n"
                                  "XXXX , kept, as is 'unknown\r\n"
                                  "   'indented comment\r\n"
                                  "[EOF]\r\n"
                                  "JPGP , 50\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    QString programDir() const { return QString::fromStdString(dir.path()) + QLatin1Char('/'); }
    std::string path(const std::string& name) const { return dir.file(name); }
    void write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(writeBytes(path(name), text.data(), text.size()));
    }
    std::string read(const std::string& name) const { return readBytes(path(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

    // Loads settingsText as ORVA.CNF into a record that starts from the struct's own values.
    USR_SETTINGS load(const std::string& settingsText) {
        write("ORVA.CNF", settingsText);
        USR_SETTINGS settings;
        EXPECT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::Loaded);
        return settings;
    }

    SettingsStore store() const { return SettingsStore(programDir()); }

    TempDir dir;
};

TEST_F(SettingsStoreTest, FirstStartCopiesTheDefaultsByteForByte) {
    std::string defaults = readBytes(shippedTemplate);
    ASSERT_FALSE(defaults.empty());
    write("DEF_ORVA.CNF", defaults);

    USR_SETTINGS settings;
    EXPECT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::CreatedFromDefaults);
    EXPECT_EQ(read("ORVA.CNF"), defaults);
    EXPECT_EQ(settings.JPGP, 85);

    // The next start reads the copy.
    USR_SETTINGS again;
    EXPECT_EQ(store().LOAD_SETTINGS(again), SettingsLoadResult::Loaded);
    EXPECT_EQ(again.JPGP, 85);
}

TEST_F(SettingsStoreTest, TextWithApostrophesComesBack) {
    write("DEF_ORVA.CNF", smallTemplate);
    for (const QString& text :
         {QStringLiteral("/home/me/it's/"), QStringLiteral("'"), QStringLiteral("a''b"),
          QStringLiteral("end'"), QStringLiteral("no apostrophe")}) {
        USR_SETTINGS settings;
        settings.BASD = text;
        settings.NTOP = QStringLiteral("IMG");
        ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
        USR_SETTINGS loaded;
        ASSERT_EQ(store().LOAD_SETTINGS(loaded), SettingsLoadResult::Loaded);
        EXPECT_EQ(loaded.BASD, text);
        EXPECT_EQ(loaded.NTOP, u"IMG") << "the line's comment is still a comment";
    }
    EXPECT_NE(read("ORVA.CNF").find("BASD , no apostrophe 'base folder\r\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, BytesTheLocaleCannotReadSurviveASave) {
    write("DEF_ORVA.CNF", "BASD ,  'base\r\n' caf\xe9 comment\r\n[EOF]\r\n");
    write("ORVA.CNF", "BASD , /photos/\x83\x65\x83\x58\x83\x67/ 'base\r\n[EOF]\r\n");
    USR_SETTINGS settings;
    ASSERT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::Loaded);
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
    EXPECT_EQ(read("ORVA.CNF"), "BASD , /photos/\x83\x65\x83\x58\x83\x67/ 'base\r\n"
                                "' caf\xe9 comment\r\n[EOF]\r\n");
}

TEST_F(SettingsStoreTest, ShippedDefaultsAreTheBuiltInOnes) {
    write("DEF_ORVA.CNF", readBytes(shippedTemplate));
    USR_SETTINGS shipped;
    store().LOAD_SETTINGS(shipped);
    USR_SETTINGS builtIn;
    store().setBuiltInDefaults(builtIn);
    // The keys that have a built-in default (the others take theirs from the file alone).
    for (const char* name :
         {"BASD", "MKDR", "NTOP", "TWBT", "MPRX", "MPRY", "CTDM", "CFDM", "CMTX", "CMTY", "CMTT",
          "BADM", "NTWF", "NTWP", "UTNM", "UTNT", "SCNN", "RNDU", "EXTM"}) {
        const SettingKey& key = *findSettingKey(name);
        EXPECT_EQ(settings_field::format(shipped, key), settings_field::format(builtIn, key))
            << name;
    }
    // An empty source folder of the folder method is the program's folder.
    EXPECT_EQ(shipped.NTWP, programDir());
}

TEST_F(SettingsStoreTest, SavingTheShippedDefaultsReproducesThem) {
    std::string defaults = readBytes(shippedTemplate);
    write("DEF_ORVA.CNF", defaults);
    USR_SETTINGS settings;
    store().LOAD_SETTINGS(settings);
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
    // Byte for byte, but for the source folder, which is now the program's folder.
    const std::string empty = "NTWP ,  '";
    const std::string filled = "NTWP , " + programDir().toStdString() + " '";
    ASSERT_NE(defaults.find(empty), std::string::npos);
    EXPECT_EQ(read("ORVA.CNF"), defaults.replace(defaults.find(empty), empty.size(), filled));
}

TEST_F(SettingsStoreTest, ShippedTemplateHoldsEveryKeyOnceInRange) {
    std::string defaults = readBytes(shippedTemplate);
    ASSERT_GE(defaults.size(), 7u);
    EXPECT_EQ(defaults.substr(defaults.size() - 7), "[EOF]\r\n");

    std::map<QString, int> seen;
    std::size_t start = 0;
    while (start < defaults.size()) {
        std::size_t end = defaults.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "line without CR LF at byte " << start;
        QString line = QString::fromStdString(defaults.substr(start, end - start));
        start = end + 2;
        EXPECT_FALSE(line.contains(QLatin1Char('\n'))) << "bare LF in " << line.toStdString();
        if (line == u"[EOF]") {
            EXPECT_EQ(start, defaults.size()) << "text after the end marker";
            break;
        }
        QString trimmed = settings_line::trimBlanks(line);
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('\''))) {
            continue;
        }
        SettingLine parts = settings_line::split(trimmed);
        const SettingKey* key = findSettingKey(parts.key.toStdString());
        ASSERT_NE(key, nullptr) << "unknown key " << parts.key.toStdString();
        USR_SETTINGS settings;
        EXPECT_TRUE(settings_field::store(settings, *key, parts.value))
            << parts.key.toStdString() << " out of range";
        ++seen[parts.key];
    }
    for (const SettingKey& key : SETTING_KEYS) {
        EXPECT_EQ(seen[QString::fromLatin1(key.name.data(), key.name.size())], 1)
            << std::string(key.name);
    }
    EXPECT_EQ(seen.size(), SETTING_KEYS.size());
}

TEST_F(SettingsStoreTest, SaveFollowsTheTemplateWithCurrentValues) {
    write("DEF_ORVA.CNF", smallTemplate);
    write("ORVA.CNF", "old\r\n");
    USR_SETTINGS settings;
    settings.NTOP = QStringLiteral("scan-");
    settings.BASD = QStringLiteral("/home/u/a,b/");
    settings.DSPM = 2;
    settings.SCNN = 0;
    settings.MKDR = 2.5;
    settings.D1MD = 0.5f;
    settings.JPGP = 33;

    SettingsSaveMoment moment{QStringLiteral("/pictures/"), -120, 45, 9000, 6000};
    ASSERT_EQ(store().SAVE_SETTINGS(settings, moment), SettingsSaveResult::Saved);

    EXPECT_EQ(read("ORVA.CNF"), "' test settings\r\n"
                                "\r\n"
                                "NTOP , scan- 'file prefix\r\n"
                                "BASD , /home/u/a,b/ 'base folder\r\n"
                                "DSPM ,  2 \r\n"
                                "POSL , -120 'left\r\n"
                                "POSW ,  9000 \r\n"
                                "SCNN ,  0 'digits\r\n"
                                "MKDR ,  2 \r\n"
                                "D1MD ,  .5 'zoom\r\n"
                                "DFDS , /pictures/ \r\n"
                                "XXXX , kept, as is 'unknown\r\n"
                                "'indented comment\r\n"
                                "[EOF]\r\n");
    EXPECT_FALSE(std::filesystem::exists(store().temporaryPath().toStdString()));
    EXPECT_EQ(settings.DFDS, u"/pictures/");
    EXPECT_EQ(settings.POSH, 6000);
}

TEST_F(SettingsStoreTest, ValuesSurviveASaveAndALoad) {
    write("DEF_ORVA.CNF", readBytes(shippedTemplate));
    USR_SETTINGS settings;
    settings.BASD = QStringLiteral("/data/scans, 2024/");
    settings.LEXE = QStringLiteral("/opt/写真/edit");
    settings.D1MD = -0.25f;
    settings.NBNB = -7;
    settings.CMTT = 12;
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {QStringLiteral("/x/"), 1, 2, 3, 4}),
              SettingsSaveResult::Saved);

    USR_SETTINGS loaded;
    ASSERT_EQ(store().LOAD_SETTINGS(loaded), SettingsLoadResult::Loaded);
    EXPECT_EQ(loaded.BASD, settings.BASD);
    EXPECT_EQ(loaded.LEXE, settings.LEXE);
    EXPECT_EQ(loaded.D1MD, -0.25f);
    EXPECT_EQ(loaded.NBNB, -7);
    EXPECT_EQ(loaded.CMTT, 12);
    EXPECT_EQ(loaded.DFDS, u"/x/");
    EXPECT_EQ(loaded.POSH, 4);
    EXPECT_NE(read("ORVA.CNF").find("LEXE , /opt/\xE5\x86\x99\xE7\x9C\x9F/edit "),
              std::string::npos);
}

TEST_F(SettingsStoreTest, ApostrophesAndLineBreaksNeverBreakTheFile) {
    write("DEF_ORVA.CNF", "NTOP ,  \r\nBASD ,  \r\n[EOF]\r\n");
    USR_SETTINGS settings;
    settings.NTOP = QStringLiteral("it's");
    settings.BASD = QStringLiteral("/a\nDSPM , 2\r/");
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
    USR_SETTINGS loaded;
    store().LOAD_SETTINGS(loaded);
    EXPECT_EQ(loaded.NTOP, u"it's");
    EXPECT_EQ(loaded.BASD, u"/a DSPM , 2 /");
    EXPECT_EQ(loaded.DSPM, 1);
}

TEST_F(SettingsStoreTest, ReadsLinesAsTheFormatSays) {
    USR_SETTINGS settings;
    settings.DD03 = QStringLiteral("/stale/");
    settings.NTOP = QStringLiteral("before");
    write("ORVA.CNF", "' comment: NTOP , no\r\n"
                      "    BASD ,   /base/  'leading blanks before the key\r\n"
                      "   'NTOP , indented comment reads as nothing\r\n"
                      "DD03 ,\r\n"
                      "MPRX , 2.5\r\n"
                      "MPRY , 3.5\r\n"
                      "CNFP , -2.5\r\n"
                      "ntop , lower case key\r\n"
                      "ABCD , 5\r\n"
                      "[EOF] \r\n"
                      "NBNB , 17\r\n"
                      "[EOF]\r\n"
                      "JPGP , 40\r\n");
    EXPECT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::Loaded);
    EXPECT_EQ(settings.BASD, u"/base/");
    EXPECT_EQ(settings.NTOP, u""); // the built-in default, not overwritten by any line
    EXPECT_EQ(settings.DD03, u"");
    EXPECT_EQ(settings.MPRX, 2);
    EXPECT_EQ(settings.MPRY, 4);
    EXPECT_EQ(settings.CNFP, -2);
    // "[EOF] " with a trailing blank is not the end marker; the exact one is.
    EXPECT_EQ(settings.NBNB, 17);
    EXPECT_EQ(settings.JPGP, 0);
}

TEST_F(SettingsStoreTest, MalformedLinesReadAsZeroOrNothing) {
    USR_SETTINGS settings = load("MPRX 7\r\n"
                                 "JPGP , abc\r\n"
                                 "NTOP text without comma\r\n"
                                 "UTNT , 'nothing before the comment\r\n"
                                 ",,,,\r\n"
                                 "\r\n"
                                 "NBNB , 12 apples\r\n");
    EXPECT_EQ(settings.MPRX, 0);
    EXPECT_EQ(settings.JPGP, 0);
    EXPECT_EQ(settings.NTOP, u"NTOP text without comma");
    EXPECT_EQ(settings.UTNT, 0);
    EXPECT_EQ(settings.NBNB, 12);
}

TEST_F(SettingsStoreTest, NumbersOutOfRangeKeepTheDefault) {
    USR_SETTINGS settings = load("DSPM , 3\n"
                                 "SCNN , 12\n"
                                 "MPRX , 40000\n"
                                 "MPRY , 32767.5\n"
                                 "JPGP , 101\n"
                                 "CMTT , 13\n"
                                 "CMTX , 0\n"
                                 "NBNB , 3000000000\n"
                                 "D1MD , 1e39\n"
                                 "TWBT , abc\n"
                                 "UTNT , 1e999\n");
    USR_SETTINGS defaults;
    EXPECT_EQ(settings.DSPM, 1);
    EXPECT_EQ(settings.SCNN, 12); // not out of range: the first run lowers it to 9
    EXPECT_EQ(settings.MPRX, 1);
    EXPECT_EQ(settings.MPRY, 1);
    EXPECT_EQ(settings.JPGP, defaults.JPGP);
    EXPECT_EQ(settings.CMTT, 8);
    EXPECT_EQ(settings.CMTX, 4);
    EXPECT_EQ(settings.NBNB, defaults.NBNB);
    EXPECT_EQ(settings.D1MD, defaults.D1MD);
    EXPECT_EQ(settings.TWBT, 1);
    EXPECT_EQ(settings.UTNT, 1);

    settings = load("MPRY , 32767.4\nNBNB , -2147483648\nCMTT , 12\n");
    EXPECT_EQ(settings.MPRY, 32767);
    EXPECT_EQ(settings.NBNB, -2147483648LL);
    EXPECT_EQ(settings.CMTT, 12);
}

TEST_F(SettingsStoreTest, FileWithoutEndMarkerIsReadToItsEnd) {
    USR_SETTINGS settings = load("NTOP , first\nJPGP , 70\r\nBASD , /last/");
    EXPECT_EQ(settings.NTOP, u"first");
    EXPECT_EQ(settings.JPGP, 70);
    EXPECT_EQ(settings.BASD, u"/last/");

    // A template without the marker still gives a complete file.
    write("DEF_ORVA.CNF", "JPGP ,  0");
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
    EXPECT_EQ(read("ORVA.CNF"), "JPGP ,  70 \r\n[EOF]\r\n");
}

TEST_F(SettingsStoreTest, OverlongLineIsSkippedWithoutLosingTheNext) {
    std::string huge = "NTOP , " + std::string(300 * 1024, 'x') + "\r\nJPGP , 60\r\n";
    USR_SETTINGS settings = load(huge);
    EXPECT_EQ(settings.JPGP, 60);
    EXPECT_LE(settings.NTOP.size(), SettingsLineReader::maxLineBytes);
}

TEST_F(SettingsStoreTest, LoadSetsTheBuiltInDefaultsFirst) {
    USR_SETTINGS settings;
    settings.TWBT = 3;
    settings.NTWP = QStringLiteral("/elsewhere/");
    settings.CMTX = 1;
    settings.DSPM = 2; // set by the start-up before loading; not a built-in default
    settings.LEXE = QStringLiteral("/kept");
    write("ORVA.CNF", "[EOF]\r\n");
    EXPECT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::Loaded);
    EXPECT_EQ(settings.TWBT, 1);
    EXPECT_EQ(settings.NTWP, programDir());
    EXPECT_EQ(settings.CMTX, 4);
    EXPECT_EQ(settings.DSPM, 2);
    EXPECT_EQ(settings.LEXE, u"/kept");
}

TEST_F(SettingsStoreTest, MissingFilesAreReported) {
    USR_SETTINGS settings;
    EXPECT_EQ(store().LOAD_SETTINGS(settings), SettingsLoadResult::DefaultsMissing);
    EXPECT_FALSE(exists("ORVA.CNF"));
    EXPECT_EQ(settings.SCNN, 3);

    write("ORVA.CNF", "JPGP , 10\r\n");
    EXPECT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::TemplateMissing);
    EXPECT_EQ(read("ORVA.CNF"), "JPGP , 10\r\n");
    EXPECT_FALSE(std::filesystem::exists(store().temporaryPath().toStdString()));
}

TEST_F(SettingsStoreTest, FailedTemporaryFileLeavesTheSettingsFile) {
    write("DEF_ORVA.CNF", smallTemplate);
    write("ORVA.CNF", "JPGP , 10\r\n");
    // A folder in the temporary file's place cannot be opened for writing, even by root.
    std::filesystem::create_directory(store().temporaryPath().toStdString());
    USR_SETTINGS settings;
    EXPECT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::WriteFailed);
    EXPECT_EQ(read("ORVA.CNF"), "JPGP , 10\r\n");
}

TEST_F(SettingsStoreTest, TwoProgramsSavingAtOnceNeverLeaveABrokenFile) {
    write("DEF_ORVA.CNF", smallTemplate);
    USR_SETTINGS settings;
    ASSERT_EQ(store().SAVE_SETTINGS(settings, {}), SettingsSaveResult::Saved);
    const std::string whole = read("ORVA.CNF");
    ASSERT_FALSE(whole.empty());
    pid_t savers[2];
    for (pid_t& saver : savers) {
        saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (int i = 0; i < 300; ++i) {
                store().SAVE_SETTINGS(settings, {});
            }
            _exit(0);
        }
    }
    int reads = 0;
    int broken = 0;
    int status = 0;
    while (waitpid(savers[0], &status, WNOHANG) == 0 || waitpid(savers[1], &status, WNOHANG) == 0) {
        broken += read("ORVA.CNF") != whole ? 1 : 0;
        ++reads;
    }
    waitpid(savers[0], &status, 0);
    waitpid(savers[1], &status, 0);
    EXPECT_EQ(broken, 0) << "of " << reads << " reads";
    EXPECT_EQ(read("ORVA.CNF"), whole);
}

TEST_F(SettingsStoreTest, SaveIntoReadOnlyFolderLeavesTheSettingsFile) {
    const WithoutRootRights ordinaryUser;
    if (!ordinaryUser.enforced()) {
        GTEST_SKIP() << "permissions are not enforced here";
    }
    write("DEF_ORVA.CNF", smallTemplate);
    write("ORVA.CNF", "JPGP , 10\r\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    USR_SETTINGS settings;
    SettingsSaveResult result = store().SAVE_SETTINGS(settings, {});
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(result, SettingsSaveResult::WriteFailed);
    EXPECT_EQ(read("ORVA.CNF"), "JPGP , 10\r\n");
    EXPECT_FALSE(std::filesystem::exists(store().temporaryPath().toStdString()));
}

TEST_F(SettingsStoreTest, ReadOnlyFolderOnFirstStartReadsTheDefaultsInPlace) {
    const WithoutRootRights ordinaryUser;
    if (!ordinaryUser.enforced()) {
        GTEST_SKIP() << "permissions are not enforced here";
    }
    write("DEF_ORVA.CNF", "JPGP , 42\r\n[EOF]\r\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    USR_SETTINGS settings;
    SettingsLoadResult result = store().LOAD_SETTINGS(settings);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(result, SettingsLoadResult::ReadDefaultsOnly);
    EXPECT_EQ(settings.JPGP, 42);
    EXPECT_FALSE(exists("ORVA.CNF"));
}

// The settings stay beside the program where it can write, except in a program folder under /usr,
// which belongs to the package manager whoever the user is.
TEST(SettingsFolderTest, AProgramUnderUsrKeepsItsSettingsInTheUsersFolder) {
    TempDir home, program;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").c_str());
    const QString user = QString::fromStdString(home.path()) + "/config/orvana/";
    const QString writable = QString::fromStdString(program.path()) + '/';
    EXPECT_EQ(SettingsStore::settingsFolder(writable), writable);
    EXPECT_EQ(SettingsStore::settingsFolder(QStringLiteral("/usr/lib/orvana/program/")), user);
    EXPECT_EQ(SettingsStore::settingsFolder(QStringLiteral("/usr/local/lib/orvana/program/")),
              user);
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
