#include "TabStops.h"

#include "engine/Document.h"

#include <QTextDocument>
#include <algorithm>

int TabStops::typeCode(QTextOption::TabType t)
{
    switch (t) {
    case QTextOption::RightTab: return 2;
    case QTextOption::CenterTab: return 3;
    case QTextOption::DelimiterTab: return 4;
    default: return 1;
    }
}

QTextOption::Tab TabStops::make(int twips, int type)
{
    const double px = Document::twipsToPixels(qMax(0, twips));
    switch (type) {
    case 2: return QTextOption::Tab(px, QTextOption::RightTab);
    case 3: return QTextOption::Tab(px, QTextOption::CenterTab);
    case 4: return QTextOption::Tab(px, QTextOption::DelimiterTab, QLatin1Char(','));
    default: return QTextOption::Tab(px, QTextOption::LeftTab);
    }
}

int TabStops::twips(const QTextOption::Tab& t) { return qRound(Document::pixelsToTwips(t.position)); }

void TabStops::sort(QList<QTextOption::Tab>& tabs)
{
    std::stable_sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab& a, const QTextOption::Tab& b) {
        return a.position < b.position;
    });
}

int TabStops::indexAt(const QList<QTextOption::Tab>& tabs, int twips)
{
    const double px = Document::twipsToPixels(twips);
    for (int i = 0; i < tabs.size(); ++i)
        if (qAbs(tabs.at(i).position - px) < 0.5)
            return i;
    return -1;
}

namespace {
QList<QTextOption::Tab> shifted(QList<QTextOption::Tab> tabs, double by)
{
    for (QTextOption::Tab& t : tabs)
        t.position += by;
    return tabs;
}
} // namespace

double TabStops::firstLineStart(const QTextBlockFormat& f) { return f.leftMargin() + f.textIndent(); }

QList<QTextOption::Tab> TabStops::fromMargin(const QTextBlockFormat& f)
{
    return shifted(f.tabPositions(), firstLineStart(f));
}

void TabStops::setFromMargin(QTextBlockFormat& f, const QList<QTextOption::Tab>& tabs)
{
    QList<QTextOption::Tab> sorted = tabs;
    sort(sorted);
    f.setTabPositions(shifted(sorted, -firstLineStart(f)));
}

int TabStops::defaultDistance(const QTextDocument* d)
{
    const double px = d ? d->defaultTextOption().tabStopDistance() : 0;
    return qRound(Document::pixelsToTwips(px > 0 ? px : 80));
}

void TabStops::setDefaultDistance(QTextDocument* d, int twips)
{
    if (!d || twips <= 0 || defaultDistance(d) == twips)
        return;
    QTextOption o = d->defaultTextOption();
    o.setTabStopDistance(Document::twipsToPixels(twips));
    d->setDefaultTextOption(o);
}

void TabStops::keepOnPage(QTextBlockFormat& f, const QTextBlockFormat& before)
{
    const double oldStart = firstLineStart(before);
    if (!f.tabPositions().isEmpty() && firstLineStart(f) != oldStart)
        f.setTabPositions(shifted(f.tabPositions(), oldStart - firstLineStart(f)));
}
