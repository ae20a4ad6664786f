// The data source manager: TWAIN's states 1..7, the triplets the acquisition library issues, the
// conditions DAT_STATUS reports, and the hand-over of work to the open source. One source can be
// open at a time. Used from the application's user-interface thread only.
#pragma once

#include "source_catalogue.h"

#include <functional>
#include <optional>

namespace twaindsm {

class Manager {
public:
    // Called at MSG_OPENDSM; the catalogue lives until MSG_CLOSEDSM.
    using CatalogueFactory = std::function<SourceCatalogue()>;

    explicit Manager(CatalogueFactory factory);
    ~Manager();
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    // DSM_Entry. Never throws.
    TW_UINT16 entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                    TW_UINT16 msg, TW_MEMREF data);

    // 2 loaded, 3 manager open, 4 source open, 5 source enabled, 6 transfer ready,
    // 7 transferring.
    int state() const { return state_; }

private:
    TW_UINT16 dispatch(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                       TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 parent(TW_UINT16 msg, TW_IDENTITY& origin, TW_MEMREF data);
    TW_UINT16 identity(TW_UINT16 msg, TW_IDENTITY* data);
    TW_UINT16 status(TW_IDENTITY* dest, TW_STATUS* data);
    TW_UINT16 sourceTriplet(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                            TW_MEMREF data);
    TW_UINT16 userInterface(TW_UINT16 msg, TW_USERINTERFACE* ui);
    TW_UINT16 processEvent(TW_EVENT* event);
    TW_UINT16 pendingXfers(TW_UINT16 msg, TW_PENDINGXFERS* pending);
    TW_UINT16 nativeXfer(TW_HANDLE* page);
    void skipPage();
    TW_UINT16 withinTransferCount(TW_UINT16 sourceCount) const;
    TW_UINT16 openSource(TW_IDENTITY& identity);
    TW_UINT16 closeSource(const TW_IDENTITY& identity);
    TW_UINT16 userSelect(TW_IDENTITY& identity);

    size_t defaultIndex() const;
    void describe(size_t index, TW_IDENTITY& identity) const;
    // Says so when the source opened stands in for a remembered one that is missing.
    void tellIfRememberedIsMissing(size_t opening) const;
    bool isOpenSource(const TW_IDENTITY* identity) const;
    bool inState(int low, int high) const { return state_ >= low && state_ <= high; }
    // Records the condition where DAT_STATUS for this triplet's addressee finds it.
    TW_UINT16 fail(TW_UINT16 condition);
    void shutDownSource();

    CatalogueFactory factory_;
    std::optional<SourceCatalogue> catalogue_;
    int state_ = 2;
    HWND parentWindow_ = nullptr;
    size_t cursor_ = SIZE_MAX; // next source of GETNEXT
    TW_UINT16 managerCondition_ = TWCC_SUCCESS;
    TW_UINT16* conditionSlot_ = &managerCondition_;

    // The open source.
    Source* source_ = nullptr;
    TW_UINT32 sourceId_ = 0;
    TW_UINT32 nextId_;
    ScanSettings defaults_;
    TW_UINT16 sourceCondition_ = TWCC_SUCCESS;
    TW_UINT32 pagesDone_ = 0;
    int batchPagesEnded_ = 0; // MSG_ENDXFERs since the batch's MSG_XFERREADY
};

} // namespace twaindsm
