#include "PlainPages.h"

#include "engine/Document.h"
#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

bool isZero(const QVariant& v) { return v.toDouble() == 0; }

// Only what leaves a paragraph at the body's left edge, one line height after the other.
bool plainBlockFormat(const QTextBlockFormat& f)
{
    const QMap<int, QVariant> props = f.properties();
    for (auto it = props.cbegin(); it != props.cend(); ++it) {
        switch (it.key()) {
        case QTextFormat::BlockAlignment: {
            const int h = it.value().toInt() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
            if (h != 0 && h != Qt::AlignLeft)
                return false;
            break;
        }
        case QTextFormat::PageBreakPolicy:
        case QTextFormat::BlockTopMargin:
        case QTextFormat::BlockBottomMargin:
        case QTextFormat::BlockLeftMargin:
        case QTextFormat::BlockRightMargin:
        case QTextFormat::TextIndent:
        case QTextFormat::BlockIndent:
        case QTextFormat::LineHeightType:
            if (!isZero(it.value()))
                return false;
            break;
        case QTextFormat::LineHeight:
            break; // without a type it does nothing
        default:
            return false;
        }
    }
    return true;
}

// Fonts and a plain colour; underlines, backgrounds, links and fields take the long way.
bool plainCharFormat(const QTextCharFormat& f)
{
    const QMap<int, QVariant> props = f.properties();
    for (auto it = props.cbegin(); it != props.cend(); ++it) {
        switch (it.key()) {
        case QTextFormat::FontFamily:
        case QTextFormat::FontFamilies:
        case QTextFormat::FontPointSize:
        case QTextFormat::FontWeight:
        case QTextFormat::FontItalic:
        case QTextFormat::FontStyleHint:
        case QTextFormat::FontStyleStrategy:
        case QTextFormat::FontKerning:
        case QTextFormat::FontHintingPreference:
        case QTextFormat::FontFixedPitch:
            break;
        case QTextFormat::ForegroundBrush:
            if (f.foreground().style() != Qt::SolidPattern)
                return false;
            break;
        default:
            return false;
        }
    }
    return true;
}

// What each character of the text allows, looked up once per character: drawn by the
// font itself (a fallback font would make its line taller), and its advance.
class Characters {
public:
    explicit Characters(const QFont& font) : m_metrics(font, Paginator::printDevice()) {}
    // False for a character that leaves the plain path; `width` adds its advance, or
    // becomes infinite where only shaping can tell (scripts that join or reorder).
    bool take(QChar c, double* width)
    {
        const ushort u = c.unicode();
        auto found = m_known.constFind(u);
        if (found == m_known.constEnd()) {
            double advance = -1; // refused
            if (u >= 0x20 && !c.isSurrogate() && u != QChar::ObjectReplacementCharacter
                && u != QChar::LineSeparator && u != 0xfdd0 && u != 0xfdd1
                && (u == ' ' || m_metrics.inFont(c))) {
                switch (c.script()) {
                case QChar::Script_Common:
                case QChar::Script_Inherited:
                case QChar::Script_Latin:
                case QChar::Script_Greek:
                case QChar::Script_Cyrillic:
                    advance = m_metrics.horizontalAdvance(c);
                    break;
                default:
                    advance = qInf();
                }
                const QChar::Direction dir = c.direction();
                if (dir == QChar::DirR || dir == QChar::DirAL || dir == QChar::DirAN || (dir >= QChar::DirLRE && dir <= QChar::DirPDF)
                    || dir >= QChar::DirLRI)
                    advance = -1; // right-to-left paragraphs align right
            }
            found = m_known.insert(u, advance);
        }
        if (*found < 0)
            return false;
        *width += *found;
        return true;
    }
    double em() const { return m_metrics.height(); }

private:
    QFontMetricsF m_metrics;
    QHash<ushort, double> m_known;
};

} // namespace

PlainPages::~PlainPages() = default;

