// The single view's pictures decoded on a worker: the final picture of one shown from a first
// sight, and the next file in the direction of travel, for the box and the window the view will
// have, while the present one is looked at. At most kKept pictures are held, those waiting and
// the one being decoded included, and a picture is used only while its file is the version it
// was decoded from. The decoding itself is the view's (decoder), so a picture read ahead is the
// one the view would have read.
#pragma once

#include "file_stamp.h"
#include "pelmix.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

class SingleAhead {
public:
    static constexpr int kKept = 2;

    struct Request {
        QString path;
        QSize box;    // decoded for about this many device pixels; empty: whole
        QSize window; // the picture window it is drawn into; empty: not drawn ahead
        float magnification = 0;
        bool library = false; // into an image handle (and drawn), or as a picture at its own size
        bool operator==(const Request&) const = default;
    };
    struct HandleFree {
        void operator()(void* handle) const { PelmixMemFree(static_cast<HGLOBAL>(handle)); }
    };
    using Handle = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, HandleFree>;
    struct Picture {
        Handle handle;     // library requests: the picture as decoded
        IMAGE_INFO file{}; // the picture as stored in the file
        QImage drawn;      // drawn for the window, or the picture itself; null when none
    };
    using Decoder = std::function<Picture(const Request&)>;

    // decoded is called on the worker after each picture it decoded.
    explicit SingleAhead(Decoder decoder, std::function<void()> decoded = nullptr);
    ~SingleAhead();
    SingleAhead(const SingleAhead&) = delete;
    SingleAhead& operator=(const SingleAhead&) = delete;

    // Decodes request after those waiting (urgent: before them); the oldest picture kept makes
    // room, then the last one waiting.
    void want(const Request& request, bool urgent = false);
    // The picture of request when it was read ahead (waiting for it while it is decoded, unless
    // told not to wait) and its file has not changed since; nothing otherwise, and the caller
    // decodes it (or, not waiting, looks again later).
    std::optional<Picture> take(const Request& request, bool wait = true);
    // Drops everything kept or waiting; a decode running is dropped when it ends.
    void forget();
    // Waits until nothing is waiting or running.
    void waitIdle();
    int decodes() const;
    int kept() const;

private:
    struct Kept {
        Request request;
        FileStamp stamp;
        Picture picture;
    };
    void run();
    int held() const; // kept, waiting and running

    Decoder decoder_;
    std::function<void()> decoded_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Request> waiting_;
    std::optional<Request> running_;
    std::deque<Kept> kept_;
    uint64_t generation_ = 0; // forget() makes a running decode's picture unwanted
    int decodes_ = 0;
    bool stop_ = false;
    std::thread worker_;
};
