#include "PrintCopy.h"

#include "engine/Document.h"
#include "engine/objects/Images.h"
#include "FirstSpacing.h"
#include "LineHeights.h"
#include "PaginatedCopy.h"
#include "SoftBreaks.h"
#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <iterator>

namespace PrintCopy {

namespace {

const char kPreparedDpi[] = "qx_preparedDpi";

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

} // namespace PrintCopy
