#include "PrintCopy.h"

#include "engine/Document.h"
#include "engine/objects/Images.h"
#include "FirstSpacing.h"
#include "LineHeights.h"
#include "PaginatedCopy.h"
#include "SoftBreaks.h"
#include "Paginator.h"
#include "engine/Sections.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <iterator>

namespace PrintCopy {

namespace {

const char kPreparedDpi[] = "qx_preparedDpi";
const char kLaidOutDpi[] = "qx_laidOutDpi";

const int* dpiStep(int dpi)
{
    const int* at = std::find(std::begin(Paginator::PrintDpis), std::end(Paginator::PrintDpis), dpi);
    return at == std::end(Paginator::PrintDpis) ? std::begin(Paginator::PrintDpis) : at;
}

void keepGlyphs(QTextDocument* copy)
{
    // Qt drops a paragraph's shaped glyphs once it is laid out and shapes its text again
    // to draw it. A copy of a letter's length keeps them (a few bytes a character).
    if (copy->characterCount() > 100000)
        return;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
        b.layout()->setCacheEnabled(true);
}

void setUp(QTextDocument* copy, int dpi)
{
    copy->documentLayout()->setPaintDevice(Paginator::printDevice(dpi));
    // Before anything lays the copy out: objects keep the size they were laid out with.
    Images::installHandlers(copy);
    PaginatedCopy::scaleIndents(copy, Paginator::layoutScale(copy));
    LineHeights::match(copy);
    FirstSpacing::reserve(copy);
    keepGlyphs(copy);
}

// Lets another thread paint `d`, laid out here. Each paragraph's layout keeps the font
// engine it last shaped with, and engines belong to the thread that made them: a
// relayout there (page-number digits) would shape with this thread's engine while
// this thread uses it. Drawing takes the engines of the thread that draws.
void handOver(QTextDocument* d)
{
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        if (QTextLayout* l = b.layout())
            l->setFont(l->font()); // the same font; only the engine it kept is let go
    // A long document is laid out in steps by timers of this thread's event loop, and its
    // size reported by another; moved with pending timers, the layout could not stop
    // them on the other thread. The layout is complete, so the steps have nothing to do.
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    for (int round = 0; events && round < 4; ++round) {
        const QList<QAbstractEventDispatcher::TimerInfo> timers = events->registeredTimers(layout);
        if (timers.isEmpty())
            break;
        for (const QAbstractEventDispatcher::TimerInfo& t : timers) {
            QTimerEvent e(t.timerId);
            QCoreApplication::sendEvent(layout, &e);
        }
    }
}

} // namespace

int prepare(QTextDocument* copy, const PageGeometry& g, int dpi)
{
    // A copy estimated too long for a resolution starts at a coarser one, so that it is
    // laid out once (each layout of a long copy costs as much as the printing).
    const int* at = std::max(dpiStep(dpi), dpiStep(Paginator::printDpiFor(copy, g)));
    SoftBreaks::split(copy);
    // Office programs' paragraph spacing does not depend on the resolution: added once.
    PaginatedCopy::addSpacing(copy);
    setUp(copy, *at);
    return *at;
}

int layOut(QTextDocument* copy, const PageGeometry& g, int dpi)
{
    for (const int* at = dpiStep(dpi);; ++at) {
        Paginator::paginate(copy, g);
        if (at + 1 == std::end(Paginator::PrintDpis) || !Paginator::layoutWrapped(copy)) {
            FirstSpacing::apply(copy);
            return *at;
        }
        PaginatedCopy::scaleIndents(copy, 1 / Paginator::layoutScale(copy)); // back to pixels
        setUp(copy, at[1]);
    }
}

void prepare(Document& copy)
{
    QTextDocument* body = copy.body();
    Paginator::holdLayout(body);
    body->setUndoRedoEnabled(false);
    Paginator::breakAtFormFeeds(body);
    // The page without its headers and footers: measuring them would lay them out with
    // this thread's fonts, and they are painted on another. This only picks the
    // resolution; a layout that wraps still falls back to a coarser one.
    body->setProperty(kPreparedDpi, prepare(body, copy.page(), Paginator::PrintDpi));
}

int preparedDpi(const QTextDocument* body)
{
    return body->property(kPreparedDpi).toInt();
}

void layOut(Document& copy)
{
    QTextDocument* body = copy.body();
    const int dpi = preparedDpi(body);
    if (dpi <= 0 || Sections::any(body))
        return;
    // The page as the Paginator finds it: headers and footers are measured here too.
    body->setProperty(kLaidOutDpi, layOut(body, Paginator::bodyGeometry(copy), dpi));
    handOver(body);
    for (int part : {1, 2, 4, 8})
        if (QTextDocument* d = copy.headerFooter(part))
            handOver(d);
}

int laidOutDpi(const QTextDocument* body)
{
    return body->property(kLaidOutDpi).toInt();
}

} // namespace PrintCopy
