// FIFOs planted where a program expects files. Should a reader wait on one after all, a writer
// comes by after a while to let it go, so that the test fails instead of hanging.
#pragma once

#include <atomic>
#include <string>
#include <thread>

class PlantedFifo {
public:
    // Makes a FIFO at path (whatever was there goes); made() tells whether it could.
    explicit PlantedFifo(std::string path);
    ~PlantedFifo();
    PlantedFifo(const PlantedFifo&) = delete;
    PlantedFifo& operator=(const PlantedFifo&) = delete;

    bool made() const { return made_; }
    // Times a reader had to be let go: 0 when nothing waited on it for three seconds.
    int rescues() const { return rescues_; }

private:
    void rescue();

    std::string path_;
    bool made_ = false;
    std::atomic<bool> done_{false};
    std::atomic<int> rescues_{0};
    std::thread rescuer_;
};
