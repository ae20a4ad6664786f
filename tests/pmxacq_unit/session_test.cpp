// The session against a scripted entry point: containers on the wire, the end of a stopped
// batch, the source list and the order of teardown.
#include "capability.h"
#include "session.h"
#include "source_list.h"
#include "test_images.h"
#include "transfers.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace pmxacq;

namespace {

struct Call {
    TW_UINT16 dat = 0, msg = 0;
    bool toSource = false;
    TW_UINT16 cap = 0;
    std::vector<unsigned char> container; // the set container's bytes
    SIZE_T containerSize = 0;
    HGLOBAL handle = nullptr;
};

// What the scripted manager records and answers; one test at a time.
struct Script {
    std::vector<Call> calls;
    std::function<TW_UINT16(const Call&, TW_MEMREF)> answer;
};
Script script;

TW_UINT16 WINAPI scriptedEntry(TW_IDENTITY*, TW_IDENTITY* dest, TW_UINT32, TW_UINT16 dat,
                               TW_UINT16 msg, TW_MEMREF data) {
    Call call;
    call.dat = dat;
    call.msg = msg;
    call.toSource = dest != nullptr;
    if (dat == DAT_CAPABILITY) {
        auto* cap = static_cast<TW_CAPABILITY*>(data);
        call.cap = cap->Cap;
        call.handle = cap->hContainer;
        if (msg == MSG_SET) {
            call.containerSize = GlobalSize(cap->hContainer);
            auto* bytes = static_cast<unsigned char*>(GlobalLock(cap->hContainer));
            call.container.assign(bytes, bytes + call.containerSize);
            GlobalUnlock(cap->hContainer);
        }
    }
    script.calls.push_back(call);
    return script.answer ? script.answer(call, data) : TWRC_SUCCESS;
}

std::vector<std::pair<TW_UINT16, TW_UINT16>> triplets() {
    std::vector<std::pair<TW_UINT16, TW_UINT16>> out;
    for (const Call& c : script.calls) {
        out.emplace_back(c.dat, c.msg);
    }
    return out;
}

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        script = Script{};
        session.attachEntry(scriptedEntry, nullptr);
        ASSERT_TRUE(session.openManager());
        script.calls.clear();
    }
    void TearDown() override {
        session.releaseImage();
        session.unload();
    }
    Session session;
};

// A one-value container holding value with the given item type, as a source hands it out.
HGLOBAL container(TW_UINT16 itemType, const void* value, size_t width, size_t size = 6) {
    HGLOBAL h = GlobalAlloc(GHND, size);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(h));
    std::memcpy(bytes, &itemType, 2);
    std::memcpy(bytes + 2, value, std::min(width, size - 2));
    GlobalUnlock(h);
    return h;
}

} // namespace

TEST_F(SessionTest, SetSendsTheItemWithTheWidthOfItsType) {
    EXPECT_TRUE(setCapabilityNumber(session, ICAP_PIXELTYPE, TWTY_UINT16, 0x12345678u));
    EXPECT_TRUE(setCapabilityNumber(session, ICAP_BITDEPTH, TWTY_INT8, 0xABCDu));
    EXPECT_TRUE(setCapabilityFix32(session, ICAP_XRESOLUTION, -1.25));
    ASSERT_EQ(script.calls.size(), 3u);
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(script.calls[0].container, (Bytes{TWTY_UINT16, 0, 0x78, 0x56, 0, 0}));
    EXPECT_EQ(script.calls[1].container, (Bytes{TWTY_INT8, 0, 0xCD, 0, 0, 0}));
    EXPECT_EQ(script.calls[2].container, (Bytes{TWTY_FIX32, 0, 0xFE, 0xFF, 0x01, 0xC0}));
    for (const Call& c : script.calls) {
        EXPECT_TRUE(c.toSource);
        EXPECT_EQ(GlobalFlags(c.handle), GMEM_INVALID_HANDLE) << "container not freed";
    }
}

TEST_F(SessionTest, TextItemsGetRoomForTheirText) {
    std::string text(300, 'x');
    EXPECT_TRUE(setCapability(session, 0x8001, TWTY_STR255, text.c_str()));
    ASSERT_EQ(script.calls.size(), 1u);
    const Call& c = script.calls[0];
    ASSERT_GE(c.containerSize, 2u + sizeof(TW_STR255));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.container.data() + 2)),
              std::string(255, 'x'));
}

