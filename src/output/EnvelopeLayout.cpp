#include "EnvelopeLayout.h"

#include "engine/TextControl.h"

namespace EnvelopeLayout {

const std::array<Format, 3>& formats()
{
    static const std::array<Format, 3> list{{
        {QStringLiteral("C6   162 x 114 mm"), 9185, 6464, 567, 567, 284, 284, 9, 4},
        {QStringLiteral("DL    220 x 110 mm"), 12474, 6237, 567, 567, 567, 567, 8, 7},
        {QStringLiteral("E5    220 x 155 mm"), 12474, 8788, 567, 567, 284, 284, 15, 0},
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
    f.marginT = f.marginB = 567;
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

QStringList recipientRows(const Recipient& r)
{
    const QString name = r.firstName + QLatin1Char(' ') + r.lastName;
    const QString place = r.postCode + QLatin1Char(' ') + r.town;
    if (r.contact.isEmpty())
        return {r.title, name, r.street, QString(), place, QString()};
    return {r.title, name, QStringLiteral("zHd. ") + r.contactTitle + QLatin1Char(' ') + r.contact, r.street,
            QString(), place};
}

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
    if (f.finalFontSize > 0)
        s.setFontSize(f.finalFontSize);
}

} // namespace EnvelopeLayout
