#include "decode_ahead.h"

#include "catalogue_picture.h"
#include "decode_budget.h"
#include "picture_loader.h"

#include <algorithm>

DecodeAhead::DecodeAhead(SharedThumbnails thumbnails, int workers)
    : thumbnails_(std::move(thumbnails)),
      // A page has twelve cells: more than eight workers would only wait for one another.
      workerCount_(workers > 0 ? workers
                               : std::clamp(static_cast<int>(std::thread::hardware_concurrency()),
                                            1, kMostWorkers)) {}

DecodeAhead::~DecodeAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        queue_.clear();
        writes_.clear();
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

QString DecodeAhead::keyOf(const Request& request) {
    return request.path + QLatin1Char('\n') + QString::number(request.box.width()) +
           QLatin1Char('x') + QString::number(request.box.height()) +
           (request.shared ? QLatin1Char('s') : QLatin1Char('p'));
}

void DecodeAhead::addShown(const Request& request, Picture& picture) {
    if (request.shownSize && !picture.image.isNull()) {
        const QSize size = request.shownSize(picture.natural);
        if (size.isValid()) {
            const QImage& image = picture.image;
            picture.shown =
                CataloguePicture::scaledForCell(image, size)
                    .convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
        }
    }
}

DecodeAhead::Decoded DecodeAhead::decode(const Request& request, bool urgent,
                                         const std::function<bool()>& start) {
    Decoded decoded;
    decoded.stamp = FileStamp::of(request.path);
    if (request.shared) {
        SharedThumbnails::Found found = thumbnails_.find(request.path, decoded.stamp, request.box);
        if (!found.image.isNull()) {
            if (start && !start()) {
                decoded.left = true;
                return decoded;
            }
            ++decodes_;
            decoded.picture = {found.image, found.natural, found.file, QImage()};
            addShown(request, decoded.picture);
            return decoded;
        }
    }
    // A picture that may become a shared thumbnail is decoded large enough to make one.
    const bool store = request.shared && thumbnails_.enabled();
    const QSize box = store ? SharedThumbnails::decodeBox(request.box) : request.box;
    // The decode and the copies made from it, the shown one at most the box's size twice over.
    const qint64 cost = PictureLoader::decodeCost(request.path, box) +
                        qint64(request.box.width()) * request.box.height() * 8;
    const DecodeBudget::Share share = DecodeBudget::shared().take(cost, urgent);
    if (start && !start()) {
        decoded.left = true;
        return decoded;
    }
    ++decodes_;
    decoded.picture.image = PictureLoader::decodeImage(request.path, box, &decoded.picture.natural);
    decoded.picture.source = request.path;
    decoded.store = store && !decoded.picture.image.isNull();
    addShown(request, decoded.picture);
    return decoded;
}

void DecodeAhead::startWorkers() {
    while (static_cast<int>(workers_.size()) < workerCount_) {
        workers_.emplace_back([this] { run(); });
    }
}

std::vector<const DecodeAhead::Request*>
DecodeAhead::largestFirst(const std::vector<Request>& requests) {
    // The page is done soonest when no worker is left with a big picture at the end; the small
    // first cells the window's thread reads itself meanwhile.
    std::vector<std::pair<int64_t, const Request*>> bySize;
    for (const Request& request : requests) {
        bySize.emplace_back(FileStamp::of(request.path).size, &request);
    }
    std::stable_sort(bySize.begin(), bySize.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<const Request*> order;
    for (const auto& [size, request] : bySize) {
        order.push_back(request);
    }
    return order;
}

void DecodeAhead::queue(const std::vector<const Request*>& requests) {
    for (const Request* pointer : requests) {
        const Request& request = *pointer;
        const QString key = keyOf(request);
        if (entries_.count(key) != 0) {
            continue; // decoded, decoding or waiting already
        }
        if (queue_.size() >= kMostQueued) {
            return;
        }
        Entry& entry = entries_[key];
        entry.request = request;
        queue_.push_back(key);
    }
}

// Forgets the pictures workers wait to decode: they leave them once their budget comes.
void DecodeAhead::dropWaiting() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        it = it->second.state == State::Waiting ? entries_.erase(it) : std::next(it);
    }
}

void DecodeAhead::wantNow(const std::vector<Request>& requests) {
    const std::vector<const Request*> order = largestFirst(requests);
    {
        std::lock_guard lock(mutex_);
        for (const QString& key : queue_) {
            entries_.erase(key);
        }
        queue_.clear();
        dropWaiting();
        queue(order);
        startWorkers();
    }
    wake_.notify_all();
}

