// Reads a settings file line by line in the locale's encoding, accepting CR LF and LF endings.
#pragma once

#include <QString>

class QIODevice;

class SettingsLineReader {
public:
    // Lines longer than this are cut to it; the rest of such a line is skipped, so a damaged
    // file never makes the reader hold more than one bounded line.
    static constexpr qint64 maxLineBytes = 64 * 1024;

    explicit SettingsLineReader(QIODevice& device) : device_(device) {}

    // The next line without its line end; false at the end of the file or on a read error.
    bool next(QString& line);

private:
    QIODevice& device_;
};
