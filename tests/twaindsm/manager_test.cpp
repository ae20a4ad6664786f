// The manager's states and triplets as the acquisition library drives them: sequence and
// protocol errors, status reporting, a whole batch, event recognition and source selection.
#include "manager_harness.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace twaindsm;
using namespace twaindsm::testing;

namespace {

std::string name(const TW_IDENTITY& identity) {
    return identity.ProductName;
}

TEST(ManagerSequence, TripletsOutOfOrderAreRefused) {
    ManagerHarness h;
    TW_IDENTITY id{};
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_OPENDS, &id), TWRC_FAILURE) << "before OPENDSM";
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);
    EXPECT_EQ(h.toManager(DAT_PARENT, MSG_CLOSEDSM, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);

    ASSERT_TRUE(h.openManager());
    EXPECT_FALSE(h.openManager()) << "opened twice";
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);
    EXPECT_EQ(h.enable(false), TWRC_FAILURE) << "ENABLEDS before OPENDS";
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);

    ASSERT_TRUE(h.openSource("Scanner A"));
    EXPECT_EQ(h.toManager(DAT_PARENT, MSG_CLOSEDSM, nullptr), TWRC_FAILURE) << "source open";
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);
    EXPECT_EQ(h.manager.state(), 4);

    TW_UINT16 count = 0;
    EXPECT_EQ(h.endTransfer(count), TWRC_FAILURE) << "ENDXFER before enabling";
    EXPECT_EQ(h.disable(), TWRC_FAILURE) << "DISABLEDS while not enabled";
    ASSERT_EQ(h.enable(true), TWRC_SUCCESS);
    EXPECT_EQ(h.enable(true), TWRC_FAILURE) << "enabled twice";
    TW_HANDLE page = nullptr;
    EXPECT_EQ(h.transfer(page), TWRC_FAILURE) << "native transfer before XFERREADY";
    EXPECT_EQ(h.condition(&h.source), TWCC_SEQERROR);
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_FAILURE) << "enabled";
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);
    EXPECT_EQ(h.manager.state(), 5);
    EXPECT_EQ(h.stub("Scanner A").joinedCalls(), "open,enable ui");
}

TEST(ManagerProtocol, UnknownTripletsAreBadProtocol) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource());
    TW_UINT32 scratch[16] = {};
    const struct {
        TW_UINT32 dg;
        TW_UINT16 dat;
        TW_UINT16 msg;
        bool forSource; // where DAT_STATUS finds the condition when the source is addressed
    } unknown[] = {
        {DG_CONTROL, 0x0077, MSG_GET, true},              // no such DAT
        {0x0010, DAT_CAPABILITY, MSG_GET, true},          // no such group
        {DG_IMAGE, DAT_IMAGEINFO, MSG_GET, true},         // known to TWAIN, not offered here
        {DG_CONTROL, DAT_USERINTERFACE, MSG_RESET, true}, // message of another DAT
        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_SET, true},   //
        {DG_CONTROL, DAT_IDENTITY, MSG_OPENDSM, false},   // the manager's own DAT
    };
    for (const auto& t : unknown) {
        EXPECT_EQ(h.call(nullptr, t.dg, t.dat, t.msg, scratch), TWRC_FAILURE);
        EXPECT_EQ(h.condition(), TWCC_BADPROTOCOL) << std::hex << t.dg << " " << t.dat;
        EXPECT_EQ(h.call(&h.source, t.dg, t.dat, t.msg, scratch), TWRC_FAILURE);
        EXPECT_EQ(h.condition(t.forSource ? &h.source : nullptr), TWCC_BADPROTOCOL)
            << "addressed to the source: " << std::hex << t.dg << " " << t.dat;
    }
    EXPECT_EQ(h.manager.state(), 4);
}

