// The RTF reader's part for shapes: a {\shp} whose instance holds a picture becomes a
// fixed picture at the shape's page position; other shapes leave their {\shprslt} to
// the usual reading. Distances come from the shape's or the picture's properties.

#include "RtfParser.h"
#include "engine/Images.h"

#include <algorithm>

namespace RtfRead {

bool Parser::shapeWord(const QByteArray& w, int p, bool wasStarred)
{
    State& s = st();
    if (w == "shp" && s.dest == Dest::Body) {
        s.dest = Dest::Shape;
        shape = RtfShape();
        shapeDoc = nullptr;
        return true;
    }
    switch (s.dest) {
    case Dest::Shape:
        if (w == "shpinst") {
            s.dest = Dest::ShapeInst;
            return true;
        }
        if (w == "shprslt") {
            // What readers without shapes show; the picture itself was read.
            s.dest = shape.hasPicture ? Dest::Skip : Dest::Body;
            return true;
        }
        return !wasStarred;
    case Dest::Pict:
        if (w == "picprop") {
            s.dest = Dest::PicProp;
            return true;
        }
        return false;
    case Dest::ShapeInst:
    case Dest::PicProp:
        if (w == "sp") {
            propTarget = s.dest == Dest::ShapeInst ? &shape : &pictProps;
            propTarget->name.clear();
            propTarget->value.clear();
        } else if (w == "sn" && propTarget) {
            s.dest = Dest::ShapeName;
        } else if (w == "sv" && propTarget) {
            s.dest = Dest::ShapeValue;
        } else if (s.dest == Dest::ShapeInst) {
            shape.word(w, p);
        }
        return !wasStarred || w == "sp" || w == "sn" || w == "sv";
    case Dest::ShapeName:
    case Dest::ShapeValue:
        return !wasStarred;
    default:
        return false;
    }
}

void Parser::shapeText(const QString& s)
{
    if (!propTarget)
        return;
    if (st().dest == Dest::ShapeName)
        propTarget->name += s;
    else
        propTarget->value += s;
}

void Parser::shapeGroupEnd(const State& ended)
{
    if (ended.dest == Dest::ShapeValue && st().dest != Dest::ShapeValue && propTarget)
        propTarget->commitProperty();
    if (ended.dest != Dest::Shape || st().dest == Dest::Shape || !shape.hasPicture || !shapeDoc)
        return;
    Images::installHandlers(shapeDoc);
    ended.sink->addText(QString(QChar::ObjectReplacementCharacter), shape.fixedFormat(ended.cf));
    shape = RtfShape();
}

bool Parser::takenByShape(const QTextImageFormat& f, QTextDocument* target)
{
    const bool inShape = std::any_of(stack.cbegin(), stack.cend(), [](const State& s) { return s.dest == Dest::ShapeInst; });
    if (!inShape)
        return false;
    // The shape's picture is its "pib"; fills and other pictures of a shape are dropped.
    if (propTarget == &shape && shape.name.trimmed() == u"pib" && !shape.hasPicture) {
        shape.picture = f;
        shape.hasPicture = true;
        shapeDoc = target;
    }
    return true;
}

} // namespace RtfRead
