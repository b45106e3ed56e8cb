#pragma once
// Shared by the format tests: a canonical dump of a document's structure and formats for
// comparisons, test pictures and packages.

#include "TestPaths.h"
#include "engine/Document.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace FormatTest {

inline QString formatDump(const QTextFormat& f)
{
    QString s;
    QDebug d(&s);
    d.nospace() << "type" << f.type();
    const auto props = f.properties();
    for (auto it = props.cbegin(); it != props.cend(); ++it)
        if (it.key() != QTextFormat::ObjectIndex)
            d << " " << Qt::hex << it.key() << Qt::dec << "=" << it.value();
    return s;
}

inline void dumpItems(QTextFrame::iterator it, QStringList& out, QHash<QTextList*, int>& lists);

inline void dumpBlock(const QTextBlock& b, QStringList& out, QHash<QTextList*, int>& lists)
{
    QString line = QStringLiteral("P ") + formatDump(b.blockFormat()) + QStringLiteral(" | ") + formatDump(b.charFormat());
    if (QTextList* l = b.textList()) {
        if (!lists.contains(l))
            lists.insert(l, lists.size() + 1);
        line += QStringLiteral(" | list%1 item%2 ").arg(lists[l]).arg(l->itemNumber(b)) + formatDump(l->format());
    }
    out << line;
    for (auto it = b.begin(); !it.atEnd(); ++it)
        out << QStringLiteral("  R \"") + it.fragment().text() + QStringLiteral("\" ") + formatDump(it.fragment().charFormat());
}

inline void dumpItems(QTextFrame::iterator it, QStringList& out, QHash<QTextList*, int>& lists)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(f)) {
                out << QStringLiteral("TABLE %1x%2 ").arg(t->rows()).arg(t->columns()) + formatDump(t->format());
                for (int r = 0; r < t->rows(); ++r)
                    for (int c = 0; c < t->columns(); ++c) {
                        const QTextTableCell cell = t->cellAt(r, c);
                        if (cell.row() != r || cell.column() != c)
                            continue;
                        out << QStringLiteral("CELL %1,%2 span %3x%4 ").arg(r).arg(c).arg(cell.rowSpan()).arg(cell.columnSpan())
                                   + formatDump(cell.format());
                        dumpItems(cell.begin(), out, lists);
                    }
                out << QStringLiteral("END TABLE");
            } else {
                out << QStringLiteral("FRAME ") + formatDump(f->frameFormat());
                dumpItems(f->begin(), out, lists);
                out << QStringLiteral("END FRAME");
            }
        } else {
            dumpBlock(it.currentBlock(), out, lists);
        }
    }
}

inline QStringList dump(const QTextDocument* doc)
{
    QStringList out;
    QHash<QTextList*, int> lists;
    out << QStringLiteral("ROOT ") + formatDump(doc->rootFrame()->frameFormat());
    out << QStringLiteral("FONT ") + doc->defaultFont().toString();
    dumpItems(doc->rootFrame()->begin(), out, lists);
    return out;
}

// Each paragraph as "label text" ("-" outside lists, "\u2022" for bullets), joined by "|".
inline QString listLabels(const QTextDocument* d)
{
    QStringList out;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        out << (!b.textList() ? QStringLiteral("-")
                : b.textList()->format().style() == QTextListFormat::ListDisc ? QStringLiteral("\u2022")
                                                                               : b.textList()->itemText(b))
                   + QLatin1Char(' ') + b.text();
    return out.join(u'|');
}

inline QByteArray fixture(const char* name)
{
    QFile f(qxSourceDir() + QStringLiteral("/tests/engine/data/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The character format just inside the first occurrence of `text`.
inline QTextCharFormat formatAt(const QTextDocument* doc, const QString& text)
{
    const int pos = doc->toPlainText().indexOf(text);
    if (pos < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

inline QImage testImage()
{
    QImage img(8, 6, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(0, 0, 4, 3, Qt::red);
    p.fillRect(4, 3, 4, 3, QColor(0, 128, 255));
    return img;
}

inline QByteArray testPng()
{
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    testImage().save(&buf, "PNG");
    return png;
}

// A package of the members in order; a member named "mimetype" is stored uncompressed.
inline QByteArray zip(const QList<QPair<QString, QByteArray>>& members)
{
    ZipPackage::Writer w;
    for (const auto& [name, data] : members)
        w.add(name, data, name == QLatin1String("mimetype"));
    QByteArray out;
    QString error;
    if (!w.finish(&out, &error))
        qWarning() << error;
    return out;
}

// Justified, indented 20 / 10 / -8 px, 6 px above and 4 below, 1.5 lines, a tab stop of
// every kind at 50, 120, 200 and 260 px.
inline QTextBlockFormat richParagraph()
{
    QTextBlockFormat bf;
    bf.setAlignment(Qt::AlignJustify);
    bf.setLeftMargin(20);
    bf.setRightMargin(10);
    bf.setTextIndent(-8);
    bf.setTopMargin(6);
    bf.setBottomMargin(4);
    bf.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    // With a leader of hyphens, dots and a line in the delimiter, where our stops keep it.
    bf.setTabPositions({QTextOption::Tab(50, QTextOption::LeftTab, QLatin1Char('-')), QTextOption::Tab(120, QTextOption::RightTab, QLatin1Char('.')),
                        QTextOption::Tab(200, QTextOption::CenterTab, QLatin1Char('_')),
                        QTextOption::Tab(260, QTextOption::DelimiterTab, QLatin1Char(','))});
    return bf;
}

inline QStringList dumpAll(const Document& doc)
{
    QStringList out;
    const PageGeometry& g = doc.page();
    out << QStringLiteral("PAGE %1 %2 %3 %4 %5 %6").arg(g.width).arg(g.height).arg(g.marginL).arg(g.marginT).arg(g.marginR).arg(g.marginB);
    out << QStringLiteral("HF %1 %2 %3").arg(doc.headerFooterSet()).arg(doc.headerDistance()).arg(doc.footerDistance());
    for (int part : {1, 2, 4, 8})
        if (const QTextDocument* d = doc.headerFooter(part))
            out << QStringLiteral("PART %1").arg(part) << dump(d);
    out << QStringLiteral("BODY") << dump(doc.body());
    return out;
}

} // namespace FormatTest