TEST(ManagerStatus, ReportsTheLastConditionOnceAndKeepsManagerAndSourceApart) {
    ManagerHarness h;
    EXPECT_EQ(h.condition(), TWCC_SUCCESS) << "nothing happened yet";
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource("Scanner B"));

    TW_IDENTITY missing{};
    std::strcpy(missing.ProductName, "No Such Scanner");
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_OPENDS, &missing), TWRC_FAILURE);
    TW_UINT16 count = 0;
    EXPECT_EQ(h.endTransfer(count), TWRC_FAILURE);
    // A success in between does not clear a condition nobody read yet.
    TW_IDENTITY first{};
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETFIRST, &first), TWRC_SUCCESS);

    EXPECT_EQ(h.condition(), TWCC_MAXCONNECTIONS) << "a second source while one is open";
    EXPECT_EQ(h.condition(), TWCC_SUCCESS) << "reading resets";
    EXPECT_EQ(h.condition(&h.source), TWCC_SEQERROR);
    EXPECT_EQ(h.condition(&h.source), TWCC_SUCCESS);

    TW_IDENTITY stranger = h.source;
    stranger.Id += 1;
    EXPECT_EQ(h.condition(&stranger), 0xFFFF) << "status of a source that is not open";
    EXPECT_EQ(h.condition(), TWCC_BADDEST);
    EXPECT_EQ(h.call(nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADVALUE);
}

TEST(ManagerDestination, OnlyTheOpenSourceIsAddressed) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource());
    TW_IDENTITY other = h.source;
    other.Id = h.source.Id + 7;
    TW_USERINTERFACE ui{0, 1, nullptr};
    EXPECT_EQ(h.call(&other, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADDEST);
    EXPECT_EQ(h.call(nullptr, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADDEST);
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &other), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADDEST);
    EXPECT_EQ(h.condition(&h.source), TWCC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 4);
}

TEST(ManagerBadValue, MissingDataIsRefusedWithoutSideEffects) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_OPENDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADVALUE);
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETDEFAULT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADVALUE);
    ASSERT_EQ(h.toManager(DAT_PARENT, MSG_CLOSEDSM, nullptr), TWRC_SUCCESS);
    ASSERT_TRUE(h.readyToTransfer());
    EXPECT_EQ(h.toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(&h.source), TWCC_BADVALUE);
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.manager.state(), 6);
    EXPECT_EQ(h.stub("Scanner A").joinedCalls(), "open,enable");
}

TEST(ManagerBatch, ThreePagesWithoutTheSourceWindow) {
    ManagerHarness h;
    HWND window = nullptr;
    ASSERT_EQ(h.toManager(DAT_PARENT, MSG_OPENDSM, &window), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 3);
    EXPECT_NE(h.app.Id, 0u) << "the application gets its Id";
    ASSERT_TRUE(h.openSource("Scanner B"));
    EXPECT_EQ(h.manager.state(), 4);
    EXPECT_NE(h.source.Id, 0u);
    EXPECT_EQ(name(h.source), "Scanner B");
    EXPECT_STREQ(h.source.Manufacturer, "Stub Works");
    StubSource& stub = h.stub("Scanner B");
    stub.batchSize = 3;

    const auto hParent = reinterpret_cast<HWND>(0x5150);
    TW_USERINTERFACE ui{0, 1, hParent};
    ASSERT_EQ(h.toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 5);
    EXPECT_EQ(stub.enabledParent, hParent);

    const std::optional<MSG> notice = ManagerHarness::nextMessage();
    ASSERT_TRUE(notice) << "XFERREADY travels through the queue";
    EXPECT_EQ(notice->hwnd, hParent);
    EXPECT_EQ(notice->message, ORVANA_WM_TWAIN_NOTICE);
    EXPECT_EQ(notice->wParam, WPARAM{MSG_XFERREADY});
    EXPECT_EQ(notice->lParam, static_cast<LPARAM>(h.source.Id));
    TW_UINT16 twMessage = 0;
    ASSERT_EQ(h.processEvent(*notice, twMessage), TWRC_DSEVENT);
    EXPECT_EQ(twMessage, MSG_XFERREADY);
    EXPECT_EQ(h.manager.state(), 6);

    const TW_UINT16 expectedCounts[] = {2, 1, 0};
    for (TW_UINT16 expected : expectedCounts) {
        TW_HANDLE page = nullptr;
        ASSERT_EQ(h.transfer(page), TWRC_XFERDONE);
        EXPECT_NE(page, nullptr);
        EXPECT_EQ(h.manager.state(), 7);
        GlobalFree(page);
        TW_UINT16 count = 0xEEEE;
        ASSERT_EQ(h.endTransfer(count), TWRC_SUCCESS);
        EXPECT_EQ(count, expected);
        EXPECT_EQ(h.manager.state(), expected ? 6 : 5);
    }
    TW_HANDLE extra = nullptr;
    EXPECT_EQ(h.transfer(extra), TWRC_FAILURE) << "batch over";

    ASSERT_EQ(h.disable(), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 4);
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 3);
    ASSERT_EQ(h.toManager(DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 2);
    EXPECT_EQ(h.journal,
              (std::vector<std::string>{"Scanner B open", "Scanner B enable", "Scanner B transfer",
                                        "Scanner B transfer", "Scanner B transfer",
                                        "Scanner B disable", "Scanner B close"}));
    EXPECT_FALSE(ManagerHarness::nextMessage()) << "no stray notices";
}