TEST_F(SessionTest, GetCopiesTheFoundWidthAndFreesTheContainer) {
    HGLOBAL given = nullptr;
    script.answer = [&](const Call&, TW_MEMREF data) {
        uint32_t value = 0x00960000u;
        given = container(TWTY_UINT16, &value, 4);
        static_cast<TW_CAPABILITY*>(data)->hContainer = given;
        return TWRC_SUCCESS;
    };
    uint32_t buffer = 0xFFFFFFFFu;
    ASSERT_TRUE(getCapability(session, ICAP_UNITS, MSG_GETCURRENT, &buffer, sizeof buffer));
    EXPECT_EQ(buffer, 0xFFFF0000u) << "only the two bytes of a UINT16 are copied";
    EXPECT_EQ(GlobalFlags(given), GMEM_INVALID_HANDLE);

    // A container shorter than its item: nothing is read beyond it.
    script.answer = [&](const Call&, TW_MEMREF data) {
        uint32_t value = 0x44332211u;
        given = container(TWTY_UINT32, &value, 4, 4);
        static_cast<TW_CAPABILITY*>(data)->hContainer = given;
        return TWRC_SUCCESS;
    };
    buffer = 0;
    ASSERT_TRUE(getCapability(session, ICAP_UNITS, MSG_GET, &buffer, sizeof buffer));
    EXPECT_EQ(buffer, 0x2211u);

    script.answer = [](const Call&, TW_MEMREF) { return TW_UINT16(TWRC_FAILURE); };
    EXPECT_FALSE(getCapability(session, ICAP_UNITS, MSG_GET, &buffer, sizeof buffer));
    script.answer = [](const Call&, TW_MEMREF) { return TW_UINT16(TWRC_SUCCESS); };
    EXPECT_FALSE(getCapability(session, ICAP_UNITS, MSG_GET, &buffer, sizeof buffer))
        << "success without a container is no answer";
}

TEST_F(SessionTest, StoppedBatchDropsThePendingPagesSoTheSourceCanBeDisabled) {
    ASSERT_TRUE(session.openSource());
    ASSERT_TRUE(session.enableSource(false));
    script.calls.clear();
    script.answer = [](const Call& c, TW_MEMREF data) -> TW_UINT16 {
        if (c.dat == DAT_IMAGENATIVEXFER) {
            *static_cast<TW_HANDLE*>(data) =
                makeRgbImage(2, 2, [](int, int) { return Colour{}; }).release();
            return TWRC_XFERDONE;
        }
        if (c.dat == DAT_PENDINGXFERS && c.msg == MSG_ENDXFER) {
            static_cast<TW_PENDINGXFERS*>(data)->Count = 2;
        }
        return TWRC_SUCCESS;
    };
    static int32_t seenCounter;
    session.callback = [](HGLOBAL* image, int32_t* counter, int32_t* stop) {
        seenCounter = *counter;
        EXPECT_NE(*image, nullptr);
        EXPECT_EQ(*stop, 0);
        *stop = 1;
    };
    session.job.kind = Job::Kind::Batch;
    transferBatch(session);
    EXPECT_EQ(seenCounter, 1);
    EXPECT_EQ(session.pageCounter, 1);
    EXPECT_TRUE(session.cancelled);
    EXPECT_EQ(session.image, nullptr);
    using T = std::pair<TW_UINT16, TW_UINT16>;
    EXPECT_EQ(triplets(), (std::vector<T>{{DAT_IMAGELAYOUT, MSG_SET},
                                          {DAT_IMAGENATIVEXFER, MSG_GET},
                                          {DAT_PENDINGXFERS, MSG_ENDXFER},
                                          {DAT_PENDINGXFERS, MSG_RESET}}));
}

TEST_F(SessionTest, PageFilesWithoutBaseNameKeepNothing) {
    ASSERT_TRUE(session.openSource());
    int pagesLeft = 3;
    std::vector<HGLOBAL> handed;
    script.answer = [&](const Call& c, TW_MEMREF data) -> TW_UINT16 {
        if (c.dat == DAT_IMAGENATIVEXFER) {
            handed.push_back(makeRgbImage(2, 2, [](int, int) { return Colour{}; }).release());
            *static_cast<TW_HANDLE*>(data) = handed.back();
            return TWRC_XFERDONE;
        }
        if (c.dat == DAT_PENDINGXFERS) {
            static_cast<TW_PENDINGXFERS*>(data)->Count = TW_UINT16(--pagesLeft);
        }
        return TWRC_SUCCESS;
    };
    session.job.kind = Job::Kind::PageFiles;
    session.job.baseName = "";
    transferPageFiles(session);
    EXPECT_EQ(session.pageCounter, 0);
    ASSERT_EQ(handed.size(), 3u);
    for (HGLOBAL h : handed) {
        EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE) << "a page was leaked";
    }
}

