#include "single_ahead.h"

#include "decode_budget.h"
#include "picture_loader.h"

#include <algorithm>

SingleAhead::SingleAhead(Decoder decoder, std::function<void()> decoded)
    : decoder_(std::move(decoder)), decoded_(std::move(decoded)) {
    worker_ = std::thread([this] { run(); });
}

SingleAhead::~SingleAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.clear();
    }
    wake_.notify_all();
    worker_.join();
}

int SingleAhead::held() const {
    return int(kept_.size() + waiting_.size()) + (running_ ? 1 : 0);
}

void SingleAhead::want(const Request& request, bool urgent) {
    {
        std::lock_guard lock(mutex_);
        const auto waiting = std::find(waiting_.begin(), waiting_.end(), request);
        if (waiting != waiting_.end()) {
            if (urgent) {
                waiting_.erase(waiting);
                waiting_.push_front(request);
            }
            return;
        }
        const bool known =
            running_ == request || std::any_of(kept_.begin(), kept_.end(),
                                               [&](const Kept& k) { return k.request == request; });
        if (known) {
            return;
        }
        if (urgent) {
            waiting_.push_front(request);
        } else {
            waiting_.push_back(request);
        }
        while (held() > kKept && !kept_.empty()) {
            kept_.pop_front();
        }
        while (held() > kKept && !waiting_.empty()) {
            waiting_.pop_back();
        }
    }
    wake_.notify_all();
}

std::optional<SingleAhead::Picture> SingleAhead::take(const Request& request, bool wait) {
    std::unique_lock lock(mutex_);
    if (!wait && (running_ == request ||
                  std::find(waiting_.begin(), waiting_.end(), request) != waiting_.end())) {
        return std::nullopt;
    }
    const auto waiting = std::find(waiting_.begin(), waiting_.end(), request);
    if (waiting != waiting_.end()) {
        waiting_.erase(waiting); // the caller is quicker decoding it now
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
        waiting_.clear();
        dropped.swap(kept_);
        ++generation_;
    }
}

void SingleAhead::waitIdle() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return waiting_.empty() && !running_; });
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
        wake_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
        if (stop_) {
            return;
        }
        const Request request = waiting_.front();
        waiting_.pop_front();
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
        const bool wanted = generation == generation_ && !stop_;
        if (wanted) {
            kept_.push_back(std::move(kept));
        }
        done_.notify_all();
        lock.unlock();
        kept = Kept{}; // an unwanted picture is released outside the lock
        if (wanted && decoded_) {
            decoded_();
        }
        lock.lock();
    }
}
