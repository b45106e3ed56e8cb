#include "SheetColumn.h"

#include "engine/Document.h"

#include <algorithm>

SheetColumn::SheetColumn(Paginator& paginator)
{
    // A body without sections: one copy on sheets of one size, whose pages are counted
    // only when asked (a long copy is laid out to its end to count them).
    if (!paginator.hasSections()) {
        Run run{paginator.printedAt(0)};
        run.size = Paginator::pageSizePixels(run.printed.page);
        m_width = run.size.width();
        m_runs.append(run);
        m_single = &paginator;
        return;
    }
    for (const Paginator::Printed& p : paginator.printedCopies()) {
        Run run{p};
        run.size = Paginator::pageSizePixels(p.page);
        m_width = std::max(m_width, run.size.width());
        m_runs.append(run);
    }
    double top = 0;
    for (Run& run : m_runs) {
        run.origin = QPointF((m_width - run.size.width()) / 2, top);
        top += run.printed.pages * run.size.height();
    }
}

int SheetColumn::pageCount() const
{
    if (m_single)
        return m_single->shownPageCount();
    const Run& last = m_runs.last();
    return last.printed.firstPage + last.printed.pages - 1;
}

double SheetColumn::height() const
{
    const int pages = pageCount();
    const Run& last = m_runs.last();
    return last.origin.y() + (pages - last.printed.firstPage + 1) * last.size.height();
}

const SheetColumn::Run& SheetColumn::runOf(int page) const
{
    auto it = std::upper_bound(m_runs.cbegin(), m_runs.cend(), page,
                               [](int p, const Run& r) { return p < r.printed.firstPage; });
    return it == m_runs.cbegin() ? m_runs.first() : *(it - 1);
}

QRectF SheetColumn::sheet(int page) const
{
    page = qBound(1, page, pageCount());
    const Run& run = runOf(page);
    const double top = run.origin.y() + (page - run.printed.firstPage) * run.size.height();
    return {QPointF(run.origin.x(), top), run.size};
}

const PageGeometry& SheetColumn::geometry(int page) const { return runOf(page).printed.page; }

int SheetColumn::pageAt(double y) const
{
    auto it = std::upper_bound(m_runs.cbegin(), m_runs.cend(), y, [](double at, const Run& r) { return at < r.origin.y(); });
    const Run& run = it == m_runs.cbegin() ? m_runs.first() : *(it - 1);
    const int local = std::max(0, int((y - run.origin.y()) / run.size.height()));
    return qBound(1, run.printed.firstPage + local, pageCount());
}

ShownLayout::Pieces SheetColumn::pieces() const
{
    ShownLayout::Pieces out;
    for (const Run& run : m_runs)
        out.append({run.printed.d, run.printed.offset, run.printed.end, run.origin,
                    Paginator::layoutScale(run.printed.d)});
    return out;
}
