#include "RtfShapes.h"

#include "engine/Document.h"
#include "engine/Sections.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"
#include "engine/pages/Paginator.h"
#include "engine/objects/TextBoxes.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>

using namespace EngineProperty;

namespace RtfShapes {

namespace {

// The placement waits in the anchor's format until the page is known; these
// properties never leave the reader.
enum PlaceProperty {
    PlaceRefX = QTextFormat::UserProperty + 900,
    PlaceRefY,
    PlaceAlignX,
    PlaceAlignY,
    PlaceX,
    PlaceY,
    PlaceWidth,
    PlaceHeight,
};

void storePlacement(QTextCharFormat& f, const Placement& p)
{
    f.setProperty(PlaceRefX, int(p.refX));
    f.setProperty(PlaceRefY, int(p.refY));
    f.setProperty(PlaceAlignX, int(p.alignX));
    f.setProperty(PlaceAlignY, int(p.alignY));
    f.setProperty(PlaceX, p.x);
    f.setProperty(PlaceY, p.y);
    f.setProperty(PlaceWidth, p.width);
    f.setProperty(PlaceHeight, p.height);
}

Placement takePlacement(QTextCharFormat& f)
{
    Placement p;
    p.refX = Ref(f.intProperty(PlaceRefX));
    p.refY = Ref(f.intProperty(PlaceRefY));
    p.alignX = Align(f.intProperty(PlaceAlignX));
    p.alignY = Align(f.intProperty(PlaceAlignY));
    p.x = f.intProperty(PlaceX);
    p.y = f.intProperty(PlaceY);
    p.width = f.intProperty(PlaceWidth);
    p.height = f.intProperty(PlaceHeight);
    for (int prop = PlaceRefX; prop <= PlaceHeight; ++prop)
        f.clearProperty(prop);
    return p;
}

// Start of `size` aligned in the span from `from` to `to`, or `offset` past `from`.
int alignIn(Align a, int from, int to, int size, int offset)
{
    switch (a) {
    case Align::Start: return from;
    case Align::Center: return from + (to - from - size) / 2;
    case Align::End: return to - size;
    case Align::Absolute: break;
    }
    return from + offset;
}

struct Side {
    const char* name;
    int property;
};
const Side kSides[] = {{"dxWrapDistLeft", ImageDistanceL}, {"dyWrapDistTop", ImageDistanceT},
                       {"dxWrapDistRight", ImageDistanceR}, {"dyWrapDistBottom", ImageDistanceB}};

QByteArray shapeProperty(const char* name, qint64 v)
{
    return QByteArray("{\\sp{\\sn ") + name + "}{\\sv " + QByteArray::number(v) + "}}";
}

QByteArray distances(const QTextFormat& f)
{
    QByteArray out;
    for (const Side& s : kSides)
        if (const int twips = f.intProperty(s.property); twips > 0)
            out += shapeProperty(s.name, qint64(twips) * EmuPerTwip);
    return out;
}

QString roman(int n)
{
    static const std::pair<int, const char*> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                        {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                                                        {5, "v"},    {4, "iv"},   {1, "i"}};
    QString out;
    for (const auto& [value, text] : parts)
        for (; n >= value; n -= value)
            out += QLatin1String(text);
    return out;
}

QString letters(int n)
{
    QString out;
    for (; n > 0; n = (n - 1) / 26)
        out.prepend(QChar(u'a' + (n - 1) % 26));
    return out;
}

} // namespace

bool FrameWords::word(const QByteArray& w, int p)
{
    Placement& pl = place;
    if (w == "posx" || w == "posnegx") { pl.x = p; pl.alignX = Align::Absolute; }
    else if (w == "posy" || w == "posnegy") { pl.y = p; pl.alignY = Align::Absolute; }
    else if (w == "posxl" || w == "posxi") pl.alignX = Align::Start;
    else if (w == "posxc") pl.alignX = Align::Center;
    else if (w == "posxr" || w == "posxo") pl.alignX = Align::End;
    else if (w == "posyt" || w == "posyil" || w == "posyin") pl.alignY = Align::Start;
    else if (w == "posyc") pl.alignY = Align::Center;
    else if (w == "posyb" || w == "posyout") pl.alignY = Align::End;
    else if (w == "absw") pl.width = qBound(0, p, 31680);
    else if (w == "absh") pl.height = qBound(-31680, p, 31680);
    else if (w == "phpg") pl.refX = Ref::Page;
    else if (w == "phmrg" || w == "phcol") pl.refX = Ref::Margin;
    else if (w == "pvpg") pl.refY = Ref::Page;
    else if (w == "pvmrg") pl.refY = Ref::Margin;
    else if (w == "pvpara") pl.refY = Ref::Paragraph;
    else return false;
    on = true;
    return true;
}

bool Shape::word(const QByteArray& w, int p)
{
    if (w == "shpleft") left = p;
    else if (w == "shptop") top = p;
    else if (w == "shpright") right = p;
    else if (w == "shpbottom") bottom = p;
    else if (w == "shpbxpage") place.refX = Ref::Page;
    else if (w == "shpbxmargin" || w == "shpbxcolumn") place.refX = Ref::Margin;
    else if (w == "shpbypage") place.refY = Ref::Page;
    else if (w == "shpbymargin") place.refY = Ref::Margin;
    else if (w == "shpbypara") place.refY = Ref::Paragraph;
    else return false;
    return true;
}

void Shape::property()
{
    bool ok = false;
    const int v = value.trimmed().toInt(&ok);
    const QString n = name.trimmed();
    name.clear();
    value.clear();
    if (!ok)
        return;
    static const Align aligns[] = {Align::Absolute, Align::Start, Align::Center, Align::End, Align::Start, Align::End};
    if (n == u"shapeType") type = v;
    else if (n == u"posrelh") place.refX = v == 1 ? Ref::Page : Ref::Margin;
    else if (n == u"posrelv") place.refY = v == 1 ? Ref::Page : v == 0 ? Ref::Margin : Ref::Paragraph;
    else if (n == u"posh" && v >= 0 && v <= 5) place.alignX = aligns[v];
    else if (n == u"posv" && v >= 0 && v <= 5) place.alignY = aligns[v];
    else if (n == u"dxTextLeft") padX = qBound(0, v / 635, 2000); // EMU
    else if (n == u"dyTextTop") padY = qBound(0, v / 635, 2000);
    else if (n == u"fLine") line = v ? qMax(line, 1) : 0;
    else if (n == u"lineWidth" && line > 0) line = qBound(1, v / 635, 2000);
    else
        for (int i = 0; i < 4; ++i)
            if (n == QLatin1String(kSides[i].name) && v >= 0)
                distance[i] = qMin(v / EmuPerTwip, 31680);
}

void Shape::applyDistances(QTextFormat& f) const
{
    for (int i = 0; i < 4; ++i)
        if (distance[i] > 0)
            f.setProperty(kSides[i].property, distance[i]);
}

QTextCharFormat pictureAnchor(const QTextCharFormat& base, const QString& name, const Placement& place)
{
    QTextCharFormat f = base;
    f.setObjectType(EngineObject::FixedImage);
    f.setProperty(ImageName, name);
    storePlacement(f, place);
    return f;
}

QTextCharFormat textBoxAnchor(const QTextCharFormat& base, const QTextDocument& text, const Placement& place,
                              int padX, int padY, int line)
{
    QTextCharFormat f = base;
    f.setObjectType(EngineObject::FixedImage);
    f.setProperty(TextBoxHtml, text.toHtml());
    f.setProperty(TextBoxPaddingX, padX);
    f.setProperty(TextBoxPaddingY, padY);
    if (line > 0)
        f.setProperty(TextBoxLine, line);
    storePlacement(f, place);
    return f;
}

namespace {

// Places the anchors of `body`, the document's body or one of its headers and footers
// (`part`); a part's paragraphs count from where the part stands on the page.
void placeIn(Document& doc, QTextDocument* body, int part)
{
    QList<int> anchors;
    bool needLayout = false;
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            if (f.objectType() != EngineObject::FixedImage || !f.hasProperty(PlaceRefX))
                continue;
            for (int i = 0; i < frag.length(); ++i)
                anchors << frag.position() + i;
            needLayout |= Ref(f.intProperty(PlaceRefY)) == Ref::Paragraph;
        }
    if (anchors.isEmpty())
        return;
    Images::installHandlers(body);
    const PageGeometry& g = doc.page();
    std::unique_ptr<QTextDocument> laidOut = needLayout && !part ? Paginator::printedCopy(doc) : nullptr;
    double partTop = 0;
    if (part) {
        body->setTextWidth(Document::twipsToPixels(g.width - g.marginL - g.marginR));
        partTop = part == 1 || part == 2 ? Document::twipsToPixels(doc.headerDistance())
                                         : Document::twipsToPixels(g.height - doc.footerDistance()) - body->size().height();
    }
    const double pageHeight = Paginator::pageSizePixels(g).height();
    for (int pos : anchors) {
        QTextCursor c(body);
        c.setPosition(pos);
        c.setPosition(pos + 1, QTextCursor::KeepAnchor);
        QTextCharFormat f = c.charFormat();
        const Placement p = takePlacement(f);
        const int textWidth = g.width - g.marginL - g.marginR;
        int w = p.width, h = qAbs(p.height);
        if (TextBoxes::isTextBox(f)) {
            const QString html = f.stringProperty(TextBoxHtml);
            const int padX = f.intProperty(TextBoxPaddingX), padY = f.intProperty(TextBoxPaddingY);
            if (w <= 0)
                w = qRound(Document::pixelsToTwips(TextBoxes::layOut(html, Document::twipsToPixels(textWidth))->idealWidth())) + 2 * padX;
            const int content = qCeil(Document::pixelsToTwips(TextBoxes::heightOf(html, Document::twipsToPixels(w - 2 * padX)))) + 2 * padY;
            if (p.height >= 0)
                h = qMax(h, content);
        } else {
            const QImage img = body->resource(QTextDocument::ImageResource, QUrl(f.stringProperty(ImageName))).value<QImage>();
            if (w <= 0)
                w = qRound(Document::pixelsToTwips(img.width()));
            if (h <= 0)
                h = qRound(Document::pixelsToTwips(img.height()));
        }
        const int x = p.refX == Ref::Page ? alignIn(p.alignX, 0, g.width, w, p.x)
                                          : alignIn(p.alignX, g.marginL, g.width - g.marginR, w, p.x);
        int y = 0;
        if (p.refY == Ref::Page) {
            y = alignIn(p.alignY, 0, g.height, h, p.y);
        } else if (part && p.refY == Ref::Paragraph) {
            const double top = partTop + body->documentLayout()->blockBoundingRect(body->findBlock(pos)).top();
            y = qRound(Document::pixelsToTwips(top)) + p.y;
        } else if (p.refY == Ref::Margin || !laidOut) {
            y = alignIn(p.alignY, g.marginT, g.height - g.marginB, h, p.y);
        } else {
            // From the top of the anchoring paragraph on its page.
            const QTextBlock b = laidOut->findBlock(pos);
            // The printed copy is laid out finer than the body's 96-dpi pixels.
            const double top = laidOut->documentLayout()->blockBoundingRect(b).top() / Paginator::layoutScale(laidOut.get());
            const double onPage = top - std::floor(top / pageHeight) * pageHeight;
            y = qRound(Document::pixelsToTwips(onPage)) + p.y;
        }
        f.setProperty(ImagePosX, x);
        f.setProperty(ImagePosY, y);
        f.setProperty(ImageWidth, w);
        f.setProperty(ImageHeight, h);
        c.setCharFormat(f);
    }
}

} // namespace

