#include "EnvelopeLayout.h"

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/objects/Tables.h"
#include "engine/surface/TextControl.h"
#include "letters/LetterTables.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

namespace EnvelopeLayout {

const std::array<Format, 3>& formats()
{
    static const std::array<Format, 3> list{{
        {QStringLiteral("C6   162 x 114 mm"), 9185, 6464, 567, BarcodeZone, 284, 284, 9, 4},
        // The window of DIN 680 at 50 to 95 mm from the top edge.
        {QStringLiteral("DL    220 x 110 mm"), 12474, 6237, 567, BarcodeZone, 567, 567, 8, 7, 2835, 5387},
        {QStringLiteral("E5    220 x 155 mm"), 12474, 8788, 567, BarcodeZone, 284, 284, 15, 0},
    }};
    return list;
}

Format customFormat(int widthMm, int heightMm)
{
    Format f;
    if (widthMm < MinMm || widthMm > MaxMm || heightMm < MinMm || heightMm > MaxMm)
        return f;
    f.listText = QStringLiteral("%1 x %2 mm").arg(widthMm).arg(heightMm);
    f.width = widthMm * 567 / 10;
    f.height = heightMm * 567 / 10;
    f.marginT = 567;
    f.marginB = BarcodeZone;
    f.marginL = f.marginR = 284;
    f.lineBreaks = 8;
    return f;
}

QStringList senderRows(const Sender& s)
{
    QString second = s.street;
    if (s.street.isEmpty())
        second = s.postBox;
    else if (!s.postBox.isEmpty())
        second = s.street + QLatin1Char(' ') + s.postBox;
    return {s.name, second, s.place};
}

QString countryLine(const QString& countryCode, const QString& country)
{
    const QString code = countryCode.trimmed().toUpper();
    if (code == u"D" || country.trimmed().isEmpty() || (code.isEmpty() && country.trimmed().toLower() == u"deutschland"))
        return {};
    return country.trimmed().toUpper();
}

QStringList recipientRows(const Recipient& r)
{
    QStringList rows;
    if (const QString above = LetterTables::titleLine(r.title); !above.isEmpty())
        rows << above;
    rows << r.firstName + QLatin1Char(' ') + r.lastName;
    if (!r.contact.isEmpty())
        rows << QStringLiteral("zHd. ") + r.contactTitle + QLatin1Char(' ') + r.contact;
    rows << r.street << r.postCode + QLatin1Char(' ') + r.town;
    if (const QString country = countryLine(r.countryCode, r.country); !country.isEmpty())
        rows << country;
    while (rows.size() < 6)
        rows << QString();
    return rows;
}

namespace {

// Top and bottom of a table on the printed page, twips from the top edge.
std::pair<int, int> tableSpan(TextControl& s, int id)
{
    QTextDocument* d = s.paginator()->layoutDocument();
    QTextTable* t = Tables::find(d, id);
    if (!t)
        return {0, 0};
    const QRectF r = d->documentLayout()->frameBoundingRect(t);
    const double twipsPerUnit = Document::pixelsToTwips(1) / Paginator::layoutScale(d);
    return {qRound(r.top() * twipsPerUnit), qRound(r.bottom() * twipsPerUnit)};
}

// Takes `rise` twips out of the empty lines between the sender and the address table
// by giving them a fixed, smaller height.
void raiseAddressTable(QTextDocument* body, int rise)
{
    const QTextTable* from = Tables::find(body, SenderTable);
    const QTextTable* to = Tables::find(body, AddressTable);
    if (!from || !to)
        return;
    QList<QTextBlock> gap;
    for (QTextBlock b = body->findBlock(from->lastPosition() + 1); b.isValid() && b.position() < to->firstPosition();
         b = b.next())
        if (!QTextCursor(b).currentTable())
            gap.append(b);
    if (gap.isEmpty())
        return;
    double height = 0;
    for (const QTextBlock& b : std::as_const(gap))
        height += body->documentLayout()->blockBoundingRect(b).height();
    const double each = qMax(0.0, (height - Document::twipsToPixels(rise)) / gap.size());
    QTextBlockFormat f;
    f.setLineHeight(each, QTextBlockFormat::FixedHeight);
    for (const QTextBlock& b : std::as_const(gap))
        QTextCursor(b).mergeBlockFormat(f);
}

void setAddressPoints(QTextDocument* body, double points)
{
    const QTextTable* t = Tables::find(body, AddressTable);
    if (!t)
        return;
    QTextCursor c(body);
    c.setPosition(t->firstPosition());
    c.setPosition(t->lastPosition(), QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setFontPointSize(points);
    c.mergeCharFormat(f);
    c.mergeBlockCharFormat(f); // empty rows keep their height from here
}

void fitIntoWindow(TextControl& s, const Format& f)
{
    if (f.windowBottom <= 0)
        return;
    // Half a millimetre from the window's edges: some glyphs reach beyond their line.
    const int windowTop = f.windowTop + 28, windowBottom = f.windowBottom - 28;
    const auto [top, bottom] = tableSpan(s, AddressTable);
    if (bottom <= windowBottom)
        return;
    if (const int rise = qMin(bottom - windowBottom, top - windowTop); rise > 0)
        raiseAddressTable(s.doc()->body(), rise);
    for (double points = 11; points >= MinRecipientPoints && tableSpan(s, AddressTable).second > windowBottom;
         --points)
        setAddressPoints(s.doc()->body(), points);
}

} // namespace

void build(TextControl& s, const Format& f, const Sender& sender, const Recipient& recipient, bool bold)
{
    if (f.width <= 0 || f.height <= 0)
        return;
    if (bold)
        s.setFontBold(true);
    s.setPageWidth(f.width);
    s.setPageHeight(f.height);
    s.setPageMarginB(f.marginB);
    s.setPageMarginL(f.marginL);
    s.setPageMarginR(f.marginR);
    s.setPageMarginT(f.marginT);
    s.setZoomFactor(100);
    s.setFontSize(7);
    s.TableInsert(3, 1, -1, SenderTable);
    s.setFontSize(12);
    s.setSelText(QStringLiteral("\r\n").repeated(f.lineBreaks));
    s.TableInsert(6, 2, -1, AddressTable);
    const QStringList from = senderRows(sender);
    for (int row = 0; row < from.size(); ++row)
        s.setTableCellText(SenderTable, row + 1, 1, from[row]);
    const QStringList to = recipientRows(recipient);
    for (int row = 0; row < to.size(); ++row)
        s.setTableCellText(AddressTable, row + 1, 2, to[row]);
    fitIntoWindow(s, f);
    if (f.finalFontSize > 0)
        s.setFontSize(f.finalFontSize);
}

} // namespace EnvelopeLayout
