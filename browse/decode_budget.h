// The memory the pictures being decoded may take together, whatever the number of threads
// decoding them. A decode holds its estimated share while it runs: one that would take the sum
// over the budget waits until enough is given back, but never while nothing else is held, so a
// picture larger than the whole budget is still decoded, alone. An urgent decode (the one the
// window waits for) goes before every ordinary one still waiting: it waits only for decodes
// already running.
#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <mutex>

class DecodeBudget {
public:
    // What every decode ahead of the window shares: the catalogue's workers, the single view's and
    // the window's thread, however many windows decode.
    static constexpr qint64 kDecodingBytes = qint64(256) << 20;
    static DecodeBudget& shared();

    explicit DecodeBudget(qint64 bytes) : limit_(bytes) {}
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // A share held until it goes out of scope.
    class Share {
    public:
        ~Share() { budget_.giveBack(bytes_); }
        Share(const Share&) = delete;
        Share& operator=(const Share&) = delete;

    private:
        friend class DecodeBudget;
        Share(DecodeBudget& budget, qint64 bytes) : budget_(budget), bytes_(bytes) {}

        DecodeBudget& budget_;
        qint64 bytes_;
    };

    // Waits until bytes may be held, then holds them.
    [[nodiscard]] Share take(qint64 bytes, bool urgent);
    qint64 held() const;
    // How many decodes wait for their share now.
    int waiting() const;

private:
    void giveBack(qint64 bytes);

    const qint64 limit_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    qint64 held_ = 0;
    int urgentWaiting_ = 0;
    int waiting_ = 0;
};
