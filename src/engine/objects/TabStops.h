#pragma once
// Tab stops as the editing surface numbers them: types 1 left, 2 right, 3 centre,
// 4 decimal (on the German decimal comma); positions in twips. Qt keeps them in
// pixels at 96 dpi and needs them sorted.

#include <QList>
#include <QTextFormat>
#include <QTextOption>

class QTextDocument;

class TabStops {
public:
    static int typeCode(QTextOption::TabType t);
    static QTextOption::Tab make(int twips, int type);
    static int twips(const QTextOption::Tab& t);
    static void sort(QList<QTextOption::Tab>& tabs);
    // Index of the stop at `twips` (within half a pixel), -1 when there is none.
    static int indexAt(const QList<QTextOption::Tab>& tabs, int twips);

    // Stops count from the page margin (ruler, TabPos, files); Qt counts them from where
    // each line starts, so the first line (left indent plus first-line indent) is the
    // one they are kept against: a stop falls where the ruler shows it on the first
    // line; later lines of a paragraph with a first-line indent are off by that indent.
    // The block format holds Qt's positions: these two convert.
    static QList<QTextOption::Tab> fromMargin(const QTextBlockFormat& f);
    static void setFromMargin(QTextBlockFormat& f, const QList<QTextOption::Tab>& tabs);
    // Distance of the default stops that follow the set ones, twips (Qt's own: 80
    // pixels, 2.12 cm, also for no document); setting it keeps the other text options.
    static int defaultDistance(const QTextDocument* d);
    static void setDefaultDistance(QTextDocument* d, int twips);

    // Pixels from the margin to where the first line starts.
    static double firstLineStart(const QTextBlockFormat& f);
    // After the indents changed from those of `before` the stops keep their place.
    static void keepOnPage(QTextBlockFormat& f, const QTextBlockFormat& before);
};
