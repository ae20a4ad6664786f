// Runs that never stored their pages: the pages of a killed program are named at the next start,
// and a folder another program is acquiring into is neither scanned into nor touched.
#include "acquisition_run.h"
#include "folder_lock.h"
#include "interrupted_runs.h"
#include "native_name.h"
#include "run_journal.h"
#include "store_fixture.h"

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another program holding the lock of a folder, until it is killed.
class LockHolder {
public:
    explicit LockHolder(const QString& folder) {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            const FolderLock lock(folder);
            const char state = lock.held() ? 'y' : 'n';
            (void)!write(ready[1], &state, 1);
            pause();
            _exit(0);
        }
        char state = 0;
        close(ready[1]);
        held_ = read(ready[0], &state, 1) == 1 && state == 'y';
        close(ready[0]);
    }
    ~LockHolder() { kill(); }
    bool held() const { return held_; }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

class InterruptedRunTest : public AcquireStoreTest {
protected:
    // What a killed run leaves of its note: it is never removed.
    void killedRunNote() { (void)new RunJournal(acq); }

    bool exists(const QString& name) const { return QFileInfo::exists(acq + name); }
};

TEST_F(InterruptedRunTest, PagesOfAKilledRunAreNamedAtTheNextStart) {
    program.settings.SVMD = 1;
    killedRunNote();
    writePage(0, Page::Colour);
    writePage(1, Page::Grey);
    touch(".ORVA_TMP.002.pmxtmp.Ab12Cd"); // half-written when the program died
    touch("ORVA_TMP.003.pmxtmp.Xy34Zw");
    touch(".ORVA_TMP.001.jpg"); // encoded ahead of storing: only a copy
    touch("IMG004.jpg");
    touch("orva_tmp.009"); // not a page file
    ASSERT_EQ(RunJournal::notes().size(), 1);

    EXPECT_EQ(recoverInterruptedRuns(program), 2);
    EXPECT_EQ(files(acq), (QStringList{"IMG004.jpg", "IMG005.jpg", "IMG006.jpg", "orva_tmp.009"}));
    EXPECT_FALSE(exists(".ORVA_TMP.002.pmxtmp.Ab12Cd"));
    EXPECT_FALSE(exists("ORVA_TMP.003.pmxtmp.Xy34Zw"));
    EXPECT_FALSE(exists(".ORVA_TMP.001.jpg"));
    EXPECT_EQ(infoOfFile(acq + "IMG006.jpg").COLOR_TYPE, PELMIX_256_GREYS);
    EXPECT_TRUE(RunJournal::notes().isEmpty());
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& m = prompter.requests[0].message;
    EXPECT_EQ(m.caption, program.APP_TITLE);
    EXPECT_TRUE(m.text.contains(QStringLiteral("2枚")));
    EXPECT_TRUE(m.text.contains(acq));
    EXPECT_TRUE(m.text.contains(QStringLiteral("IMG005.jpg ～ IMG006.jpg")));

    // Nothing is left for the start after that.
    EXPECT_EQ(recoverInterruptedRuns(program), 0);
    EXPECT_EQ(prompter.requests.size(), 1u);
}

TEST_F(InterruptedRunTest, FolderAnotherProgramAcquiresIntoIsLeftAlone) {
    program.settings.BASD = acq;
    program.settings.BADM = 0;
    program.settings.MKDR = 0;
    killedRunNote();
    writePage(0, Page::Colour);
    LockHolder other(acq);
    ASSERT_TRUE(other.held());

    // A second program's run is refused before the scanner is asked for anything.
    AcquisitionRun run(program, nullptr, {});
    EXPECT_EQ(run.RUN_ACQUISITION(), AcquisitionRun::Outcome::FolderBusy);
    ASSERT_EQ(prompter.requests.size(), 1u);
    EXPECT_TRUE(prompter.requests[0].message.text.contains(QStringLiteral("別の Orvana")));
    EXPECT_TRUE(prompter.requests[0].message.text.contains(acq));
    // The pages there wait for that run to end …
    EXPECT_EQ(recoverInterruptedRuns(program), 0);
    EXPECT_TRUE(exists("ORVA_TMP.000"));
    EXPECT_EQ(RunJournal::notes().size(), 1);

    // … which may be a kill: the system drops the lock with the process.
    other.kill();
    EXPECT_EQ(recoverInterruptedRuns(program), 1);
    EXPECT_EQ(files(acq), QStringList{"IMG001.bmp"});
    EXPECT_TRUE(RunJournal::notes().isEmpty());
}

TEST_F(InterruptedRunTest, OneRunHoldsAFolderAndTakesItsLockFileAwayWhenItEnds) {
    const QString lockFile = acq + FolderLock::fileName;
    {
        const FolderLock run(acq);
        ASSERT_TRUE(run.held());
        EXPECT_TRUE(QFileInfo::exists(lockFile));
        EXPECT_EQ(FolderLock(acq).state(), FolderLock::State::Busy);
    }
    EXPECT_FALSE(QFileInfo::exists(lockFile)) << "a run that ended left its lock file";

    // A killed run leaves the file; the next run takes the folder and the file over.
    LockHolder killed(acq);
    ASSERT_TRUE(killed.held());
    killed.kill();
    EXPECT_TRUE(QFileInfo::exists(lockFile));
    {
        const FolderLock next(acq);
        EXPECT_TRUE(next.held());
    }
    EXPECT_FALSE(QFileInfo::exists(lockFile));

    // A run that ends while another waits to lock the same file: the other finds the file gone
    // and locks a file of its own, which a third run then cannot take.
    auto first = std::make_unique<FolderLock>(acq);
    const int opened = ::open(native_name::toBytes(lockFile).constData(), O_RDONLY);
    ASSERT_GE(opened, 0);
    first.reset();
    ASSERT_EQ(::flock(opened, LOCK_EX | LOCK_NB), 0) << "the removed file is free to lock";
    const FolderLock second(acq);
    EXPECT_TRUE(second.held()) << "a lock on a removed file holds nothing";
    EXPECT_EQ(FolderLock(acq).state(), FolderLock::State::Busy);
    ::close(opened);
}

} // namespace