TEST(ManagerBatch, CancelledAndFailedTransfers) {
    ManagerHarness h;
    ASSERT_TRUE(h.readyToTransfer("Scanner A", 3));
    StubSource& stub = h.stub("Scanner A");
    stub.results = {TWRC_FAILURE, TWRC_CANCEL};

    TW_HANDLE page = reinterpret_cast<TW_HANDLE>(0x1);
    EXPECT_EQ(h.transfer(page), TWRC_FAILURE);
    EXPECT_EQ(h.manager.state(), 6) << "a failed transfer leaves the transfer ready";
    EXPECT_EQ(h.condition(&h.source), TWCC_OPERATIONERROR);

    EXPECT_EQ(h.transfer(page), TWRC_CANCEL);
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(h.manager.state(), 7) << "a cancelled transfer still needs its ENDXFER";
    TW_UINT16 count = 0;
    ASSERT_EQ(h.endTransfer(count), TWRC_SUCCESS);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(h.manager.state(), 6);

    TW_PENDINGXFERS pending{0xEEEE, 0};
    ASSERT_EQ(h.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 3);
    ASSERT_EQ(h.toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0);
    EXPECT_EQ(h.manager.state(), 5);
    EXPECT_EQ(stub.joinedCalls(), "open,enable,transfer,transfer,discard");
}

// MSG_ENDXFER answers with the pages still to come, as TWAIN counts them: never more than
// CAP_XFERCOUNT leaves, -1 (0xFFFF) while a feeder cannot tell, and an ENDXFER with a transfer
// ready but none taken skips that page.
TEST(ManagerBatch, EndTransferCountsThePagesStillToCome) {
    constexpr TW_UINT16 unknown = 0xFFFF;
    struct Step {
        bool transfer; // a native transfer before the ENDXFER
        TW_UINT16 count;
    };
    struct Case {
        const char* rule;
        int xferCount; // CAP_XFERCOUNT as set, -1 for any number
        int sheets;
        bool countsPages;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"three asked of a feeder", 3, 10, false, {{true, 2}, {true, 1}, {true, 0}}},
        {"three asked of a counting source", 3, 10, true, {{true, 2}, {true, 1}, {true, 0}}},
        {"a feeder of unknown length", -1, 3, false, {{true, unknown}, {true, unknown}, {true, 0}}},
        {"a ready page skipped", -1, 3, true, {{false, 2}, {true, 1}, {false, 0}}},
        {"skipping counts towards three", 3, 10, false, {{false, 2}, {true, 1}, {false, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        ManagerHarness h;
        ASSERT_TRUE(h.openManager());
        ASSERT_TRUE(h.openSource("Scanner A"));
        StubSource& stub = h.stub("Scanner A");
        stub.batchSize = c.sheets;
        stub.countsPages = c.countsPages;
        const auto wanted = static_cast<TW_INT16>(c.xferCount);
        HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(block));
        one->ItemType = TWTY_INT16;
        std::memcpy(reinterpret_cast<char*>(one) + offsetof(TW_ONEVALUE, Item), &wanted, 2);
        GlobalUnlock(block);
        TW_CAPABILITY capability{CAP_XFERCOUNT, TWON_ONEVALUE, block};
        ASSERT_EQ(h.toSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability), TWRC_SUCCESS);
        GlobalFree(block);
        ASSERT_EQ(h.enable(false), TWRC_SUCCESS);
        const std::optional<MSG> notice = ManagerHarness::nextMessage();
        ASSERT_TRUE(notice);
        TW_UINT16 twMessage = 0;
        ASSERT_EQ(h.processEvent(*notice, twMessage), TWRC_DSEVENT);

        for (const Step& step : c.steps) {
            if (step.transfer) {
                TW_HANDLE page = nullptr;
                ASSERT_EQ(h.transfer(page), TWRC_XFERDONE);
                GlobalFree(page);
            }
            TW_UINT16 count = 0xEEEE;
            ASSERT_EQ(h.endTransfer(count), TWRC_SUCCESS);
            EXPECT_EQ(count, step.count);
            EXPECT_EQ(h.manager.state(), step.count != 0 ? 6 : 5);
        }
        EXPECT_EQ(std::count(stub.calls.begin(), stub.calls.end(), "transfer"),
                  static_cast<std::ptrdiff_t>(c.steps.size()))
            << "every ENDXFER used up one page";
        EXPECT_EQ(h.disable(), TWRC_SUCCESS);
    }
}

