#pragma once
// A picture placed on the page (not in the text), as the package readers find it.

#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"

#include <QTextCursor>
#include <QTextDocument>

struct FixedPicture {
    int id = 0;
    QString name;
    int x = 0, y = 0, width = 0, height = 0; // twips from the page's corner
    int distanceL = 0, distanceT = 0, distanceR = 0, distanceB = 0;
};

// Inserts the picture's anchor at `c`; the text after it keeps `base`.
inline void insertFixedPicture(QTextCursor& c, const QTextCharFormat& base, const FixedPicture& p)
{
    using namespace EngineProperty;
    Images::installHandlers(c.document());
    QTextCharFormat f = base;
    f.setObjectType(EngineObject::FixedImage);
    f.setProperty(ImageId, p.id);
    f.setProperty(ImageName, p.name);
    f.setProperty(ImagePosX, p.x);
    f.setProperty(ImagePosY, p.y);
    f.setProperty(ImageWidth, p.width);
    f.setProperty(ImageHeight, p.height);
    f.setProperty(ImageDistanceL, p.distanceL);
    f.setProperty(ImageDistanceT, p.distanceT);
    f.setProperty(ImageDistanceR, p.distanceR);
    f.setProperty(ImageDistanceB, p.distanceB);
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
    c.setCharFormat(base);
}
