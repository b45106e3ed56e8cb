#include "PagePrinter.h"

#include "engine/Document.h"
#include "Paginator.h"
#include "engine/spelling/AutoHyphens.h"

#include <QPainter>
#include <QPrinter>

namespace PagePrinter {

namespace {
Progress& progressSlot()
{
    static Progress p;
    return p;
}
bool g_cancelled = false;

void setPageSize(QPrinter* printer, const PageGeometry& g)
{
    const QPageSize size(QSizeF(g.width / 20.0, g.height / 20.0), QPageSize::Point);
    if (!printer->pageLayout().pageSize().isEquivalentTo(size))
        printer->setPageSize(size);
}
} // namespace

void setProgress(Progress progress) { progressSlot() = std::move(progress); }

bool lastCancelled() { return g_cancelled; }

bool print(Paginator& pages, QPrinter* printer, const QString& docName, int first, int last,
           int copies)
{
    g_cancelled = false;
    pages.document()->hyphens()->settle(); // the last keystroke's hyphens are printed too
    const int count = pages.pageCount();
    first = qBound(1, first <= 0 ? 1 : first, count);
    last = last <= 0 ? count : qBound(first, last, count);
    copies = qMax(1, copies);
    if (copies > 1)
        printer->setCopyCount(1);
    printer->setDocName(docName);
    printer->setFullPage(true);
    setPageSize(printer, pages.pageGeometry(first));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    QPainter p;
    if (!p.begin(printer))
        return false;
    const double scale = printer->resolution() / 96.0;
    const int sheets = (last - first + 1) * copies;
    const Progress progress = progressSlot();
    int sheet = 0;
    for (int c = 0; c < copies; ++c) {
        for (int page = first; page <= last; ++page) {
            ++sheet;
            if (progress && !progress(sheet, sheets)) {
                g_cancelled = true;
                printer->abort();
                p.end();
                return false;
            }
            if (sheet > 1) {
                // Sections bring pages of their own size and orientation.
                setPageSize(printer, pages.pageGeometry(page));
                printer->newPage();
            }
            p.save();
            p.scale(scale, scale);
            pages.paintPage(&p, page);
            p.restore();
        }
    }
    return p.end();
}

} // namespace PagePrinter
