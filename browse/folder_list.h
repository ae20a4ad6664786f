// The list of picture files of one folder: the names ending in .bmp, .jpg or .tif (any letter
// case), without sub-folders and hidden files, ordered by name without regard to letter case.
// Positions are zero-based; the list is read once per setFolder / refresh, never cached across.
#pragma once

#include <QString>
#include <QStringList>

class FolderList {
public:
    // Error numbers of a failed listing.
    static constexpr int kPathNotFound = 76; // the folder does not exist (or is not a folder)
    static constexpr int kAccessDenied = 70; // no permission to read the folder
    static constexpr int kAccessError = 75;  // any other failure to read it

    // Lists folder (ending in "/" or not). False when it cannot be listed: the list is then
    // empty and errorNumber / errorText say why.
    bool setFolder(const QString& folder);
    // Lists the same folder again.
    bool refresh();

    int count() const { return static_cast<int>(names_.size()); }
    // The name at index, or "" outside the list.
    QString name(int index) const;
    const QStringList& names() const { return names_; }

    int errorNumber() const { return errorNumber_; }
    const QString& errorText() const { return errorText_; }

    // A text of the file's modification time that changes whenever the file is written; "" when
    // the file cannot be examined. Only ever compared for equality.
    static QString dateTimeText(const QString& path);

    // True when name matches the pattern "*.bmp;*.jpg;*.tif" (any letter case).
    static bool matchesPattern(const QString& name);

private:
    QString folder_;
    QStringList names_;
    int errorNumber_ = 0;
    QString errorText_;
};
