// Listing big folders: 10 000, 50 000 and 100 000 empty picture files (with a few other files
// mixed in), as every refresh of the views lists the display folder afresh, beside the shell's
// `ls -f | sort -f` of the same folder ("ratio" is the listing's time over that).
#include "folder_list.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

const char* const kEndings[] = {".jpg", ".BMP", ".tif", ".txt"};

// One folder per size, made on first use and removed at exit.
class Folders {
public:
    ~Folders() {
        std::error_code ignored;
        for (const auto& [count, path] : made_) {
            std::filesystem::remove_all(path, ignored);
        }
    }

    const std::string& folder(int count) {
        auto found = made_.find(count);
        if (found != made_.end()) {
            return found->second;
        }
        std::string path =
            (std::filesystem::temp_directory_path() /
             ("orvana_list_" + std::to_string(getpid()) + "_" + std::to_string(count)))
                .string();
        std::filesystem::create_directories(path);
        for (int i = 0; i < count; ++i) {
            // Names out of order so that sorting has work to do.
            const int number = (i * 7919) % count;
            std::ofstream(path + "/IMG" + std::to_string(number) + kEndings[i % 4]);
        }
        return made_.emplace(count, path + "/").first->second;
    }

private:
    std::map<int, std::string> made_;
};

Folders& folders() {
    static Folders instance;
    return instance;
}

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_ListFolder(benchmark::State& state) {
    const std::string& path = folders().folder(static_cast<int>(state.range(0)));
    const QString folder = QString::fromStdString(path);
    const std::string shell = "ls -f '" + path + "' | sort -f >/dev/null";
    FolderList list;
    double listed = 0;
    double floor = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        list.setFolder(folder);
        benchmark::DoNotOptimize(list.count());
        listed += msSince(start);
        state.SetIterationTime(msSince(start) / 1000.0);
        state.PauseTiming();
        start = Clock::now();
        if (std::system(shell.c_str()) != 0) {
            state.SkipWithError("ls or sort failed");
        }
        floor += msSince(start);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ls_sort_ms"] = floor / double(state.iterations());
    state.counters["ratio"] = listed / floor;
}

} // namespace

BENCHMARK(BM_ListFolder)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_MAIN();
