// The acquisition folder belongs to one run at a time, across processes: a run holds an advisory
// lock on the lock file ".ORVA_LOCK" in the folder for as long as it may write page files there.
// The system drops the lock when the holder ends in any way, a kill included; the lock file
// itself stays (removing it would let two runs lock two different files).
#pragma once

#include <QString>

class FolderLock {
public:
    enum class State {
        Held,   // this run owns the folder
        Busy,   // another process holds the folder
        Failed, // the lock file could not be made or locked (read-only or full folder …)
    };

    static constexpr const char* fileName = ".ORVA_LOCK";

    // Tries once, without waiting. folder ends in "/".
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    State state() const { return state_; }
    bool held() const { return state_ == State::Held; }

private:
    int fd_ = -1;
    State state_ = State::Failed;
};