TEST(ManagerBatch, DisablingWithATransferReadyDropsTheRest) {
    ManagerHarness h;
    ASSERT_TRUE(h.readyToTransfer("Scanner A", 4));
    TW_HANDLE page = nullptr;
    ASSERT_EQ(h.transfer(page), TWRC_XFERDONE);
    GlobalFree(page);
    EXPECT_EQ(h.disable(), TWRC_FAILURE) << "in the middle of a transfer";
    TW_UINT16 count = 0;
    ASSERT_EQ(h.endTransfer(count), TWRC_SUCCESS);
    ASSERT_EQ(count, 3);
    ASSERT_EQ(h.disable(), TWRC_SUCCESS);
    EXPECT_EQ(h.manager.state(), 4);
    EXPECT_EQ(h.stub("Scanner A").joinedCalls(), "open,enable,transfer,discard,disable");
}

TEST(ManagerEvents, OnlyItsOwnNoticesAreSourceEvents) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource("Scanner A"));
    ASSERT_EQ(h.enable(true), TWRC_SUCCESS);
    EXPECT_FALSE(ManagerHarness::nextMessage()) << "with its window the source waits for Scan";

    const LPARAM id = static_cast<LPARAM>(h.source.Id);
    const MSG foreign[] = {
        {nullptr, WM_USER, MSG_XFERREADY, id, 0, {}},
        {nullptr, ORVANA_WM_TWAIN_NOTICE, MSG_XFERREADY, id + 1, 0, {}},
        {nullptr, ORVANA_WM_TWAIN_NOTICE, MSG_CLOSEDSOK, id, 0, {}},
        {nullptr, WM_CLOSE, 0, 0, 0, {}},
    };
    for (const MSG& msg : foreign) {
        TW_UINT16 twMessage = 0xEEEE;
        EXPECT_EQ(h.processEvent(msg, twMessage), TWRC_NOTDSEVENT) << msg.message;
        EXPECT_EQ(twMessage, MSG_NULL);
    }
    TW_EVENT empty{nullptr, 0xEEEE};
    EXPECT_EQ(h.toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &empty), TWRC_NOTDSEVENT);
    EXPECT_EQ(empty.TWMessage, MSG_NULL);
    EXPECT_EQ(h.manager.state(), 5);

    // The user presses Close in the source's window.
    h.stub("Scanner A").sink(MSG_CLOSEDSREQ);
    const std::optional<MSG> notice = ManagerHarness::nextMessage();
    ASSERT_TRUE(notice);
    TW_UINT16 twMessage = 0;
    EXPECT_EQ(h.processEvent(*notice, twMessage), TWRC_DSEVENT);
    EXPECT_EQ(twMessage, MSG_CLOSEDSREQ);
    EXPECT_EQ(h.manager.state(), 5);
    EXPECT_EQ(h.disable(), TWRC_SUCCESS);
}

TEST(ManagerEvents, ANoticeOfAnEarlierSourceIsNotTakenForTheNewOne) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource("Scanner A"));
    ASSERT_EQ(h.enable(false), TWRC_SUCCESS);
    ASSERT_EQ(h.disable(), TWRC_SUCCESS); // the XFERREADY stays in the queue
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);
    const TW_UINT32 oldId = h.source.Id;
    ASSERT_TRUE(h.openSource("Scanner A"));
    EXPECT_NE(h.source.Id, oldId);
    ASSERT_EQ(h.enable(true), TWRC_SUCCESS);
    const std::optional<MSG> stale = ManagerHarness::nextMessage();
    ASSERT_TRUE(stale);
    TW_UINT16 twMessage = 0;
    EXPECT_EQ(h.processEvent(*stale, twMessage), TWRC_NOTDSEVENT);
    EXPECT_EQ(h.manager.state(), 5);
}

