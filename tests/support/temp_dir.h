// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Writes bytes to a file; false on failure.
bool writeBytes(const std::string& path, const void* data, size_t size);
// The whole file, or an empty string.
std::string readBytes(const std::string& path);
// The names of everything in folder, hidden ones included, sorted.
std::vector<std::string> namesIn(const std::string& folder);
