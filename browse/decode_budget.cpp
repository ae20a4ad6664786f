#include "decode_budget.h"

#include <algorithm>

DecodeBudget& DecodeBudget::shared() {
    static DecodeBudget budget(kDecodingBytes);
    return budget;
}

DecodeBudget::Share DecodeBudget::take(qint64 bytes, bool urgent) {
    bytes = std::max<qint64>(bytes, 0);
    std::unique_lock lock(mutex_);
    if (urgent) {
        ++urgentWaiting_;
    }
    ++waiting_;
    changed_.wait(lock, [&] {
        const bool fits = held_ == 0 || held_ + bytes <= limit_;
        return fits && (urgent || urgentWaiting_ == 0);
    });
    --waiting_;
    held_ += bytes;
    if (urgent && --urgentWaiting_ == 0) {
        changed_.notify_all(); // ordinary decodes that fit may go now
    }
    return Share(*this, bytes);
}

qint64 DecodeBudget::held() const {
    std::lock_guard lock(mutex_);
    return held_;
}

int DecodeBudget::waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

void DecodeBudget::giveBack(qint64 bytes) {
    {
        std::lock_guard lock(mutex_);
        held_ -= bytes;
    }
    changed_.notify_all();
}
