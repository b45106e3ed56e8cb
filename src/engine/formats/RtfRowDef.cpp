#include "RtfRowDef.h"

#include <QtGlobal>

bool RtfRowDef::word(const QByteArray& w, int p, bool hasParam, const QList<QColor>& colors)
{
    if (w == "trowd") {
        *this = RtfRowDef();
        return true;
    }
    if (w == "trleft") { left = qBound(-31680, p, 31680); return true; }
    if (w == "trgaph") { gap = qBound(0, p, 31680); return true; }
    if (w == "clmgf") { m_pending.mergeFirst = true; return true; }
    if (w == "clmrg") { m_pending.merged = true; return true; }
    if (w == "clvmgf") { m_pending.vMergeFirst = true; return true; }
    if (w == "clvmrg") { m_pending.vMerged = true; return true; }
    if (w == "clcbpat") { m_pending.background = colors.value(p); return true; }
    if (w == "cellx") {
        if (cells.size() < 64) {
            m_pending.right = qBound(-31680, p, 31680 * 4);
            cells << m_pending;
        }
        m_pending = RtfCellDef();
        m_side = Side::None;
        return true;
    }

    // Paddings: \trpaddl etc. give the value, \trpaddfl etc. its unit (3 twips, 0 none).
    static const char* const paddingWords[4] = {"trpaddl", "trpaddt", "trpaddr", "trpaddb"};
    static const char* const unitWords[4] = {"trpaddfl", "trpaddft", "trpaddfr", "trpaddfb"};
    for (int side = 0; side < 4; ++side) {
        if (w == paddingWords[side] || w == unitWords[side]) {
            if (w == paddingWords[side])
                m_paddingValue[side] = qBound(0, p, 31680);
            else
                m_paddingUnit[side] = p;
            // A value without a unit counts as twips; unit 0 says "no padding stated".
            padding[side] = m_paddingUnit[side] == 0 ? -1 : m_paddingValue[side];
            return true;
        }
    }

    // Borders: a side word names the side, the border words after it say whether it shows.
    static const char* const cellSides[4] = {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"};
    static const char* const rowSides[6] = {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv"};
    for (int side = 0; side < 4; ++side)
        if (w == cellSides[side]) {
            m_side = Side::Cell;
            m_sideBit = 1 << side;
            *borderMask() |= m_sideBit;
            return true;
        }
    for (int side = 0; side < 6; ++side)
        if (w == rowSides[side]) {
            m_side = Side::Row;
            m_sideBit = 1 << side;
            *borderMask() |= m_sideBit;
            return true;
        }
    if (m_side != Side::None
        && (w == "brdrnone" || w == "brdrtbl" || w == "brdrnil" || (w == "brdrw" && hasParam && p <= 0))) {
        *borderMask() &= ~m_sideBit;
        return true;
    }
    return false;
}

int* RtfRowDef::borderMask()
{
    return m_side == Side::Row ? &rowBorders : &m_pending.borders;
}

bool RtfRowDef::hasBorders() const
{
    if (rowBorders)
        return true;
    for (const RtfCellDef& c : cells)
        if (c.borders)
            return true;
    return false;
}

int RtfRowDef::paddingOf(int side) const
{
    if (padding[side] >= 0)
        return padding[side];
    const bool horizontal = side == 0 || side == 2;
    if (!horizontal)
        return 0;
    return gap >= 0 ? gap : 108;
}
