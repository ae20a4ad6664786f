#include "launcher.h"
#include "native_name.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The program and its arguments go to the system as their own bytes, so that a picture whose
// name is not valid UTF-8 reaches the editor as the file system spells it. The program runs in
// a session of its own as a grandchild, so it outlives this program and leaves no zombie behind.
bool ProcessLauncher::start(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> words;
    words.push_back(native_name::toBytes(program));
    for (const QString& argument : arguments) {
        words.push_back(native_name::toBytes(argument));
    }
    if (words.front().isEmpty()) {
        return false;
    }
    std::vector<char*> argv;
    for (QByteArray& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through the pipe; a successful one closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execvp(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}