void placeOnPages(Document& doc)
{
    placeIn(doc, doc.body(), 0);
    for (int part : {1, 2, 4, 8})
        if (QTextDocument* d = doc.headerFooter(part))
            placeIn(doc, d, part);
}

bool fitTables(Document& doc)
{
    const QList<Sections::Section> sections = Sections::of(doc);
    bool fitted = false;
    for (QTextFrame* child : doc.body()->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(child);
        if (!table)
            continue;
        // A table is as wide as its section's page allows (a landscape one, wider).
        const auto section = std::upper_bound(sections.cbegin(), sections.cend(), table->firstPosition(),
                                              [](int pos, const Sections::Section& s) { return pos < s.start; });
        const PageGeometry& g = (section - 1)->format.page;
        const double textWidth = Document::twipsToPixels(g.width - g.marginL - g.marginR);
        QTextTableFormat tf = table->format();
        QList<QTextLength> widths = tf.columnWidthConstraints();
        double sum = 0;
        for (const QTextLength& l : std::as_const(widths))
            if (l.type() == QTextLength::FixedLength)
                sum += l.rawValue();
        // Office suites let a table reach a little into the margins: that is kept.
        if (sum <= textWidth + Document::twipsToPixels(300))
            continue;
        for (QTextLength& l : widths)
            if (l.type() == QTextLength::FixedLength)
                l = QTextLength(QTextLength::FixedLength, l.rawValue() * textWidth / sum);
        tf.setColumnWidthConstraints(widths);
        table->setFormat(tf);
        fitted = true;
    }
    return fitted;
}

