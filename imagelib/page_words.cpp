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
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
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

// Starts the helper with arguments, its standard output on output (-1: nowhere) and its input
// on input (-1: none); its notes go nowhere, and it gets no other descriptor of the caller's.
bool spawnHelper(std::vector<std::string> arguments, int input, int output, pid_t& pid) {
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
    if (input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, input, 0);
    }
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    const int error =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid = -1;
    }
    return error == 0;
}

// Runs the helper with arguments and waits for it; true when it ended well.
bool runHelper(std::vector<std::string> arguments, const std::atomic<bool>& cancelled) {
    pid_t pid = -1;
    if (!spawnHelper(std::move(arguments), -1, -1, pid)) {
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

// The helper serving the orientations of pictures with its data loaded once: started at the
// first picture, and again when it has gone (it ends with the thread that started it, and when
// its input closes). A picture it takes longer than a page can over, or that makes it crash,
// costs that picture's orientation and a new helper.
class OrientationHelper {
public:
    OrientationHelper() = default;
    ~OrientationHelper() { stop(); }
    OrientationHelper(const OrientationHelper&) = delete;
    OrientationHelper& operator=(const OrientationHelper&) = delete;

    // The helper's answer to request; "" when there is none.
    std::string ask(const std::string& dataFolder, const std::string& request,
                    const std::atomic<bool>& cancelled) {
        for (int attempt = 0; attempt < 2 && !cancelled; ++attempt) {
            if (pid_ < 0 || dataFolder != dataFolder_) {
                stop();
                if (!start(dataFolder)) {
                    return std::string();
                }
            }
            std::string answer;
            if (exchange(request, answer, cancelled)) {
                return answer;
            }
            stop(); // gone, or stuck: the next attempt starts another
        }
        return std::string();
    }

private:
    bool start(const std::string& dataFolder) {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
            return false;
        }
        // Its input and output are our end of the pair.
        const bool started = spawnHelper({"--orientations", dataFolder}, ends[1], ends[1], pid_);
        ::close(ends[1]);
        if (!started) {
            ::close(ends[0]);
            return false;
        }
        socket_ = ends[0];
        dataFolder_ = dataFolder;
        return true;
    }

    bool exchange(const std::string& request, std::string& answer,
                  const std::atomic<bool>& cancelled) {
        const std::string line = request + "\n";
        for (size_t sent = 0; sent < line.size();) {
            const ssize_t n = ::send(socket_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n <= 0 && errno != EINTR) {
                return false;
            }
            sent += n > 0 ? size_t(n) : 0;
        }
        const auto start = std::chrono::steady_clock::now();
        while (answer.empty() || answer.back() != '\n') {
            if (cancelled || std::chrono::steady_clock::now() - start > kLongestPage) {
                return false;
            }
            pollfd wait{socket_, POLLIN, 0};
            const int ready = ::poll(&wait, 1, 100);
            if (ready < 0 && errno != EINTR) {
                return false;
            }
            if (ready <= 0) {
                continue;
            }
            char bytes[256];
            const ssize_t n = ::recv(socket_, bytes, sizeof bytes, 0);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                return false; // it ended
            }
            answer.append(bytes, n > 0 ? size_t(n) : 0);
            if (answer.size() > 1024) {
                return false;
            }
        }
        return true;
    }

    void stop() {
        if (socket_ >= 0) {
            ::close(socket_);
            socket_ = -1;
        }
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

    pid_t pid_ = -1;
    int socket_ = -1;
    std::string dataFolder_;
};

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
    static std::mutex one;
    static OrientationHelper helper;
    std::string answer;
    {
        const std::lock_guard<std::mutex> lock(one);
        answer =
            helper.ask(dataFolder, std::to_string(std::lround(dpi)) + " " + picture, cancelled);
    }
    PageOrientation found;
    if (std::sscanf(answer.c_str(), "%d %lf", &found.turn, &found.confidence) != 2 ||
        found.turn % 90 != 0 || found.turn < 0 || found.turn >= 360) {
        return {};
    }
    found.found = true;
    return found;
}

} // namespace pelmix
