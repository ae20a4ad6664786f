// The acquisition folder belongs to one run at a time, across processes: a run holds an advisory
// lock on the lock file ".ORVA_LOCK" in the folder for as long as it may write page files there.
// The system drops the lock when the holder ends in any way, a kill included. A run that ends
// removes the file while it still holds the lock, and a run that locked a file no longer in the
// folder tries again, so two runs never hold two different files; only a killed run leaves the
// file behind, until the next run in the folder.
#pragma once

#include <QByteArray>
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
    QByteArray path_;
    int fd_ = -1;
    State state_ = State::Failed;
};