std::unique_ptr<PlainPages> PlainPages::make(const QTextDocument* d, const PageGeometry& g)
{
    if (!d->rootFrame()->childFrames().isEmpty())
        return nullptr;
    // Formats are checked once each; the reader gives the first paragraph another block
    // format than the rest, so they are compared by what they do, not by their number.
    QHash<int, bool> blockFormats;
    int charFormat = -1;
    const QList<QTextFormat> formats = d->allFormats();
    auto sameChar = [&](int index) {
        if (index == charFormat)
            return true;
        const QTextCharFormat f = formats.value(index).toCharFormat();
        if (charFormat < 0) {
            charFormat = index;
            return plainCharFormat(f);
        }
        const QTextCharFormat first = formats.value(charFormat).toCharFormat();
        return plainCharFormat(f) && f.font() == first.font() && f.foreground() == first.foreground();
    };
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const int bf = b.blockFormatIndex();
        auto known = blockFormats.constFind(bf);
        if (known == blockFormats.constEnd())
            known = blockFormats.insert(bf, plainBlockFormat(b.blockFormat()) && !b.textList());
        if (!*known || !sameChar(b.charFormatIndex()))
            return nullptr;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (!sameChar(it.fragment().charFormatIndex()))
                return nullptr;
    }

    std::unique_ptr<PlainPages> pages(new PlainPages);
    pages->m_doc = d;
    const QTextCharFormat cf = formats.value(charFormat).toCharFormat();
    pages->m_font = QFont(cf.font().resolve(d->defaultFont()), Paginator::printDevice());
    pages->m_colour = cf.hasProperty(QTextFormat::ForegroundBrush) ? cf.foreground().color() : QColor(Qt::black);
    pages->m_option = d->defaultTextOption();
    pages->m_option.setFlags(pages->m_option.flags()
                             & ~(QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators));

    if (!pages->measure(cf, g) || !pages->breakLines())
        return nullptr;
    return pages;
}

bool PlainPages::measure(const QTextCharFormat& cf, const PageGeometry& g)
{
    // Documents of one kind (serial letters) are measured once, not once each.
    const QTextFrameFormat frame = m_doc->rootFrame()->frameFormat();
    const QString key = QStringLiteral("%1|%2|%3|%4 %5 %6 %7 %8 %9|%10 %11 %12 %13")
                            .arg(m_font.key(), m_doc->defaultFont().key())
                            .arg(int(m_option.wrapMode()))
                            .arg(g.width).arg(g.height).arg(g.marginL).arg(g.marginT).arg(g.marginR).arg(g.marginB)
                            .arg(frame.border()).arg(frame.padding()).arg(m_doc->documentMargin())
                            .arg(cf.properties().size());
    static QMutex lock;
    static QHash<QString, Measures> known;
    {
        const QMutexLocker locked(&lock);
        if (const auto found = known.constFind(key); found != known.constEnd()) {
            m_measures = *found;
            return true;
        }
    }
    // A few pages of one-line paragraphs laid out by Qt: where its lines stand.
    QTextDocument probe;
    probe.setDefaultFont(m_doc->defaultFont());
    probe.setDocumentMargin(m_doc->documentMargin());
    probe.setDefaultTextOption(m_option);
    probe.rootFrame()->setFrameFormat(frame);
    probe.setPageSize(QSizeF(0, 0));
    probe.documentLayout()->setPaintDevice(Paginator::printDevice());
    const double pageHeight = Paginator::pageSizePixels(g).height() * Paginator::layoutScale(&probe);
    const int lines = int(std::ceil(2.5 * pageHeight / qMax(1.0, QFontMetricsF(m_font).height()))) + 3;
    QTextCursor c(&probe);
    c.setBlockCharFormat(cf);
    for (int i = 0; i < lines; ++i) {
        if (i)
            c.insertBlock(QTextBlockFormat(), cf);
        c.insertText(QStringLiteral("x"), cf);
    }
    Paginator::paginate(&probe, g);
    Measures m;
    for (QTextBlock b = probe.begin(); b.isValid(); b = b.next()) {
        const QTextLine line = b.layout()->lineAt(0);
        const double top = b.layout()->position().y() + line.y();
        const int page = int(top / pageHeight);
        if (page == 0)
            m.firstTops.push_back(top);
        else if (page == 1)
            m.tops.push_back(top - pageHeight);
        if (b == probe.begin()) {
            m.x = b.layout()->position().x() + line.x();
            m.width = line.width();
        }
    }
    if (m.firstTops.empty() || m.tops.empty() || probe.pageCount() < 3)
        return false;
    m_measures = m;
    const QMutexLocker locked(&lock);
    known.insert(key, m);
    return true;
}

