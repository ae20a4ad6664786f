#include "page_words.h"

#include "file_reader.h"
#include "temporary_file.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace pelmix {

namespace {

constexpr auto kLongestPage = std::chrono::minutes(10);

std::string helperProgram() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&readPageWords), &info) != 0 &&
        info.dli_fname != nullptr) {
        std::string path = info.dli_fname;
        const size_t slash = path.rfind('/');
        return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
               "/orvana-words";
    }
    return std::string(); // no library file to find it beside: no words rather than a guess
}

// The caller's environment with OpenMP held to one thread: the pages are read side by side
// already, and more threads than cores make Tesseract many times slower.
std::vector<std::string> environmentWithOneThread() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "OMP_THREAD_LIMIT=", 17) != 0) {
            entries.emplace_back(*entry);
        }
    }
    entries.emplace_back("OMP_THREAD_LIMIT=1");
    return entries;
}

// Runs the helper with arguments and waits for it; true when it ended well.
bool runHelper(std::vector<std::string> arguments, const std::atomic<bool>& cancelled) {
    static const std::string program = helperProgram();
    if (program.empty()) {
        return false;
    }
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    // Read once: the program does not change its environment while documents are made.
    static const std::vector<std::string> environment = environmentWithOneThread();
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its notes go nowhere, and it gets no descriptor of the caller's.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            break;
        }
        if (ended < 0 && errno != EINTR) {
            return false; // not ours to wait for: nothing it wrote is trusted
        }
        if (cancelled || std::chrono::steady_clock::now() - start > kLongestPage) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The whole of a file the helper wrote; "" when it cannot be read.
std::string helperOutput(const std::string& path) {
    FileReader file;
    if (!file.open(path.c_str(), uint64_t(1) << 28)) {
        return std::string();
    }
    std::string bytes(static_cast<size_t>(file.size()), '\0');
    return file.readAt(0, bytes.data(), bytes.size()) == bytes.size() ? bytes : std::string();
}

} // namespace

std::string readPageWords(const std::string& picture, bool upright, double dpi,
                          const std::string& dataFolder, const std::string& languages,
                          const std::atomic<bool>& cancelled) {
    const TemporaryFile out("pelmix-words");
    if (!out.made() || !runHelper({dataFolder, languages, std::to_string(std::lround(dpi)),
                                   upright ? "1" : "0", picture, out.path()},
                                  cancelled)) {
        return std::string();
    }
    return helperOutput(out.path());
}

PageOrientation readPageOrientation(const std::string& picture, double dpi,
                                    const std::string& dataFolder,
                                    const std::atomic<bool>& cancelled) {
    const TemporaryFile out("pelmix-orientation");
    if (!out.made() || !runHelper({"--orientation", dataFolder, std::to_string(std::lround(dpi)),
                                   picture, out.path()},
                                  cancelled)) {
        return {};
    }
    PageOrientation found;
    if (std::sscanf(helperOutput(out.path()).c_str(), "%d %lf", &found.turn, &found.confidence) !=
            2 ||
        found.turn % 90 != 0 || found.turn < 0 || found.turn >= 360) {
        return {};
    }
    found.found = true;
    return found;
}

} // namespace pelmix
