#include "PlainPages.h"

#include "engine/Document.h"
#include "LineHeights.h"
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

} // namespace

// What each character of the text allows, looked up once per character: drawn by the
// font itself (a fallback font would make its line taller), and its advance.
class PlainPages::Characters {
public:
    explicit Characters(const QFont& font) : m_metrics(font, Paginator::printDevice()), m_known(0x10000, kUnknown) {}
    // False for a character that leaves the plain path; `width` adds its advance, or
    // becomes infinite where only shaping can tell (scripts that join or reorder).
    bool take(QChar c, double* width)
    {
        double& known = m_known[c.unicode()];
        if (known == kUnknown)
            known = advance(c);
        if (known < 0)
            return false;
        *width += known;
        return true;
    }
    double em() const { return m_metrics.height(); }

private:
    static constexpr double kUnknown = -2;
    double advance(QChar c) const
    {
        const ushort u = c.unicode();
        if (u < 0x20 || c.isSurrogate() || u == QChar::ObjectReplacementCharacter || u == QChar::LineSeparator
            || u == 0xfdd0 || u == 0xfdd1 || (u != ' ' && !m_metrics.inFont(c)))
            return -1;
        const QChar::Direction dir = c.direction();
        if (dir == QChar::DirR || dir == QChar::DirAL || dir == QChar::DirAN || (dir >= QChar::DirLRE && dir <= QChar::DirPDF)
            || dir >= QChar::DirLRI)
            return -1; // right-to-left paragraphs align right
        switch (c.script()) {
        case QChar::Script_Common:
        case QChar::Script_Inherited:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
            return m_metrics.horizontalAdvance(c);
        default:
            return qInf();
        }
    }

    QFontMetricsF m_metrics;
    std::vector<double> m_known; // by UTF-16 code
};

PlainPages::PlainPages() = default;
PlainPages::~PlainPages() = default;

bool PlainPages::plainFormats(const QTextBlock& b)
{
    const int bf = b.blockFormatIndex();
    auto known = m_plainBlockFormats.constFind(bf);
    if (known == m_plainBlockFormats.constEnd())
        known = m_plainBlockFormats.insert(bf, plainBlockFormat(b.blockFormat()) && !b.textList());
    if (!*known)
        return false;
    // The reader gives the first paragraph another block format than the rest, so
    // formats are compared by what they do, not by their number.
    if (!sameCharFormat(b.charFormatIndex(), [&] { return b.charFormat(); }))
        return false;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (!sameCharFormat(f.charFormatIndex(), [&] { return f.charFormat(); }))
            return false;
    }
    return true;
}

template<typename FormatOf>
bool PlainPages::sameCharFormat(int index, FormatOf formatOf)
{
    auto found = m_plainCharFormats.constFind(index);
    if (found != m_plainCharFormats.constEnd())
        return *found;
    const QTextCharFormat f = formatOf();
    bool plain = plainCharFormat(f);
    if (!m_haveFormat) {
        m_haveFormat = true;
        m_charFormat = f;
    } else {
        plain = plain && f.font() == m_charFormat.font() && f.foreground() == m_charFormat.foreground();
    }
    m_plainCharFormats.insert(index, plain);
    return plain;
}

bool PlainPages::plainCollection()
{
    // The root frame's format is there in every document; other frames were refused.
    const QList<QTextFormat> formats = m_doc->allFormats();
    for (int i = 0; i < int(formats.size()); ++i) {
        const QTextFormat& f = formats.at(i);
        if (f.isFrameFormat())
            continue;
        if (f.isBlockFormat() ? !plainBlockFormat(f.toBlockFormat()) : !f.isCharFormat() || !sameCharFormat(i, [&] { return f.toCharFormat(); }))
            return false;
    }
    return m_haveFormat;
}

std::unique_ptr<PlainPages> PlainPages::make(const QTextDocument* d, const PageGeometry& g)
{
    if (!d->rootFrame()->childFrames().isEmpty())
        return nullptr;
    std::unique_ptr<PlainPages> pages(new PlainPages);
    pages->m_doc = d;
    // Every format the document holds is plain, and alike: no paragraph needs a look.
    if (!pages->plainCollection()) {
        pages->m_haveFormat = false;
        pages->m_plainCharFormats.clear();
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
            if (!pages->plainFormats(b))
                return nullptr;
    }

    const QTextCharFormat& cf = pages->m_charFormat;
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
    // Lines as high as the printed copy makes them for this font.
    LineHeights::match(&probe);
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
            m.height = line.height();
        }
    }
    m.pageHeight = pageHeight;
    if (m.firstTops.empty() || m.tops.empty() || probe.pageCount() < 3)
        return false;
    m_measures = m;
    const QMutexLocker locked(&lock);
    known.insert(key, m);
    return true;
}

