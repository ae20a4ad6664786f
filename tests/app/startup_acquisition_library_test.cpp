// The acquisition library bound by name from a program folder, and the message boxes it raises
// shown through the Prompter.
#include "acquisition_library.h"
#include "acquisition_library_host.h"
#include "qt_support.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "winport_host.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(AcquisitionLibraryBinding, MissingLibraryFailsEveryCall) {
    ScriptedPrompter prompter;
    TempDir empty;
    AcquisitionLibrary library(QString::fromStdString(empty.path()) + '/', prompter);
    QString list = QStringLiteral("stale");
    EXPECT_FALSE(library.load());
    EXPECT_FALSE(library.sourceList(nullptr, list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(library.selectSource(nullptr));
    EXPECT_EQ(library.scanPages(nullptr, QStringLiteral("/tmp/ORVA_TMP")), 0);
}

TEST(AcquisitionLibraryBinding, ReadsTheSourceListOfTheProgramFolder) {
    testApplication();
    TempDir config;
    TempDir sane; // no SANE backends: the virtual scanner is the only source
    writeBytes(sane.file("dll.conf"), "", 0);
    ::setenv("ORVANA_WINDOWS_DIR", ORVANA_PROGRAM_DIR, 1);
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    ::setenv("SANE_CONFIG_DIR", sane.path().c_str(), 1);

    ScriptedPrompter prompter;
    AcquisitionLibrary library(QStringLiteral(ORVANA_PROGRAM_DIR "/"), prompter);
    ASSERT_TRUE(library.load());
    QWidget window;
    QString list;
    ASSERT_TRUE(library.sourceList(reinterpret_cast<HWND>(window.winId()), list));
    EXPECT_TRUE(list.endsWith(','));
    const QString first = AcquisitionLibrary::defaultSource(list);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_TRUE(list.mid(first.size() + 1).split(',').contains(first))
        << "the default source is one of the listed ones: " << list.toStdString();
}

TEST(AcquisitionLibraryBinding, DefaultSourceIsTheFirstElement) {
    EXPECT_EQ(AcquisitionLibrary::defaultSource("A,B,A,"), "A");
    EXPECT_EQ(AcquisitionLibrary::defaultSource(""), "");
    EXPECT_EQ(AcquisitionLibrary::defaultSource(",B,"), "");
}

TEST(AcquisitionMessageBoxes, FlagsBecomePrompterMessages) {
    Prompter::Message m = messageFromBox("text", "caption", MB_OK);
    EXPECT_EQ(m.text, "text");
    EXPECT_EQ(m.caption, "caption");
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(m.icon, Prompter::Icon::None);

    m = messageFromBox("q", "c", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(m.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(m.icon, Prompter::Icon::Question);
    EXPECT_EQ(m.defaultButton, 2);

    m = messageFromBox("w", "c", MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(m.buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(m.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(messageFromBox("i", "c", MB_ICONINFORMATION).icon, Prompter::Icon::Information);
    EXPECT_EQ(messageFromBox("e", "c", MB_ICONERROR).icon, Prompter::Icon::Critical);
    EXPECT_EQ(messageFromBox("3", "c", MB_YESNOCANCEL | MB_DEFBUTTON3).defaultButton, 3);
    // A default button the row does not have falls back to the first.
    EXPECT_EQ(messageFromBox("x", "c", MB_OK | MB_DEFBUTTON3).defaultButton, 1);
    // Null texts are empty texts.
    EXPECT_TRUE(messageFromBox(nullptr, nullptr, MB_OK).text.isEmpty());
    // Japanese text in the locale's encoding (UTF-8 here).
    EXPECT_EQ(messageFromBox("取り込み", "c", MB_OK).text, QStringLiteral("取り込み"));
}

TEST(AcquisitionMessageBoxes, AnswersBecomeBoxResults) {
    EXPECT_EQ(boxResult(Prompter::Ok, MB_OK), IDOK);
    EXPECT_EQ(boxResult(Prompter::Yes, MB_YESNO), IDYES);
    EXPECT_EQ(boxResult(Prompter::No, MB_YESNO), IDNO);
    EXPECT_EQ(boxResult(Prompter::Cancel, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(boxResult(0, MB_YESNO), IDNO) << "a box closed otherwise is a No";
    EXPECT_EQ(boxResult(0, MB_OKCANCEL), IDCANCEL);
}

TEST(AcquisitionMessageBoxes, MessageBoxAGoesThroughThePrompter) {
    testApplication();
    ScriptedPrompter prompter;
    prompter.answers = {Prompter::No};
    registerAcquisitionHost(prompter);
    EXPECT_EQ(MessageBoxA(nullptr, "本当に?", "Orvana", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_EQ(prompter.requests[0].message.text, QStringLiteral("本当に?"));
    EXPECT_EQ(prompter.requests[0].message.icon, Prompter::Icon::Question);
    WinportSetMessageBoxHandler(nullptr, nullptr);
    WinportSetMessagePump(nullptr, nullptr, nullptr);
}

} // namespace