TEST_F(SessionTest, SourceListNamesDefaultThenEverySource) {
    std::vector<std::string> names{"Alpha", "Beta"};
    size_t next = 0;
    bool withDefault = true;
    script.answer = [&](const Call& c, TW_MEMREF data) -> TW_UINT16 {
        auto* id = static_cast<TW_IDENTITY*>(data);
        if (c.dat != DAT_IDENTITY) {
            return TWRC_SUCCESS;
        }
        if (c.msg == MSG_GETDEFAULT) {
            if (!withDefault) {
                return TWRC_FAILURE;
            }
            std::strcpy(id->ProductName, "Beta");
            return TWRC_SUCCESS;
        }
        next = c.msg == MSG_GETFIRST ? 0 : next + 1;
        if (next >= names.size()) {
            return TWRC_ENDOFLIST;
        }
        std::strcpy(id->ProductName, names[next].c_str());
        return TWRC_SUCCESS;
    };
    SourceList list = listSources(session);
    EXPECT_TRUE(list.opened);
    EXPECT_TRUE(list.enumerated);
    EXPECT_EQ(list.text, "Beta,Alpha,Beta,");

    withDefault = false;
    names.clear();
    list = listSources(session);
    EXPECT_TRUE(list.opened);
    EXPECT_FALSE(list.enumerated);
    EXPECT_EQ(list.text, ",");
}

TEST_F(SessionTest, EndlessEnumerationStopsAtABound) {
    script.answer = [](const Call& c, TW_MEMREF data) -> TW_UINT16 {
        if (c.dat == DAT_IDENTITY) {
            // A name filling the whole field, without terminator.
            std::memset(static_cast<TW_IDENTITY*>(data)->ProductName, 'n', sizeof(TW_STR32));
        }
        return TWRC_SUCCESS;
    };
    SourceList list = listSources(session);
    EXPECT_TRUE(list.enumerated);
    EXPECT_LE(list.text.size(), 1025u * 35u);
    EXPECT_EQ(list.text.substr(0, 35), std::string(34, 'n') + ",");
}

TEST_F(SessionTest, TeardownGoesDownInOrderAndOnlyWhereItWasUp) {
    ASSERT_TRUE(session.openSource());
    ASSERT_TRUE(session.enableSource(true));
    script.calls.clear();
    session.teardown();
    using T = std::pair<TW_UINT16, TW_UINT16>;
    EXPECT_EQ(triplets(), (std::vector<T>{{DAT_USERINTERFACE, MSG_DISABLEDS},
                                          {DAT_IDENTITY, MSG_CLOSEDS},
                                          {DAT_PARENT, MSG_CLOSEDSM}}));
    EXPECT_FALSE(session.managerOpen());
    script.calls.clear();
    session.teardown();
    EXPECT_TRUE(script.calls.empty());
}

TEST_F(SessionTest, FailureResultComesFromTheRightPlace) {
    TW_UINT16 condition = TWCC_BADVALUE;
    std::vector<bool> statusToSource;
    script.answer = [&](const Call& c, TW_MEMREF data) -> TW_UINT16 {
        if (c.dat == DAT_STATUS) {
            statusToSource.push_back(c.toSource);
            static_cast<TW_STATUS*>(data)->ConditionCode = condition;
        }
        return TWRC_SUCCESS;
    };
    EXPECT_EQ(session.failureResult(true), PMXACQ_FAILED) << "no source open: unknown";
    EXPECT_EQ(session.failureResult(false), PMXACQ_BADVALUE);
    ASSERT_TRUE(session.openSource());
    condition = TWCC_LOWMEMORY;
    EXPECT_EQ(session.failureResult(true), PMXACQ_LOWMEMORY);
    condition = TWCC_SEQERROR;
    EXPECT_EQ(session.failureResult(true), PMXACQ_FAILED);
    EXPECT_EQ(statusToSource, (std::vector<bool>{false, true, true}));
}
