#include "RtfShapes.h"

#include "engine/EngineProperties.h"

using namespace EngineProperty;

namespace {

QByteArray num(qint64 v) { return QByteArray::number(v); }

QByteArray property(const char* name, qint64 value)
{
    return "{\\sp{\\sn " + QByteArray(name) + "}{\\sv " + num(value) + "}}";
}

struct Side {
    const char* name;
    int property;
};
const Side kSides[] = {{"dxWrapDistLeft", ImageDistanceL}, {"dyWrapDistTop", ImageDistanceT},
                       {"dxWrapDistRight", ImageDistanceR}, {"dyWrapDistBottom", ImageDistanceB}};

QByteArray distances(const QTextFormat& f)
{
    QByteArray out;
    for (const Side& s : kSides)
        if (const int twips = f.intProperty(s.property); twips > 0)
            out += property(s.name, qint64(twips) * RtfShapes::EmuPerTwip);
    return out;
}

} // namespace

namespace RtfShapes {

QByteArray distanceProperties(const QTextFormat& f)
{
    const QByteArray d = distances(f);
    return d.isEmpty() ? QByteArray() : "{\\*\\picprop" + d + '}';
}

QByteArray fixedPicture(const QTextCharFormat& fixed, const QByteArray& pict, int shapeId)
{
    const int x = fixed.intProperty(ImagePosX), y = fixed.intProperty(ImagePosY);
    const int w = fixed.intProperty(ImageWidth), h = fixed.intProperty(ImageHeight);
    // Relative to the page, no wrapping: the text runs under the picture as on screen.
    QByteArray out = "{\\shp{\\*\\shpinst\\shpleft" + num(x) + "\\shptop" + num(y) + "\\shpright" + num(x + w)
                     + "\\shpbottom" + num(y + h) + "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore"
                     + "\\shpwr3\\shpwrk0\\shpfblwtxt0\\shpz0\\shplid" + num(shapeId);
    out += property("shapeType", 75); // picture frame
    out += property("posrelh", 1);    // page
    out += property("posrelv", 1);
    out += distances(fixed);
    out += "{\\sp{\\sn pib}{\\sv " + pict + "}}}}";
    return out;
}

} // namespace RtfShapes

bool RtfShape::word(const QByteArray& w, int param)
{
    if (w == "shpleft") left = param;
    else if (w == "shptop") top = param;
    else if (w == "shpright") right = param;
    else if (w == "shpbottom") bottom = param;
    else return false;
    return true;
}

void RtfShape::commitProperty()
{
    properties.insert(name.trimmed().toLatin1(), value.trimmed());
    name.clear();
    value.clear();
}

void RtfShape::applyDistances(QTextFormat& f) const
{
    for (const Side& s : kSides) {
        bool ok = false;
        const qint64 emu = properties.value(s.name).toLongLong(&ok);
        if (ok && emu > 0)
            f.setProperty(s.property, int(qMin<qint64>(emu / RtfShapes::EmuPerTwip, 31680)));
    }
}

QTextCharFormat RtfShape::fixedFormat(const QTextCharFormat& base) const
{
    QTextCharFormat f = base;
    f.setObjectType(EngineObject::FixedImage);
    f.setProperty(ImageName, picture.name());
    f.setProperty(ImagePosX, qBound(0, left, 31680 * 4));
    f.setProperty(ImagePosY, qBound(0, top, 31680 * 4));
    f.setProperty(ImageWidth, qBound(1, right - left, 31680 * 4));
    f.setProperty(ImageHeight, qBound(1, bottom - top, 31680 * 4));
    applyDistances(f);
    return f;
}
