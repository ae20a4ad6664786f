// A manager over stub sources, with a fresh configuration folder, as the application drives it:
// helpers for the usual triplets and for fetching the notices the sources post.
#pragma once

#include "manager.h"
#include "notice.h"
#include "stub_source.h"
#include "temp_dir.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace twaindsm::testing {

struct StubSetup {
    std::string name;
    bool feeder = false;
};

class ManagerHarness {
    std::vector<StubSetup> setups_;

public:
    explicit ManagerHarness(std::vector<StubSetup> setups = {{"Scanner A"},
                                                             {"Scanner B"},
                                                             {"Virtual Scanner", true}})
        : setups_(std::move(setups)), manager([this] { return makeCatalogue(); }) {
        setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        drainQueue();
        std::strcpy(app.ProductName, "Harness");
    }
    ~ManagerHarness() { drainQueue(); }

    TW_UINT16 call(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return manager.entry(&app, dest, dg, dat, msg, data);
    }
    TW_UINT16 toManager(TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return call(nullptr, DG_CONTROL, dat, msg, data);
    }
    TW_UINT16 toSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
        return call(&source, dg, dat, msg, data);
    }
    // DAT_STATUS of the manager (dest null) or of a source.
    TW_UINT16 condition(TW_IDENTITY* dest = nullptr) {
        TW_STATUS status{0xEEEE, 0};
        if (call(dest, DG_CONTROL, DAT_STATUS, MSG_GET, &status) != TWRC_SUCCESS)
            return 0xFFFF;
        return status.ConditionCode;
    }

    bool openManager() {
        HWND window = nullptr;
        return toManager(DAT_PARENT, MSG_OPENDSM, &window) == TWRC_SUCCESS;
    }
    bool openSource(const char* name = "") {
        source = TW_IDENTITY{};
        std::strncpy(source.ProductName, name, sizeof source.ProductName - 1);
        return toManager(DAT_IDENTITY, MSG_OPENDS, &source) == TWRC_SUCCESS;
    }
    TW_UINT16 enable(bool showUI) {
        TW_USERINTERFACE ui{static_cast<TW_BOOL>(showUI), 1, nullptr};
        return toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    }
    TW_UINT16 disable() {
        TW_USERINTERFACE ui{255, 0, nullptr};
        return toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    // Hands msg to the source; twMessage receives what the manager made of it.
    TW_UINT16 processEvent(MSG msg, TW_UINT16& twMessage) {
        TW_EVENT event{&msg, 0xEEEE};
        const TW_UINT16 rc = toSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        twMessage = event.TWMessage;
        return rc;
    }
    // The next message in this thread's queue, if any.
    static std::optional<MSG> nextMessage() {
        MSG msg{};
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return std::nullopt;
        return msg;
    }
    // Opens manager and the named source, enables it without its window and delivers the
    // MSG_XFERREADY it posts: state 6.
    bool readyToTransfer(const char* name = "Scanner A", int pages = 1) {
        if (!openManager())
            return false;
        if (!openSource(name))
            return false;
        stub(name).batchSize = pages;
        if (enable(false) != TWRC_SUCCESS)
            return false;
        const std::optional<MSG> notice = nextMessage();
        TW_UINT16 twMessage = 0;
        return notice && processEvent(*notice, twMessage) == TWRC_DSEVENT &&
               twMessage == MSG_XFERREADY;
    }
    TW_UINT16 transfer(TW_HANDLE& page) {
        page = nullptr;
        return toSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &page);
    }
    TW_UINT16 endTransfer(TW_UINT16& count) {
        TW_PENDINGXFERS pending{0xEEEE, 0};
        const TW_UINT16 rc = toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        count = pending.Count;
        return rc;
    }

    StubSource& stub(const std::string& name) {
        for (StubSource* s : stubs) {
            if (s->identity().ProductName == name)
                return *s;
        }
        throw std::runtime_error("no stub " + name);
    }

    static void drainQueue() {
        while (nextMessage()) {
        }
    }

    TempDir config;
    int catalogues = 0;               // how often the manager built its catalogue
    std::vector<std::string> journal; // every stub's calls, "<name> <call>"
    std::vector<StubSource*> stubs;   // owned by the manager's catalogue while it is open
    Manager manager;
    TW_IDENTITY app{};
    TW_IDENTITY source{};

private:
    SourceCatalogue makeCatalogue() {
        stubs.clear();
        ++catalogues;
        std::vector<std::unique_ptr<Source>> sources;
        for (const StubSetup& setup : setups_) {
            auto stub = std::make_unique<StubSource>(setup.name, setup.feeder);
            stub->journal = &journal;
            stubs.push_back(stub.get());
            sources.push_back(std::move(stub));
        }
        return SourceCatalogue(std::move(sources));
    }
};

} // namespace twaindsm::testing
