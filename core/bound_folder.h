// A folder held open by its descriptor, for the files the program derives from a folder it shows
// (the companion's thumbnail folder, a trash, the shared thumbnail cache). Every step below it is
// taken without following a link and without "." or "..", so that a link planted in the folder,
// or a name that climbs out of it, never leads a delete, a rename or a write somewhere else. The
// folder itself is opened by its path as the user named it (links in that path are the user's).
// Names are the bytes the system knows them by. POSIX only.
#pragma once

#include <cerrno>
#include <string>
#include <string_view>
#include <sys/types.h>

class BoundFolder {
public:
    BoundFolder() = default;
    ~BoundFolder();
    BoundFolder(BoundFolder&& other) noexcept;
    BoundFolder& operator=(BoundFolder&& other) noexcept;
    BoundFolder(const BoundFolder&) = delete;
    BoundFolder& operator=(const BoundFolder&) = delete;

    // The folder at path; not open() when it is not a folder.
    static BoundFolder at(const std::string& path);

    // Whether relative is one or more plain names joined by "/" ("SNAPTN", "a/b"): not empty,
    // not absolute, no empty step and no "." or "..".
    static bool isPlainRelative(std::string_view relative);
    // Whether name is one plain name (no "/", not "." or "..").
    static bool isPlainName(std::string_view name);

    bool open() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // errno of the step that failed to open (0 when open).
    int error() const { return error_; }

    // The folder relative below this one, every step a real folder and none a link; not open()
    // otherwise. With create, missing steps are made (mode 0700 & ~umask, the given mode).
    BoundFolder below(std::string_view relative, bool create = false, mode_t mode = 0777) const;

    // Whether name in this folder is a regular file (a link is not, whatever it points to).
    bool holdsFile(std::string_view name) const;
    // Removes name when it is a regular file; 0, or the errno of the failure (ENOENT when there
    // is no such file, EPERM when it is not a regular file).
    int removeFile(std::string_view name) const;
    // Renames the regular file from to to within this folder, never replacing what is at to;
    // 0, or the errno of the failure (EPERM when from is not a regular file).
    int renameFile(std::string_view from, std::string_view to) const;
    // Opens name (never through a link at name): open(2)'s flags and mode, O_NOFOLLOW and
    // O_CLOEXEC added. The descriptor, or -1 with errno set.
    int openFile(std::string_view name, int flags, mode_t mode = 0600) const;

private:
    explicit BoundFolder(int fd, int error) : fd_(fd), error_(error) {}

    int fd_ = -1;
    int error_ = EBADF;
};
