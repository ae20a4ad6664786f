// Encodes the page files of a run as JPEG while the scanner delivers the next ones, so that
// storing a page once the batch is over is a rename instead of a load and an encode.
//
// The page file stays the page: an encoding is a hidden copy beside it (".ORVA_TMP.000.jpg"),
// used only when the page file is still the one it was made from and the quality asked is the
// one it was made at. Whatever is not taken is removed; a run killed meanwhile leaves copies
// that the next start removes with the other half-written files.
//
// Only grey and colour pages are encoded; the rest are stored the usual way, with its messages.
#pragma once

#include "file_system.h"

#include <QString>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

class PageEncoder {
public:
    // Starts encoding "<folder>ORVA_TMP.000", "….001" … in order, each once the library has
    // written it. quality is the settings' JPEG quality.
    PageEncoder(QString folder, int quality);
    // Stops at once; encodings not taken are removed.
    ~PageEncoder();
    PageEncoder(const PageEncoder&) = delete;
    PageEncoder& operator=(const PageEncoder&) = delete;

    // The library has written count page files: encodes those not done yet, then stops.
    void finish(int count);

    // The encoding of the page file named pageName (in the folder), now the caller's to rename or
    // remove, when it was made from the file as it is now at this quality; "" otherwise.
    QString take(const QString& pageName, int quality);

    // ".ORVA_TMP.000.jpg" for "ORVA_TMP.000".
    static QString encodingName(const QString& pageName);
    // Whether name is an encoding a run made ahead of storing its pages.
    static bool isEncoding(const QString& name);

private:
    struct Encoding {
        QString path;
        file_system::Stamp source;
    };

    void run();
    void encode(int k);

    const QString folder_;
    const int quality_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int delivered_ = -1; // the page count once the batch is over
    bool stopping_ = false;
    std::map<QString, Encoding> ready_;
    std::thread thread_;
};