bool PlainPages::breakLines()
{
    m_chars = std::make_unique<Characters>(m_font);
    // Kerning may widen a line a little; what stays well inside needs no shaping.
    m_room = m_measures.width - 2 * m_chars->em();
    m_lineStarts.reserve(size_t(m_doc->blockCount()));
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next())
        if (!breakBlock(b, &m_lineStarts))
            return false;
    return true;
}

bool PlainPages::breakBlock(const QTextBlock& b, std::vector<int>* starts)
{
    const QString text = b.text();
    double width = 0;
    for (QChar ch : text) {
        if (ch == QChar::Tabulation || ch.unicode() == 12)
            return false;
        if (!m_chars->take(ch, &width))
            return false;
    }
    if (width * 1.02 <= m_room) {
        starts->push_back(b.position());
        return true;
    }
    const QTextLayout* l = layoutOf(b);
    for (int i = 0; i < l->lineCount(); ++i)
        starts->push_back(b.position() + l->lineAt(i).textStart());
    return true;
}

bool PlainPages::update(int pos, int removed, int added)
{
    m_layoutBlock = -1; // block numbers may have moved
    const QTextBlock first = m_doc->findBlock(pos);
    QTextBlock last = m_doc->findBlock(pos + added);
    if (!last.isValid())
        last = m_doc->lastBlock();
    if (!first.isValid() || !last.isValid())
        return false;
    // The paragraphs from `first` to `last` replace those that stood there, up to the
    // same end before the edit.
    const int delta = added - removed;
    const int start = first.position();
    const int oldEnd = last.position() + last.length() - delta;
    std::vector<int> fresh;
    for (QTextBlock b = first;; b = b.next()) {
        if (!plainFormats(b) || !breakBlock(b, &fresh))
            return false;
        if (b == last)
            break;
    }
    const auto from = std::lower_bound(m_lineStarts.begin(), m_lineStarts.end(), start);
    const auto to = std::lower_bound(from, m_lineStarts.end(), oldEnd);
    const size_t at = size_t(from - m_lineStarts.begin());
    if (size_t(to - from) == fresh.size()) {
        std::copy(fresh.begin(), fresh.end(), from);
    } else {
        m_lineStarts.erase(from, to);
        m_lineStarts.insert(m_lineStarts.begin() + qsizetype(at), fresh.begin(), fresh.end());
    }
    if (delta != 0)
        for (auto it = m_lineStarts.begin() + qsizetype(at + fresh.size()); it != m_lineStarts.end(); ++it)
            *it += delta;
    return true;
}

QTextLayout* PlainPages::layoutOf(const QTextBlock& b) const
{
    const int block = b.blockNumber();
    if (m_layoutBlock == block)
        return m_layout.get();
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

int PlainPages::layOutBlock(const QTextBlock& b) const
{
    QTextLayout* l = b.layout();
    if (!l || l->lineCount() > 0)
        return 0;
    const int first = lineOfPosition(b.position());
    const double top = lineTop(first);
    l->setTextOption(m_option);
    l->beginLayout();
    for (QTextLine line = l->createLine(); line.isValid(); line = l->createLine()) {
        line.setLeadingIncluded(true); // as the document layout has it: the caret's height
        line.setLineWidth(m_measures.width);
        line.setPosition(QPointF(0, lineTop(lineOfPosition(b.position() + line.textStart())) - top));
    }
    l->endLayout();
    return l->lineCount();
}

int PlainPages::lineOfPosition(int pos) const
{
    const auto at = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
    return qMax(0, int(at - m_lineStarts.begin()) - 1);
}

double PlainPages::lineTop(int line) const
{
    const int first = int(m_measures.firstTops.size());
    if (line < first)
        return m_measures.firstTops[size_t(qMax(0, line))];
    const int per = int(m_measures.tops.size());
    const int page = 1 + (line - first) / per;
    return page * m_measures.pageHeight + m_measures.tops[size_t((line - first) % per)];
}

int PlainPages::lineAt(double y) const
{
    const int page = qBound(0, int(std::floor(y / m_measures.pageHeight)), pageCount() - 1);
    const std::vector<double>& tops = page == 0 ? m_measures.firstTops : m_measures.tops;
    const double local = y - page * m_measures.pageHeight;
    const int k = int(std::upper_bound(tops.begin(), tops.end(), local) - tops.begin()) - 1;
    return qBound(0, firstLineOf(page + 1) + qMax(0, k), lineCount() - 1);
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
    const int line = lineOfPosition(pos);
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
        const QTextLayout* l = layoutOf(b);
        const QTextLine line = l->lineForTextPosition(start - b.position());
        line.draw(p, QPointF(m_measures.x, top - line.y()));
    }
    p->restore();
}