QByteArray shapeStart(const QTextCharFormat& f, int shapeId)
{
    auto num = [](int v) { return QByteArray::number(v); };
    const auto prop = shapeProperty;
    const int x = f.intProperty(ImagePosX), y = f.intProperty(ImagePosY);
    const int w = f.intProperty(ImageWidth), h = f.intProperty(ImageHeight);
    QByteArray out = "{\\shp{\\*\\shpinst\\shpleft" + num(x) + "\\shptop" + num(y) + "\\shpright" + num(x + w)
                     + "\\shpbottom" + num(y + h) + "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt0\\shpz0\\shplid" + num(shapeId);
    out += prop("posrelh", 1) + prop("posrelv", 1) + distances(f);
    if (TextBoxes::isTextBox(f)) {
        const int padX = f.intProperty(TextBoxPaddingX) * 635, padY = f.intProperty(TextBoxPaddingY) * 635; // EMU
        const int line = f.intProperty(TextBoxLine);
        out += prop("shapeType", 202) + prop("fLine", line > 0 ? 1 : 0) + (line > 0 ? prop("lineWidth", line * 635) : QByteArray())
               + prop("dxTextLeft", padX) + prop("dxTextRight", padX)
               + prop("dyTextTop", padY) + prop("dyTextBottom", padY) + "\n{\\shptxt ";
    } else {
        out += prop("shapeType", 75) + "{\\sp{\\sn pib}{\\sv ";
    }
    return out;
}

QByteArray distanceProperties(const QTextFormat& f)
{
    const QByteArray d = distances(f);
    return d.isEmpty() ? QByteArray() : "{\\*\\picprop" + d + '}';
}

QString noteNumber(int n, const QByteArray& style)
{
    if (style.endsWith("rlc"))
        return roman(n);
    if (style.endsWith("ruc"))
        return roman(n).toUpper();
    if (style.endsWith("alc"))
        return letters(n);
    if (style.endsWith("auc"))
        return letters(n).toUpper();
    return QString::number(n);
}

} // namespace RtfShapes
