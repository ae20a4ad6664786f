// Cleans and encodes the page files of a run while the scanner delivers the next ones, so that
// storing a page once the batch is over is a rename instead of a load and an encode.
//
// Cleaning (the steps the settings chose) replaces the page file by the cleaned page, written
// whole under another name and renamed over it, so that the file is always one page or the other;
// a page found blank is only marked, for the store to set it aside.
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
#include <string>
#include <thread>

struct USR_SETTINGS;

class PageEncoder {
public:
    // What is done to each page before it is encoded, in this order.
    struct Cleaning {
        bool cutBorders = false;
        bool straighten = false;
        bool turnUpright = false;
        bool findBlank = false;
        int blankSensitivity = 50;
        std::string textData; // Tesseract's data folder, for turning upright

        bool any() const { return cutBorders || straighten || turnUpright || findBlank; }
        // The steps the settings chose.
        static Cleaning of(const USR_SETTINGS& settings);
    };
    static constexpr int kNoEncoding = -1;

    // Starts on "<folder>ORVA_TMP.000", "….001" … in order, each once the library has written
    // it: cleans it, then encodes it at quality, the settings' JPEG quality (kNoEncoding: none).
    PageEncoder(QString folder, int quality, Cleaning cleaning);
    PageEncoder(QString folder, int quality); // no cleaning
    // Stops at once; encodings not taken are removed.
    ~PageEncoder();
    PageEncoder(const PageEncoder&) = delete;
    PageEncoder& operator=(const PageEncoder&) = delete;

    // The library has written count page files: encodes those not done yet, then stops.
    void finish(int count);

    // The encoding of the page file named pageName (in the folder), now the caller's to rename or
    // remove, when it was made from the file as it is now at this quality; "" otherwise.
    QString take(const QString& pageName, int quality);
    // Whether the page file named pageName was found blank as it is now; told once.
    bool takeBlank(const QString& pageName);

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
    // The page image cleaned (a new image), or nullptr when no step changed it or it is blank.
    void* clean(void* image, bool& blank) const;

    const QString folder_;
    const int quality_;
    const Cleaning cleaning_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int delivered_ = -1; // the page count once the batch is over
    bool stopping_ = false;
    std::map<QString, Encoding> ready_;
    std::map<QString, file_system::Stamp> blank_;
    std::thread thread_;
};
