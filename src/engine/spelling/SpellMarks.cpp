#include "SpellMarks.h"

#include "SpellChecker.h"
#include "engine/EngineProperties.h"
#include "engine/pages/BlockBand.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
void (*g_setup)(TextControl*) = nullptr;

struct MarkData : QTextBlockUserData {
    QList<QPair<int, int>> words;
};

// A wave under x1..x2 at baseline-relative height y: what readers know from other programs.
void wave(QPainter* p, double x1, double x2, double y)
{
    const double step = 2.0;
    QPainterPath path(QPointF(x1, y));
    bool up = true;
    for (double x = x1 + step; x < x2 + step; x += step, up = !up)
        path.lineTo(qMin(x, x2), y + (up ? -1.0 : 1.0));
    p->drawPath(path);
}
// Edited paragraphs remembered one by one before a whole pass is the cheaper way.
constexpr int kMostPending = 200;
} // namespace

SpellMarks::SpellMarks(QTextDocument* doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SpellMarks::work);
    connect(doc, &QTextDocument::contentsChange, this, &SpellMarks::onContentsChange);
}

void SpellMarks::setSetup(void (*setup)(TextControl*)) { g_setup = setup; }

void SpellMarks::prepare(TextControl* editor)
{
    if (g_setup)
        g_setup(editor);
}

void SpellMarks::setChecker(SpellChecker* checker)
{
    m_checker = checker;
    recheckAll();
}

void SpellMarks::setEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    recheckAll();
}

void SpellMarks::recheckAll()
{
    m_pending.clear();
    m_scan = QTextCursor(m_doc->begin());
    m_timer.start(0);
}

void SpellMarks::onContentsChange(int pos, int removed, int added)
{
    // The edited paragraphs lose their marks at once, before they could stand beside
    // the wrong letters; they are checked again a moment after typing pauses.
    QTextBlock b = m_doc->findBlock(pos);
    const QTextBlock last = m_doc->findBlock(pos + added);
    // Every cursor kept here is moved by each later edit, so none is kept without a
    // checker (a surface written by the program), and each paragraph once.
    const bool checking = m_enabled && m_checker && m_checker->isValid();
    for (; b.isValid(); b = b.next()) {
        if (!marksOf(b).isEmpty())
            setMarks(b, {});
        if (checking && (m_pending.isEmpty() || m_pending.last().block() != b))
            m_pending.append(QTextCursor(b));
        if (b == last)
            break;
    }
    // Long edits between two idle moments: one pass over the document is cheaper.
    if (m_pending.size() > kMostPending) {
        m_pending.clear();
        m_scan = QTextCursor(m_doc->begin());
    }
    if (checking)
        m_timer.start(250);
}

void SpellMarks::work()
{
    QElapsedTimer clock;
    clock.start();
    int lastChecked = -1;
    // Slices of a few milliseconds keep the surface answering input.
    while (!isIdle() && clock.elapsed() < 8) {
        if (!m_pending.isEmpty()) {
            const QTextBlock b = m_pending.takeFirst().block();
            if (b.isValid() && b.blockNumber() != lastChecked) {
                check(b);
                lastChecked = b.blockNumber();
            }
            continue;
        }
        const QTextBlock b = m_scan.block();
        check(b);
        if (b.next().isValid())
            m_scan.setPosition(b.next().position());
        else
            m_scan = QTextCursor();
    }
    if (!isIdle())
        m_timer.start(0);
}

void SpellMarks::check(const QTextBlock& b)
{
    QList<QPair<int, int>> words;
    if (m_enabled && m_checker && m_checker->isValid())
        words = misspelt(b, m_checker);
    if (words != marksOf(b))
        setMarks(b, words);
}

QList<QPair<int, int>> SpellMarks::misspelt(const QTextBlock& b, SpellChecker* checker)
{
    QList<QPair<int, int>> fields;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().intProperty(EngineProperty::FieldId) > 0)
            fields.append({f.position() - b.position(), f.length()});
    }
    QList<QPair<int, int>> words;
    for (const SpellChecker::Word& w : checker->misspelt(b.text())) {
        const bool inField = std::any_of(fields.cbegin(), fields.cend(), [&w](const QPair<int, int>& f) {
            return w.start < f.first + f.second && f.first < w.start + w.length;
        });
        if (!inField)
            words.append({w.start, w.length});
    }
    return words;
}

QList<QPair<int, int>> SpellMarks::marksOf(const QTextBlock& b)
{
    if (const auto* data = dynamic_cast<const MarkData*>(b.userData()))
        return data->words;
    return {};
}

void SpellMarks::setMarks(const QTextBlock& b, const QList<QPair<int, int>>& words)
{
    QTextBlock block = b;
    auto* data = dynamic_cast<MarkData*>(block.userData());
    if (!data) {
        if (words.isEmpty())
            return;
        data = new MarkData;
        block.setUserData(data);
    } else if (data->words == words) {
        return; // a repaint of the whole view per keystroke would cost more than the check
    }
    data->words = words;
    Q_EMIT marksChanged();
}

void SpellMarks::paint(QPainter* p, const QRectF& clip, QTextDocument* shown, double scale, int offset) const
{
    // The marks live in the body's paragraphs; a copy with the same positions (less
    // `offset`, for a section's copy) may show them.
    QTextDocument* d = shown ? shown : m_doc;
    QAbstractTextDocumentLayout* docLayout = d->documentLayout();
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(QPen(Qt::red, 0.8));
    p->setBrush(Qt::NoBrush);
    // Found by bisection: a hit test walks a long document from its start on every paint.
    BlockBand::forEach(d, clip.top() * scale, clip.bottom() * scale, [&](const QTextBlock& b) {
        const QTextBlock own = d == m_doc ? b : m_doc->findBlock(b.position() + offset);
        const QList<QPair<int, int>> words = marksOf(own);
        const QTextLayout* layout = b.layout();
        if (words.isEmpty() || !layout || !b.isVisible())
            return true;
        const QPointF origin = docLayout->blockBoundingRect(b).topLeft();
        const int shift = own.position() - b.position() - offset; // a copy may break a paragraph in two
        for (const auto& [ownStart, length] : words) {
            const int start = ownStart + shift;
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const int from = qMax(start, line.textStart());
                const int to = qMin(start + length, line.textStart() + line.textLength());
                if (from >= to)
                    continue;
                // On whole pixels: a copy's letters stand between them, and a wave drawn
                // across pixel edges turns pale.
                const double y = qRound((origin.y() + line.y() + line.ascent()) / scale) + 2.0;
                wave(p, qRound((origin.x() + line.cursorToX(from)) / scale), qRound((origin.x() + line.cursorToX(to)) / scale), y);
            }
        }
        return true;
    });
    p->restore();
}

QTextCursor SpellMarks::markedWordAt(int pos) const
{
    const QTextBlock b = m_doc->findBlock(pos);
    const int at = pos - b.position();
    for (const auto& [start, length] : marksOf(b)) {
        if (at >= start && at <= start + length) {
            QTextCursor c(b);
            c.setPosition(b.position() + start);
            c.setPosition(b.position() + start + length, QTextCursor::KeepAnchor);
            return c;
        }
    }
    return {};
}

void SpellMarks::ignoreOnce(const QTextBlock& b, int start)
{
    QList<QPair<int, int>> words = marksOf(b);
    words.removeIf([start](const QPair<int, int>& w) { return w.first == start; });
    setMarks(b, words);
}
