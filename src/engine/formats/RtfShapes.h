#pragma once
// Pictures placed on the page travel in RTF as shapes ({\shp} with the page position in
// \shpleft ... \shpbottom, \shpwr for the wrapping and the picture in the "pib"
// property); a picture's distances to the text are the shape properties
// dxWrapDistLeft ... dyWrapDistBottom in EMU (635 to the twip), inside {\*\picprop}
// for pictures in the text.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <QTextImageFormat>

namespace RtfShapes {

constexpr int EmuPerTwip = 635;

// {\*\picprop ...} with the distances of an image format; empty when all are 0.
QByteArray distanceProperties(const QTextFormat& f);
// The {\shp ...} group of a fixed picture (page position in its format), whose
// {\pict ...} group is `pict`.
QByteArray fixedPicture(const QTextCharFormat& fixed, const QByteArray& pict, int shapeId);

} // namespace RtfShapes

// What the reader collects from one shape, or from one picture's {\*\picprop}.
struct RtfShape {
    int left = 0, top = 0, right = 0, bottom = 0;
    QHash<QByteArray, QString> properties; // \sn name -> \sv value
    QString name, value;                   // of the property being read
    bool hasPicture = false;
    QTextImageFormat picture;

    // A control word of the shape instance; false when it is none.
    bool word(const QByteArray& w, int param);
    void commitProperty();
    // The distances of `properties` into the picture format `f` (twips).
    void applyDistances(QTextFormat& f) const;
    // The fixed picture this shape stands for, the text's format being `base`.
    QTextCharFormat fixedFormat(const QTextCharFormat& base) const;
};
