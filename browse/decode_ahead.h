// The catalogue's pictures decoded ahead on worker threads, one per core. While the refresh
// places cell k on the window's thread, the workers decode the next cells (and, once the page is
// drawn, the page after it) at the cells' size. The window's thread takes each picture in cell
// order; a picture not started yet it decodes itself, one being decoded it waits for. A picture
// is used only while its file is the version it was decoded from. Pictures that fill a small cell
// are also kept as shared thumbnails, written by the workers after the decoding. Memory is bounded
// by kKeptPictures cell-size pictures, and the decodes running at once (on the workers of every
// DecodeAhead and on the window's thread) by DecodeBudget::shared(): each holds its estimated share
// of it while it runs, the window's thread before any worker still waiting for one. There is a
// worker per core, kMostWorkers at the most.
#pragma once

#include "file_stamp.h"
#include "shared_thumbnails.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class DecodeAhead {
public:
    static constexpr int kKeptPictures = 36; // three pages of twelve cells
    static constexpr qint64 kKeptBytes = qint64(192) << 20;
    static constexpr size_t kPendingWrites = 24; // thumbnails waiting to be written
    static constexpr int kMostWorkers = 8;
    static constexpr size_t kMostQueued = 24; // this page and the next: more is left out

    struct Request {
        QString path;
        QSize box;           // the picture area in device pixels
        bool shared = false; // whether the shared thumbnails may serve it and be fed from it
        // The size the cell shows a picture of a natural size at (empty: none); the picture is
        // then also made at that size, off the window's thread. Called on any thread.
        std::function<QSize(QSize natural)> shownSize;
    };
    struct Picture {
        QImage image;   // null when the file cannot be read
        QSize natural;  // the picture's own size
        QString source; // the file it was read from: the picture or its shared thumbnail
        QImage shown;   // the picture at the shown size, when the request gave one
    };

    // workers 0: one per core, kMostWorkers at the most.
    explicit DecodeAhead(SharedThumbnails thumbnails, int workers = 0);
    ~DecodeAhead();
    DecodeAhead(const DecodeAhead&) = delete;
    DecodeAhead& operator=(const DecodeAhead&) = delete;

    // The pictures of the page being drawn, in cell order: whatever was still waiting is dropped
    // and these go first.
    void wantNow(const std::vector<Request>& requests);
    // Pictures likely to be wanted next, after everything already waiting.
    void wantLater(const std::vector<Request>& requests);
    // The picture of request, decoded ahead or now.
    Picture take(const Request& request);
    // Cancel: drops every decode not started yet.
    void dropPending();

    // Waits until nothing is waiting or running, thumbnail writes included.
    void waitIdle();
    // Forgets every kept picture (a decode running goes on, and is kept).
    void forget();
    // Pictures decoded so far (from their files or from shared thumbnails), on any thread.
    int decodes() const { return decodes_.load(); }
    int kept() const;
    // Pictures waiting for a worker now.
    int queued() const;
    const SharedThumbnails& thumbnails() const { return thumbnails_; }

private:
    // Waiting: a worker has it and waits for its share of the decoding budget; the window's
    // thread that wants it meanwhile decodes it itself, and the worker leaves it.
    enum class State { Queued, Waiting, Running, Done };
    struct Entry {
        Request request;
        State state = State::Queued;
        Picture picture;
        FileStamp stamp;
        uint64_t used = 0;
        uint64_t claim = 0; // the worker's, while Waiting
    };
    struct Decoded {
        Picture picture;
        FileStamp stamp;
        bool store = false;
        bool left = false; // the worker left it to the window's thread
    };
    struct Write {
        QString path;
        FileStamp stamp;
        QImage image;
        QSize natural;
        QSize box;
    };

    static QString keyOf(const Request& request);
    // urgent: the window's thread waits for it. start, when given, is asked once the budget
    // allows the decode whether it is still wanted.
    Decoded decode(const Request& request, bool urgent,
                   const std::function<bool()>& start = nullptr);
    void dropWaiting();
    static void addShown(const Request& request, Picture& picture);
    static std::vector<const Request*> largestFirst(const std::vector<Request>& requests);
    void queue(const std::vector<const Request*>& requests);
    void finish(const QString& key, const Request& request, Decoded decoded);
    void keepWithinBounds();
    void startWorkers();
    void run();

    SharedThumbnails thumbnails_;
    int workerCount_;
    std::vector<std::thread> workers_;
    mutable std::mutex mutex_;
    std::condition_variable wake_; // work for the workers
    std::condition_variable done_; // a decode or write finished
    std::map<QString, Entry> entries_;
    std::deque<QString> queue_;
    std::deque<Write> writes_;
    int busy_ = 0;
    uint64_t clock_ = 0;
    uint64_t claims_ = 0;
    bool stop_ = false;
    std::atomic<int> decodes_{0};
};
