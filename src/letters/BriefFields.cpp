#include "BriefFields.h"

#include "LetterInput.h"

#include "app/Folders.h"
#include "app/WrittenRecord.h"

namespace BriefFields {

QString clamped(const QString& text, int lo, int hi)
{
    const double v = LetterInput::numericText(text).toDouble();
    if (v > hi)
        return QString::number(hi);
    if (v < lo)
        return QString::number(lo);
    return text;
}

bool digitsOnly(const QString& text)
{
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

qint64 handedOverRecord(const QString& startOption)
{
    return qint64(LetterInput::numericText(startOption).toDouble());
}

bool needsSmallLayout(int screenWidth, double dotsPerInch)
{
    return screenWidth == 800 && dotsPerInch > 0 && 1440.0 / dotsPerInch < 15.0;
}

} // namespace BriefFields