void DecodeAhead::wantLater(const std::vector<Request>& requests) {
    const std::vector<const Request*> order = largestFirst(requests);
    {
        std::lock_guard lock(mutex_);
        queue(order);
        startWorkers();
    }
    wake_.notify_all();
}

void DecodeAhead::dropPending() {
    std::lock_guard lock(mutex_);
    for (const QString& key : queue_) {
        entries_.erase(key);
    }
    queue_.clear();
    dropWaiting();
}

DecodeAhead::Picture DecodeAhead::take(const Request& request) {
    const QString key = keyOf(request);
    const FileStamp now = FileStamp::of(request.path);
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] {
            const auto found = entries_.find(key);
            return found == entries_.end() || found->second.state != State::Running;
        });
        const auto found = entries_.find(key);
        if (found != entries_.end()) {
            Entry& entry = found->second;
            if (entry.state == State::Done && entry.stamp == now) {
                entry.used = ++clock_;
                return entry.picture;
            }
            if (entry.state == State::Queued) {
                queue_.erase(std::find(queue_.begin(), queue_.end(), key));
            }
            // Not started (a worker waiting for its budget leaves it), or made from an older
            // version of the file.
            entries_.erase(found);
        }
    }
    Decoded decoded = decode(request, true);
    Picture picture = decoded.picture;
    std::lock_guard lock(mutex_);
    finish(key, request, std::move(decoded));
    return picture;
}

void DecodeAhead::finish(const QString& key, const Request& request, Decoded decoded) {
    Entry& entry = entries_[key];
    entry.request = request;
    entry.state = State::Done;
    entry.stamp = decoded.stamp;
    entry.used = ++clock_;
    if (decoded.store) {
        if (writes_.size() >= kPendingWrites) {
            writes_.pop_front(); // a thumbnail less: the cache is no record
        }
        writes_.push_back({request.path, decoded.stamp, decoded.picture.image,
                           decoded.picture.natural, request.box});
        startWorkers();
        wake_.notify_one();
    }
    entry.picture = std::move(decoded.picture);
    keepWithinBounds();
    done_.notify_all();
}

void DecodeAhead::keepWithinBounds() {
    for (;;) {
        int count = 0;
        qint64 bytes = 0;
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.state != State::Done) {
                continue;
            }
            ++count;
            bytes +=
                it->second.picture.image.sizeInBytes() + it->second.picture.shown.sizeInBytes();
            if (oldest == entries_.end() || it->second.used < oldest->second.used) {
                oldest = it;
            }
        }
        if (oldest == entries_.end() || (count <= kKeptPictures && bytes <= kKeptBytes)) {
            return;
        }
        entries_.erase(oldest);
    }
}

void DecodeAhead::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || !queue_.empty() || !writes_.empty(); });
        if (stop_) {
            return;
        }
        ++busy_;
        if (!queue_.empty()) {
            const QString key = queue_.front();
            queue_.pop_front();
            Entry& entry = entries_[key];
            entry.state = State::Waiting;
            entry.claim = ++claims_;
            const uint64_t claim = entry.claim;
            const Request request = entry.request;
            lock.unlock();
            Decoded decoded = decode(request, false, [&] {
                std::lock_guard claimed(mutex_);
                const auto found = entries_.find(key);
                if (found == entries_.end() || found->second.state != State::Waiting ||
                    found->second.claim != claim) {
                    return false;
                }
                found->second.state = State::Running;
                return true;
            });
            lock.lock();
            if (!decoded.left) {
                finish(key, request, std::move(decoded));
            }
        } else {
            const Write write = std::move(writes_.front());
            writes_.pop_front();
            lock.unlock();
            thumbnails_.store(write.path, write.stamp, write.image, write.natural, write.box);
            lock.lock();
        }
        --busy_;
        done_.notify_all();
    }
}

int DecodeAhead::queued() const {
    std::lock_guard lock(mutex_);
    return int(queue_.size());
}

void DecodeAhead::waitIdle() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return queue_.empty() && writes_.empty() && busy_ == 0; });
}

void DecodeAhead::forget() {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end();) {
        it = it->second.state == State::Done ? entries_.erase(it) : std::next(it);
    }
}

int DecodeAhead::kept() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) {
        return e.second.state == State::Done;
    }));
}