TEST(ManagerIdentity, EnumeratesEverySourceThenEndOfList) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    TW_IDENTITY id{};
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETNEXT, &id), TWRC_ENDOFLIST) << "before GETFIRST";
    std::vector<std::string> names;
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_GETFIRST, &id), TWRC_SUCCESS);
    names.push_back(name(id));
    while (h.toManager(DAT_IDENTITY, MSG_GETNEXT, &id) == TWRC_SUCCESS)
        names.push_back(name(id));
    EXPECT_EQ(names, (std::vector<std::string>{"Scanner A", "Scanner B", "Virtual Scanner"}));
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETNEXT, &id), TWRC_ENDOFLIST) << "stays at the end";
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_GETFIRST, &id), TWRC_SUCCESS) << "starts again";
    EXPECT_EQ(name(id), "Scanner A");
    EXPECT_EQ(id.Id, 0u) << "not open";
}

TEST(ManagerIdentity, EmptyCatalogueHasNoSources) {
    ManagerHarness h(std::vector<StubSetup>{});
    ASSERT_TRUE(h.openManager());
    TW_IDENTITY id{};
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETFIRST, &id), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_NODS);
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_GETDEFAULT, &id), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_NODS);
    EXPECT_FALSE(h.openSource());
    EXPECT_EQ(h.condition(), TWCC_NODS);
}

TEST(ManagerIdentity, OpensByNameOrTheDefault) {
    ManagerHarness h;
    ASSERT_TRUE(h.openManager());
    ASSERT_TRUE(h.openSource("Virtual Scanner"));
    EXPECT_EQ(name(h.source), "Virtual Scanner");
    EXPECT_EQ(h.journal, std::vector<std::string>{"Virtual Scanner open"});
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);

    ASSERT_TRUE(h.openSource(""));
    EXPECT_EQ(name(h.source), "Scanner A") << "the first source is the default";
    TW_IDENTITY listed{};
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_GETFIRST, &listed), TWRC_SUCCESS);
    EXPECT_EQ(listed.Id, h.source.Id) << "the open source is listed with its Id";
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_CLOSEDS, &h.source), TWRC_SUCCESS);

    EXPECT_FALSE(h.openSource("scanner a")) << "names match exactly";
    EXPECT_EQ(h.condition(), TWCC_NODS);
    h.stub("Scanner B").openCondition = TWCC_MAXCONNECTIONS;
    EXPECT_FALSE(h.openSource("Scanner B"));
    EXPECT_EQ(h.condition(), TWCC_MAXCONNECTIONS) << "the source's own reason";
    EXPECT_EQ(h.manager.state(), 3);
}

TEST(ManagerLifetime, CatalogueLivesFromOpenToCloseAndTheManagerTidiesUp) {
    std::vector<std::string> journal;
    int built = 0;
    {
        Manager manager([&] {
            ++built;
            auto stub = std::make_unique<StubSource>("Only");
            stub->journal = &journal;
            std::vector<std::unique_ptr<Source>> sources;
            sources.push_back(std::move(stub));
            return SourceCatalogue(std::move(sources));
        });
        TW_IDENTITY app{};
        TW_IDENTITY source{};
        EXPECT_EQ(built, 0);
        for (int round = 1; round <= 2; ++round) {
            ASSERT_EQ(manager.entry(&app, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr),
                      TWRC_SUCCESS);
            EXPECT_EQ(built, round);
            ASSERT_EQ(manager.entry(&app, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr),
                      TWRC_SUCCESS);
        }
        ASSERT_EQ(manager.entry(&app, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr),
                  TWRC_SUCCESS);
        ASSERT_EQ(manager.entry(&app, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source),
                  TWRC_SUCCESS);
        TW_USERINTERFACE ui{1, 1, nullptr};
        ASSERT_EQ(manager.entry(&app, &source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
                  TWRC_SUCCESS);
        EXPECT_EQ(
            manager.entry(nullptr, &source, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui),
            TWRC_FAILURE)
            << "no origin";
    }
    // Unloaded while the source was enabled: it is disabled and closed all the same.
    EXPECT_EQ(journal, (std::vector<std::string>{"Only open", "Only enable ui", "Only disable",
                                                 "Only close"}));
}

} // namespace
