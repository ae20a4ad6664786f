#include "single_ahead.h"

#include "decode_budget.h"
#include "picture_loader.h"

#include <algorithm>

SingleAhead::SingleAhead(Decoder decoder) : decoder_(std::move(decoder)) {
    worker_ = std::thread([this] { run(); });
}

SingleAhead::~SingleAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.reset();
    }
    wake_.notify_all();
    worker_.join();
}

void SingleAhead::want(const Request& request) {
    {
        std::lock_guard lock(mutex_);
        const bool known =
            running_ == request || std::any_of(kept_.begin(), kept_.end(),
                                               [&](const Kept& k) { return k.request == request; });
        if (known) {
            return;
        }
        while (!kept_.empty() && int(kept_.size()) + (running_ ? 1 : 0) >= kKept) {
            kept_.pop_front();
        }
        waiting_ = request;
    }
    wake_.notify_all();
}

std::optional<SingleAhead::Picture> SingleAhead::take(const Request& request) {
    std::unique_lock lock(mutex_);
    if (waiting_ == request) {
        waiting_.reset(); // the caller is quicker decoding it now
    }
    done_.wait(lock, [&] { return running_ != request; });
    const auto found = std::find_if(kept_.begin(), kept_.end(),
                                    [&](const Kept& k) { return k.request == request; });
    if (found == kept_.end()) {
        return std::nullopt;
    }
    Kept taken = std::move(*found);
    kept_.erase(found);
    lock.unlock();
    if (!(FileStamp::of(request.path) == taken.stamp)) {
        return std::nullopt;
    }
    return std::move(taken.picture);
}

void SingleAhead::forget() {
    std::deque<Kept> dropped;
    {
        std::lock_guard lock(mutex_);
        waiting_.reset();
        dropped.swap(kept_);
        ++generation_;
    }
}

void SingleAhead::waitIdle() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return !waiting_ && !running_; });
}

int SingleAhead::decodes() const {
    std::lock_guard lock(mutex_);
    return decodes_;
}

int SingleAhead::kept() const {
    std::lock_guard lock(mutex_);
    return int(kept_.size());
}

void SingleAhead::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || waiting_; });
        if (stop_) {
            return;
        }
        const Request request = *waiting_;
        waiting_.reset();
        while (int(kept_.size()) + 1 > kKept) {
            kept_.pop_front();
        }
        running_ = request;
        const uint64_t generation = generation_;
        lock.unlock();
        Kept kept{request, FileStamp::of(request.path), {}};
        {
            const DecodeBudget::Share share = DecodeBudget::shared().take(
                PictureLoader::decodeCost(request.path, request.box), false);
            kept.picture = decoder_(request);
        }
        lock.lock();
        running_.reset();
        ++decodes_;
        if (generation == generation_ && !stop_) {
            kept_.push_back(std::move(kept));
        } else {
            lock.unlock();
            kept = Kept{}; // released outside the lock
            lock.lock();
        }
        done_.notify_all();
    }
}