bool PlainPages::breakLines()
{
    Characters chars(m_font);
    // Kerning may widen a line a little; what stays well inside needs no shaping.
    const double room = m_measures.width - 2 * chars.em();
    m_lineStarts.reserve(size_t(m_doc->blockCount()));
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        double width = 0;
        for (QChar ch : text) {
            if (ch == QChar::Tabulation || ch.unicode() == 12)
                return false;
            if (!chars.take(ch, &width))
                return false;
        }
        if (width * 1.02 <= room) {
            m_lineStarts.push_back(b.position());
            continue;
        }
        const QTextLayout* l = layoutOf(b.blockNumber());
        for (int i = 0; i < l->lineCount(); ++i)
            m_lineStarts.push_back(b.position() + l->lineAt(i).textStart());
    }
    return true;
}

QTextLayout* PlainPages::layoutOf(int block) const
{
    if (m_layoutBlock == block)
        return m_layout.get();
    const QTextBlock b = m_doc->findBlockByNumber(block);
    m_layout = std::make_unique<QTextLayout>(b.text(), m_font, Paginator::printDevice());
    m_layout->setTextOption(m_option);
    m_layout->beginLayout();
    double y = 0;
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(m_measures.width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    m_layout->endLayout();
    m_layoutBlock = block;
    return m_layout.get();
}

int PlainPages::firstLineOf(int page) const
{
    if (page <= 1)
        return 0;
    return int(m_measures.firstTops.size() + (page - 2) * m_measures.tops.size());
}

int PlainPages::pageCount() const
{
    const int lines = int(m_lineStarts.size());
    const int first = int(m_measures.firstTops.size());
    if (lines <= first)
        return 1;
    const int per = int(m_measures.tops.size());
    return 1 + (lines - first + per - 1) / per;
}

int PlainPages::pageOfPosition(int pos) const
{
    const auto at = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
    const int line = qMax(0, int(at - m_lineStarts.begin()) - 1);
    const int first = int(m_measures.firstTops.size());
    return line < first ? 1 : 2 + (line - first) / int(m_measures.tops.size());
}

void PlainPages::paint(QPainter* p, int page) const
{
    if (page < 1 || page > pageCount())
        return;
    const std::vector<double>& tops = page == 1 ? m_measures.firstTops : m_measures.tops;
    const int from = firstLineOf(page);
    const int to = qMin(int(m_lineStarts.size()), from + int(tops.size()));
    const double scale = Paginator::PrintDpi / 96.0;
    p->save();
    p->scale(1 / scale, 1 / scale);
    p->setPen(m_colour);
    for (int i = from; i < to; ++i) {
        const int start = m_lineStarts[size_t(i)];
        const QTextBlock b = m_doc->findBlock(start);
        const double top = tops[size_t(i - from)];
        const bool whole = start == b.position()
                           && (i + 1 == int(m_lineStarts.size()) || m_lineStarts[size_t(i) + 1] >= b.position() + b.length());
        if (whole) {
            // A paragraph of one line, shaped here once as Qt would draw it.
            QTextLayout l(b.text(), m_font, Paginator::printDevice());
            l.setTextOption(m_option);
            l.beginLayout();
            l.createLine().setLineWidth(m_measures.width);
            l.endLayout();
            l.draw(p, QPointF(m_measures.x, top));
            continue;
        }
        const QTextLayout* l = layoutOf(b.blockNumber());
        const QTextLine line = l->lineForTextPosition(start - b.position());
        line.draw(p, QPointF(m_measures.x, top - line.y()));
    }
    p->restore();
}
