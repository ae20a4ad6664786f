// An invisible holder of a tool button's pictures (an image list): picture 0 is the normal
// picture, picture 1 the one shown while the button's action runs. A QObject so that it has a
// name and belongs to the window like the other controls.
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

class OrvaPictureList : public QObject {
    Q_OBJECT

public:
    OrvaPictureList(const QString& name, QList<QIcon> pictures, QObject* parent);

    // The picture at index, or an empty icon for an index the holder does not have.
    QIcon picture(int index) const;
    int count() const { return static_cast<int>(pictures_.size()); }

    // The normal and the pressed picture drawn from an SVG file at side x side pixels; two empty
    // icons when the file cannot be read.
    static QList<QIcon> normalAndPressed(const QString& svgPath, int side);

private:
    QList<QIcon> pictures_;
};
