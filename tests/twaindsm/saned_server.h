// A real saned serving SANE's test backend on a loopback address of its own (127.0.0.N, port
// 6566: SANE's net backend takes no port), with a private configuration that allows 127.0.0.0/8
// (and, unless open, asks a user name and password for the test backend, which the program has
// none for: saned lets a loopback peer in whatever saned.conf says),
// and the client configuration that reaches it (the net backend, and the test backend for a
// device on this machine to compare with). saned serves each connection in a child process of
// its own: stop() ends the children and saned by their PIDs, pause() and resume() stop and
// continue them all. Tests skip where saned is not installed.
#pragma once

#include "temp_dir.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class SanedServer {
public:
    // open: whether the test backend is served without a password.
    explicit SanedServer(int lastOctet, bool open = true)
        : address_("127.0.0." + std::to_string(lastOctet)) {
        std::ofstream(server_.file("dll.conf")) << "test\n";
        // The system's settings of the test backend, with a picture whose every pixel says where
        // it is, so that pages can be compared.
        std::string conf = readBytes("/etc/sane.d/test.conf");
        const size_t picture = conf.find("test-picture");
        if (picture != std::string::npos) {
            conf.replace(picture, conf.find('\n', picture) - picture,
                         "test-picture \"Color pattern\"");
        }
        std::ofstream(server_.file("test.conf")) << conf;
        std::ofstream(server_.file("saned.conf")) << "127.0.0.0/8\n";
        if (!open) {
            std::ofstream(server_.file("saned.users")) << "orvana:secret:test\n";
            ::chmod(server_.file("saned.users").c_str(), 0600);
        }
        std::ofstream(client_.file("dll.conf")) << "net\ntest\n";
        std::ofstream(client_.file("test.conf")) << readBytes("/etc/sane.d/test.conf");
        std::ofstream(client_.file("net.conf")) << address_ << "\nconnect_timeout = 3\n";
    }
    ~SanedServer() { stop(); }
    SanedServer(const SanedServer&) = delete;
    SanedServer& operator=(const SanedServer&) = delete;

    static std::string program() {
        for (const char* path : {"/usr/sbin/saned", "/usr/bin/saned"}) {
            if (::access(path, X_OK) == 0) {
                return path;
            }
        }
        return {};
    }
    const std::string& address() const { return address_; }
    std::string device(const char* name = "test:0") const { return "net:" + address_ + ":" + name; }
    // For SANE_CONFIG_DIR of the program's side.
    std::string clientConfig() const { return client_.path(); }
    // The client configuration with net.conf naming other hosts instead.
    void reachOnly(const std::string& hosts) {
        std::ofstream(client_.file("net.conf")) << hosts << "\nconnect_timeout = 3\n";
    }

    // Sets an option of the test backend's settings, on the server and on this machine alike;
    // before start().
    void setTestOption(const std::string& name, const std::string& value) {
        for (const std::string& file : {server_.file("test.conf"), client_.file("test.conf")}) {
            std::string conf = readBytes(file);
            const size_t at = conf.find("\n" + name + " ");
            const std::string line = name + " " + value;
            if (at == std::string::npos) {
                conf += "\n" + line + "\n";
            } else {
                conf.replace(at + 1, conf.find('\n', at + 1) - at - 1, line);
            }
            std::ofstream(file) << conf;
        }
    }

    // Starts saned and waits until it takes connections; false when it does not.
    bool start() {
        stop();
        const std::string saned = program();
        std::vector<std::string> env{"SANE_CONFIG_DIR=" + server_.path()};
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::string(*e).rfind("SANE_CONFIG_DIR=", 0) != 0) {
                env.emplace_back(*e);
            }
        }
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string bind = "-b" + address_;
        char* argv[] = {const_cast<char*>(saned.c_str()), const_cast<char*>("-l"),
                        const_cast<char*>("-e"), bind.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, server_.file("saned.log").c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        const int error = ::posix_spawn(&pid_, saned.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            pid_ = -1;
            return false;
        }
        for (int i = 0; i < 100; ++i) {
            if (accepts()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // Ends saned and the processes serving its connections.
    void stop() {
        if (pid_ < 0) {
            return;
        }
        signalAll(SIGCONT);
        signalAll(SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    void pause() { signalAll(SIGSTOP); }
    void resume() { signalAll(SIGCONT); }

private:
    // saned and its children, by the parent PID in /proc.
    void signalAll(int signal) {
        if (pid_ < 0) {
            return;
        }
        std::vector<pid_t> children;
        if (DIR* proc = ::opendir("/proc")) {
            while (dirent* entry = ::readdir(proc)) {
                const pid_t pid = std::atoi(entry->d_name);
                if (pid <= 0) {
                    continue;
                }
                std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
                std::string line;
                std::getline(stat, line);
                const size_t close = line.rfind(')');
                if (close == std::string::npos) {
                    continue;
                }
                char state = 0;
                int parent = 0;
                if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
                    parent == pid_) {
                    children.push_back(pid);
                }
            }
            ::closedir(proc);
        }
        for (const pid_t child : children) {
            ::kill(child, signal);
        }
        ::kill(pid_, signal);
        if (signal == SIGKILL) {
            for (const pid_t child : children) {
                ::waitpid(child, nullptr, WNOHANG);
            }
        }
    }
    bool accepts() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(6566);
        ::inet_pton(AF_INET, address_.c_str(), &to.sin_addr);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
        ::close(fd);
        return ok;
    }

    std::string address_;
    TempDir server_;
    TempDir client_;
    pid_t pid_ = -1;
};
