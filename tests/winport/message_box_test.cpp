// MessageBoxA routed to the host's handler, and its answers without one.
#include "winport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Seen {
    int calls = 0;
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
    int answer = IDOK;
};

int recordingHandler(void* context, HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Seen* seen = static_cast<Seen*>(context);
    ++seen->calls;
    seen->owner = owner;
    seen->text = text;
    seen->caption = caption;
    seen->type = type;
    return seen->answer;
}

class MessageBox : public ::testing::Test {
protected:
    void TearDown() override { WinportSetMessageBoxHandler(nullptr, nullptr); }
};

TEST_F(MessageBox, HandsEverythingToTheHandlerAndReturnsItsAnswer) {
    Seen seen;
    seen.answer = IDNO;
    WinportSetMessageBoxHandler(recordingHandler, &seen);
    HWND owner = reinterpret_cast<HWND>(0x4711);
    EXPECT_EQ(MessageBoxA(owner, "Paper jam", "Scanner", MB_YESNO | MB_ICONWARNING), IDNO);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.owner, owner);
    EXPECT_EQ(seen.text, "Paper jam");
    EXPECT_EQ(seen.caption, "Scanner");
    EXPECT_EQ(seen.type, MB_YESNO | MB_ICONWARNING);

    // Missing strings reach the handler as empty ones, never as null.
    seen.answer = IDCANCEL;
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.text, "");
    EXPECT_EQ(seen.caption, "");
}

TEST_F(MessageBox, DefaultAnswersPositivelyAndWritesToStderr) {
    Seen seen;
    WinportSetMessageBoxHandler(recordingHandler, &seen);
    WinportSetMessageBoxHandler(nullptr, nullptr); // back to the default

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Out of paper", "Scanner", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Continue?", "Scan", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Scan", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Retry?", "Scan", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    const std::string written = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(seen.calls, 0);
    EXPECT_NE(written.find("Scanner"), std::string::npos);
    EXPECT_NE(written.find("Out of paper"), std::string::npos);
    EXPECT_NE(written.find("Continue?"), std::string::npos);
}

} // namespace
