#include "Sections.h"

#include "EngineProperties.h"
#include "SectionParts.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace Sections {

SectionFormat firstOf(const Document& doc)
{
    SectionFormat f;
    f.page = doc.page();
    f.headerDistance = doc.headerDistance();
    f.footerDistance = doc.footerDistance();
    return f;
}

QString encode(const SectionFormat& f)
{
    const PageGeometry& g = f.page;
    QStringList parts;
    for (int v : {g.width, g.height, g.marginL, g.marginT, g.marginR, g.marginB, f.headerDistance, f.footerDistance, f.parts})
        parts << QString::number(v);
    return parts.join(QLatin1Char(' '));
}

bool decode(const QVariant& v, SectionFormat* out)
{
    const QStringList parts = v.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 8)
        return false;
    int n[9] = {};
    for (int i = 0; i < 9 && i < parts.size(); ++i) {
        bool ok = false;
        n[i] = parts[i].toInt(&ok);
        if (!ok)
            return false;
    }
    // Files from elsewhere: a page too small to hold a line is no page.
    if (n[0] < 1440 || n[1] < 1440 || n[0] > 31680 * 10 || n[1] > 31680 * 10)
        return false;
    auto bound = [](int v, int max) { return qBound(0, v, max); };
    SectionFormat f;
    f.page = {n[0], n[1], bound(n[2], n[0] / 2), bound(n[3], n[1] / 2), bound(n[4], n[0] / 2), bound(n[5], n[1] / 2)};
    f.headerDistance = bound(n[6], n[1] / 2);
    f.footerDistance = bound(n[7], n[1] / 2);
    f.parts = qMax(0, n[8]);
    *out = f;
    return true;
}

bool breakOf(const QTextBlockFormat& f, SectionFormat* out)
{
    return f.hasProperty(Sections::PageProperty) && decode(f.property(Sections::PageProperty), out);
}

bool isBreak(const QTextBlockFormat& f)
{
    SectionFormat ignored;
    return breakOf(f, &ignored);
}

namespace {
// Paragraphs of the body's own flow; a table or frame is stepped over whole.
template <typename F>
void forEachTopBlock(const QTextDocument* body, F f)
{
    for (auto it = body->rootFrame()->begin(); !it.atEnd(); ++it)
        if (!it.currentFrame() && !f(it.currentBlock()))
            return;
}
} // namespace

QList<Section> of(const Document& doc)
{
    QList<Section> out{{0, firstOf(doc)}};
    if (!any(doc.body()))
        return out;
    forEachTopBlock(doc.body(), [&](const QTextBlock& b) {
        SectionFormat f;
        if (b.position() > 0 && breakOf(b.blockFormat(), &f))
            out.append({b.position(), f});
        return true;
    });
    return out;
}

bool any(const QTextDocument* body)
{
    // Formats are shared: a look at the format table spares a walk over the text.
    bool found = false;
    for (const QTextFormat& f : body->allFormats())
        found = found || (f.isBlockFormat() && f.hasProperty(Sections::PageProperty));
    return found;
}

QTextDocument* partFor(const Document& doc, const QList<Section>& sections, int index, int slot, bool first,
                       int* kind)
{
    auto part = [&](int i, int which) {
        QTextDocument* d = i == 0 ? doc.headerFooter(which) : SectionParts::part(doc, sections[i].format.parts, which);
        if (d && kind)
            *kind = which;
        return d;
    };
    if (kind)
        *kind = 0;
    for (int i = qBound(0, index, int(sections.size()) - 1); i >= 0; --i) {
        if (i == index && first)
            if (QTextDocument* d = part(i, slot * 2))
                return d;
        if (QTextDocument* d = part(i, slot))
            return d;
    }
    return nullptr;
}

void setBreak(QTextCursor& c, const SectionFormat& f)
{
    QTextBlockFormat bf = c.blockFormat();
    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    bf.setProperty(Sections::PageProperty, encode(f));
    c.setBlockFormat(bf);
}

void insertBreak(QTextCursor& c, const SectionFormat& f)
{
    c.beginEditBlock();
    c.insertBlock();
    setBreak(c, f);
    c.endEditBlock();
}

} // namespace Sections
