// The thumbnails of one folder: for every BMP, JPEG and TIFF picture in it a picture of at most
// kSide x kSide pixels of the same name and format in the sub-folder kFolder, dated like its
// picture, and SNAPLET.INF naming that sub-folder. A thumbnail that is as new as its picture is
// left alone, so a second run over an unchanged folder writes nothing; thumbnails of pictures
// that are gone are removed.
#pragma once

#include <filesystem>

namespace thumbnail_folder {

inline constexpr const char* kFolder = "SNAPTN";
inline constexpr int kSide = 160;

struct Counts {
    int written = 0;
    int kept = 0;
    int failed = 0;
    int removed = 0;
};

// false when folder is not a folder or SNAPLET.INF cannot be written.
bool update(const std::filesystem::path& folder, Counts& counts);

} // namespace thumbnail_folder
