#include "fifo.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PlantedFifo::PlantedFifo(std::string path) : path_(std::move(path)) {
    std::remove(path_.c_str());
    made_ = ::mkfifo(path_.c_str(), 0600) == 0;
    rescuer_ = std::thread([this] {
        // A reader that opened it without waiting is gone long before three seconds.
        for (int i = 0; i < 60 && !done_; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        while (!done_) {
            rescue();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

void PlantedFifo::rescue() {
    // Only while it is still the FIFO: a program may have put a file in its place.
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
        ++rescues_;
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

PlantedFifo::~PlantedFifo() {
    done_ = true;
    rescuer_.join();
    // A reader still waiting (on a thread of its own, say) is let go, not left for ever.
    rescue();
    std::remove(path_.c_str());
}
