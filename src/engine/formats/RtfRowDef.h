#pragma once
// The definition of one RTF table row (\trowd ... \cellx): cell boundaries, merges,
// shading, borders and the cell paddings. Rows state it anew each time; the sink
// turns the rows of a table into one QTextTable.

#include <QByteArray>
#include <QColor>
#include <QList>

struct RtfCellDef {
    int right = 0; // twips
    bool mergeFirst = false, merged = false;   // horizontal
    bool vMergeFirst = false, vMerged = false; // vertical
    QColor background;
    int borders = 0; // sides with a visible border: 1 top, 2 left, 4 bottom, 8 right
};

struct RtfRowDef {
    QList<RtfCellDef> cells;
    int left = 0; // twips
    // Cell paddings in twips, -1 where the row does not say: left, top, right, bottom.
    int padding[4] = {-1, -1, -1, -1};
    int gap = -1; // \trgaph, half the space between cells: the side padding of old files
    int rowBorders = 0; // borders of the row as a whole (\trbrdr...)

    // Takes a row-definition control word; false when `w` is none. `colors` is the
    // colour table for shading.
    bool word(const QByteArray& w, int param, bool hasParam, const QList<QColor>& colors);
    bool hasBorders() const;
    // The padding of a side (0 left, 1 top, 2 right, 3 bottom) in twips: what the row
    // says, else the gap for the sides, else Word's defaults (108 at the sides).
    int paddingOf(int side) const;

private:
    RtfCellDef m_pending;
    int* borderMask();
    enum class Side { None, Cell, Row } m_side = Side::None; // named by the last \clbrdr / \trbrdr
    int m_sideBit = 0;
    int m_paddingUnit[4] = {-1, -1, -1, -1};
    int m_paddingValue[4] = {0, 0, 0, 0};
};
