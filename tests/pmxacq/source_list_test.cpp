// PelmixScanList, PelmixScanListLen and PelmixScanSelect: the comma list of sources and the
// manager's chooser. Only the manager is opened, never a source.
#include "acquisition_fixture.h"

#include <cstring>
#include <optional>

namespace {

using namespace acqtest;

class SourceList : public Acquisition {
protected:
    // Fills a buffer of exactly PelmixScanListLen + 1 bytes between guard bytes and checks that
    // the list stays inside it.
    std::string list(int32_t expectedReturn) {
        const int32_t length = PelmixScanListLen(window());
        EXPECT_GE(length, 0);
        const size_t guard = 32;
        std::vector<char> buffer(guard + static_cast<size_t>(length) + 1 + guard, '\x5A');
        char* text = buffer.data() + guard;
        std::memset(text, '?', static_cast<size_t>(length) + 1);
        EXPECT_EQ(PelmixScanList(window(), text), expectedReturn);
        for (size_t i = 0; i < guard; ++i) {
            EXPECT_EQ(buffer[i], '\x5A') << "written before the buffer at " << i;
            EXPECT_EQ(buffer[guard + length + 1 + i], '\x5A') << "written past the buffer";
        }
        EXPECT_EQ(text[length], '\0');
        return std::string(text, strnlen(text, static_cast<size_t>(length) + 1));
    }
};

TEST_F(SourceList, DefaultFirstThenEverySourceEachFollowedByAComma) {
    fake().script.defaultSource = "Beta";
    fake().script.sources = {"Alpha", "Beta", "Gamma"};
    EXPECT_EQ(list(1), "Beta,Alpha,Beta,Gamma,");
    EXPECT_EQ(PelmixScanListLen(window()), 22);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS), 0u);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_PARENT, MSG_OPENDSM),
              fake().count(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM));
    expectAllClosed();
}

TEST_F(SourceList, WithoutDefaultTheListStartsWithAComma) {
    fake().script.defaultSource.reset();
    fake().script.sources = {"Alpha", "Beta"};
    EXPECT_EQ(list(1), ",Alpha,Beta,");
}

TEST_F(SourceList, NothingToEnumerateKeepsTheDefaultPart) {
    fake().script.defaultSource = "Beta";
    fake().script.sources.clear();
    EXPECT_EQ(PelmixScanListLen(window()), 5);
    EXPECT_EQ(list(0), "Beta,");

    fake().script.defaultSource.reset();
    EXPECT_EQ(PelmixScanListLen(window()), 1);
    EXPECT_EQ(list(0), ",");
}

TEST_F(SourceList, EnumerationStopsAtTheFirstFailure) {
    fake().script.sources = {"Alpha", "Beta", "Gamma"};
    fake().fail(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, TWCC_BUMMER);
    EXPECT_EQ(list(1), "Fake Scanner,Alpha,");

    restart();
    fake().fail(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, TWCC_BUMMER);
    EXPECT_EQ(list(0), "Fake Scanner,");
}

TEST_F(SourceList, ManagerThatWillNotOpenLeavesTheBufferAlone) {
    fake().fail(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWCC_BUMMER);
    EXPECT_EQ(PelmixScanListLen(window()), 0);
    char buffer[16] = "untouched";
    EXPECT_EQ(PelmixScanList(window(), buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
}

TEST_F(SourceList, LongNamesAreListedWhole) {
    const std::string longName(33, 'n'); // the longest name an identity holds
    fake().script.defaultSource = longName;
    fake().script.sources = {longName, "x"};
    EXPECT_EQ(list(1), longName + "," + longName + ",x,");
}

TEST_F(SourceList, SourcesThatAppearAfterTheLengthWasAskedAreCutAtAWholeEntry) {
    using Sources = std::vector<std::string>;
    struct Case {
        std::optional<std::string> defaultBefore;
        Sources before;
        std::optional<std::string> defaultAfter;
        Sources after;
        std::string written;
    };
    const Case cases[] = {
        {"Fake Scanner",
         {"Alpha", "Beta"},
         "Fake Scanner",
         {"Aardvark", "Alpha", "Beta"},
         "Fake Scanner,Aardvark,"},
        {"Fake Scanner", {"Alpha"}, "Fake Scanner", {"Alpha", "Beta"}, "Fake Scanner,Alpha,"},
        {std::nullopt, {}, "Fake Scanner", {"Fake Scanner"}, ""},
        {"Fake Scanner", {"Alpha", "Beta"}, "Fake Scanner", {"Beta"}, "Fake Scanner,Beta,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        restart();
        fake().script.defaultSource = c.defaultBefore;
        fake().script.sources = c.before;
        const int32_t length = PelmixScanListLen(window());
        ASSERT_GT(length, 0);
        std::vector<char> buffer(static_cast<size_t>(length) + 1 + 32, '\x5A');
        fake().script.defaultSource = c.defaultAfter;
        fake().script.sources = c.after;
        EXPECT_EQ(PelmixScanList(window(), buffer.data()), 1);
        EXPECT_EQ(std::string(buffer.data()), c.written);
        for (size_t i = static_cast<size_t>(length) + 1; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], '\x5A') << "written past the buffer at " << i;
        }
    }
}

TEST_F(SourceList, SelectReportsTheUsersChoice) {
    EXPECT_EQ(PelmixScanSelect(window()), 1);
    EXPECT_EQ(fake().names(), (std::vector<std::string>{"OPENDSM", "USERSELECT", "CLOSEDSM"}));
    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_USERSELECT) {
            EXPECT_FALSE(call.hasDest);
            EXPECT_EQ(call.identityId, 0u);
            EXPECT_EQ(call.identityName, "");
        }
    }
    EXPECT_EQ(fake().calls.front().parent, window());

    restart();
    fake().script.userSelectResult = TWRC_CANCEL;
    EXPECT_EQ(PelmixScanSelect(window()), 0);
    EXPECT_EQ(fake().lifecycle(), (std::vector<std::string>{"OPENDSM", "CLOSEDSM"}));

    restart();
    fake().fail(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, TWCC_OPERATIONERROR);
    EXPECT_EQ(PelmixScanSelect(window()), 0);
    expectAllClosed();
}

} // namespace
