// A source for the manager's tests: records the calls it gets and delivers a scripted batch of
// small pages, so that tests see exactly what the manager asked for and handed on.
#pragma once

#include "source.h"
#include "winport.h"

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace twaindsm::testing {

class StubSource : public Source {
public:
    explicit StubSource(std::string name, bool feeder = false) : name_(std::move(name)) {
        limits_.hasFeeder = feeder;
        limits_.scanArea = Frame{0, 0, 8.5, 14};
    }

    TW_IDENTITY identity() const override {
        TW_IDENTITY id{};
        id.Id = 999; // the manager assigns the real one
        id.ProtocolMajor = 1;
        id.ProtocolMinor = 9;
        id.SupportedGroups = DG_CONTROL | DG_IMAGE;
        std::strncpy(id.Manufacturer, "Stub Works", sizeof id.Manufacturer - 1);
        std::strncpy(id.ProductName, name_.c_str(), sizeof id.ProductName - 1);
        return id;
    }

    bool open(TW_UINT16& condition) override {
        record("open");
        if (openCondition != TWCC_SUCCESS) {
            condition = openCondition;
            return false;
        }
        return true;
    }
    void close() override { record("close"); }

    ScanSettings& settings() override { return settings_; }
    const SourceLimits& limits() const override { return limits_; }
    SourceLimits& mutableLimits() { return limits_; }
    bool feederLoaded() const override { return loaded; }

    bool enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16&) override {
        record(showUI ? "enable ui" : "enable");
        enabledParent = parent;
        sink = std::move(notices);
        batch = batchSize;
        if (!showUI)
            sink(MSG_XFERREADY);
        return true;
    }
    void disable() override {
        record("disable");
        sink = nullptr;
    }

    TW_UINT16 transfer(TW_HANDLE& page, TW_UINT16& condition) override {
        record("transfer");
        if (!results.empty()) {
            const TW_UINT16 rc = results.front();
            results.pop_front();
            if (rc != TWRC_XFERDONE) {
                condition = TWCC_OPERATIONERROR;
                return rc;
            }
        }
        page = GlobalAlloc(GHND, 64);
        if (batch > 0)
            --batch;
        return TWRC_XFERDONE;
    }
    TW_UINT16 pending() override {
        return countsPages || batch == 0 ? static_cast<TW_UINT16>(batch) : kPagesUnknown;
    }
    void discardPending() override {
        record("discard");
        batch = 0;
    }

    void record(const std::string& call) {
        calls.push_back(call);
        if (journal)
            journal->push_back(name_ + " " + call);
    }

    std::string joinedCalls() const {
        std::string all;
        for (const std::string& call : calls)
            all += (all.empty() ? "" : ",") + call;
        return all;
    }

    // Script and record.
    std::vector<std::string> calls;
    std::deque<TW_UINT16> results; // per transfer; XFERDONE when empty
    TW_UINT16 openCondition = TWCC_SUCCESS;
    int batchSize = 1;
    int batch = 0;
    bool countsPages = true; // false: a feeder that only knows whether a sheet is left
    bool loaded = true;
    HWND enabledParent = nullptr;
    NoticeSink sink;
    std::vector<std::string>* journal = nullptr; // also records here, outliving the stub

private:
    std::string name_;
    ScanSettings settings_;
    SourceLimits limits_;
};

} // namespace twaindsm::testing
