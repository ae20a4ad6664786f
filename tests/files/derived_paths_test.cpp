// The files the program touches because a picture changed (the companion's thumbnail of it) stay
// inside the picture's folder: a description that names "." or "..", a thumbnail folder that is a
// link, or a link in place of one thumbnail never lets closing the adjustment dialog, a delete, a
// rename or the companion program reach a file elsewhere. Every file outside is checked byte for
// byte afterwards, and so is the picture itself.
#include "cnf_win.h"
#include "files_fixture.h"
#include "ren_win.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

enum class Action { AdjustClose, Delete, Rename, Companion };
enum class Plant { None, RealFolder, LinkedFolder, LinkedFile };

struct Case {
    const char* name;
    const char* description; // SNAPLET.INF
    Plant plant;
    bool follows; // whether the thumbnail is taken along with its picture
};

const Case kCases[] = {
    {"dot", "TNDN,.\r\n", Plant::None, false},
    {"dot slash", "TNDN,./\r\n", Plant::None, false},
    {"parent of the folder", "TNDN,SNAPTN/..\r\n", Plant::RealFolder, false},
    {"folder that is a link", "TNDN,SNAPTN\r\n", Plant::LinkedFolder, false},
    {"thumbnail that is a link", "TNDN,SNAPTN\r\n", Plant::LinkedFile, false},
    {"real folder", "TNDN,SNAPTN\r\n", Plant::RealFolder, true},
};

const std::pair<Action, const char*> kActions[] = {{Action::AdjustClose, "adjust close"},
                                                   {Action::Delete, "delete"},
                                                   {Action::Rename, "rename"},
                                                   {Action::Companion, "companion"}};

class DerivedPathsTest : public FilesFixture {
protected:
    // Every regular file below root, by path, with its bytes.
    static std::map<std::string, std::string> contents(const std::string& root) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file() && !entry.is_symlink()) {
                files[entry.path().string()] = readBytes(entry.path().string());
            }
        }
        return files;
    }

    template <typename D> static D* shown() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<D*>(top); dialog != nullptr && dialog->isVisible()) {
                QApplication::setActiveWindow(dialog);
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
                return dialog;
            }
        }
        return nullptr;
    }

    void act(Action action, const std::string& pictures) {
        BrowsingState& state = program.browse;
        state.DISP_DIR = q(pictures) + QLatin1Char('/');
        refresh().REFRESH_CATALOGUE(0);
        ASSERT_EQ(state.PAGE_NAME[0], QStringLiteral("a.jpg"));
        state.CAT_CURRENT = QStringLiteral("a.jpg");
        switch (action) {
        case Action::AdjustClose: {
            window().MNU_FILE_CNF->trigger();
            CNF_WIN* dialog = shown<CNF_WIN>();
            ASSERT_NE(dialog, nullptr);
            QTest::mouseClick(dialog->Command4, Qt::LeftButton); // back, nothing saved
            break;
        }
        case Action::Delete:
            prompter.answers = {Prompter::Yes};
            dropCell(window().Image1, 0);
            break;
        case Action::Rename: {
            window().MNU_FILE_RENAME->trigger();
            ASSERT_NE(shown<REN_WIN>(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("c"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        }
        case Action::Companion: {
            const std::string command =
                "'" ORVANA_PROGRAM_DIR "/../Snaplet/SNAPLET' '" + pictures + "' > /dev/null";
            EXPECT_GE(std::system(command.c_str()), 0);
            break;
        }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(DerivedPathsTest, NothingOutsideThePictureFolderIsTouched) {
    program.settings.UTNT = 1;
    program.settings.UTNM = 0;
    int scene = 0;
    for (const Case& c : kCases) {
        for (const auto& [action, actionName] : kActions) {
            SCOPED_TRACE(std::string(c.name) + ", " + actionName);
            const std::string root = folder.file("scene" + std::to_string(scene++));
            const std::string pictures = root + "/pictures";
            const std::string victim = root + "/victim";
            fs::create_directories(pictures);
            fs::create_directories(victim);
            writePicture(pictures + "/a.jpg", colourOf(1), 64, 48);
            writePicture(pictures + "/b.jpg", colourOf(2), 64, 48);
            writePicture(victim + "/a.jpg", colourOf(3), 64, 48);
            writePicture(victim + "/important.jpg", colourOf(4), 640, 480);
            ASSERT_TRUE(
                writeBytes(pictures + "/SNAPLET.INF", c.description, std::strlen(c.description)));
            if (c.plant == Plant::LinkedFolder) {
                fs::create_directory_symlink("../victim", pictures + "/SNAPTN");
            } else if (c.plant != Plant::None) {
                fs::create_directory(pictures + "/SNAPTN");
            }
            if (c.plant == Plant::LinkedFile) {
                fs::create_symlink(victim + "/important.jpg", pictures + "/SNAPTN/a.jpg");
            } else if (c.plant == Plant::RealFolder) {
                writePicture(pictures + "/SNAPTN/a.jpg", colourOf(1), 16, 12);
            }
            // Older than the pictures' second, so the companion sees them as changed.
            fs::last_write_time(pictures + "/a.jpg",
                                fs::last_write_time(pictures + "/a.jpg") - std::chrono::hours(1));
            const std::map<std::string, std::string> outside = contents(victim);
            const std::string picture = readBytes(pictures + "/a.jpg");
            prompter.requests.clear();

            act(action, pictures);

            EXPECT_EQ(contents(victim), outside);
            const bool real = c.follows;
            const std::string thumbnail = pictures + "/SNAPTN/a.jpg";
            switch (action) {
            case Action::AdjustClose:
                EXPECT_EQ(readBytes(pictures + "/a.jpg"), picture);
                EXPECT_EQ(fs::exists(thumbnail), c.plant != Plant::None && !real);
                break;
            case Action::Delete: {
                EXPECT_FALSE(fs::exists(pictures + "/a.jpg"));
                EXPECT_EQ(readBytes(data.file("Trash/files/a.jpg")), picture);
                EXPECT_EQ(fs::exists(data.file("Trash/files/a.jpg.2")), real);
                fs::remove_all(data.file("Trash"));
                break;
            }
            case Action::Rename: {
                EXPECT_FALSE(fs::exists(pictures + "/a.jpg"));
                // The new name's letter case follows the rename settings.
                std::string renamed;
                for (const auto& [path, bytes] : contents(pictures)) {
                    if (bytes == picture) {
                        renamed = fs::path(path).filename().string();
                    }
                }
                EXPECT_TRUE(renamed == "c.jpg" || renamed == "C.jpg") << renamed;
                EXPECT_EQ(fs::exists(pictures + "/SNAPTN/" + renamed), real);
                break;
            }
            case Action::Companion:
                EXPECT_EQ(readBytes(pictures + "/a.jpg"), picture);
                // Thumbnails go into a real folder only, a planted link replaced, not written
                // through; a folder that is a link is refused.
                if (c.plant == Plant::LinkedFolder) {
                    EXPECT_TRUE(fs::is_symlink(pictures + "/SNAPTN"));
                } else {
                    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(thumbnail)));
                }
                break;
            }
        }
    }
}
