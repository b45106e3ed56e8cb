#include "BriefFields.h"

#include "LetterInput.h"

#include "app/Folders.h"
#include "app/WrittenRecord.h"

namespace BriefFields {

namespace {
QString fontFile(const QString& workFolder) { return Folders::withSlash(workFolder) + QStringLiteral("FontText.txt"); }
} // namespace

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

bool readTextFont(const QString& workFolder, TextFont* font)
{
    if (!Folders::fileExists(fontFile(workFolder)))
        return false;
    bool ok = false;
    WrittenRecordReader r = WrittenRecordReader::fromFile(fontFile(workFolder), &ok);
    if (!ok || r.atEnd())
        return false;
    font->Name = r.nextText();
    // The size goes into its field as a number.
    const QVariant size = r.atEnd() ? QVariant() : r.next();
    font->Size = LetterInput::numericText(size.toString());
    return true;
}

bool writeTextFont(const QString& workFolder, const TextFont& font)
{
    WrittenRecordWriter w;
    w.text(font.Name).text(font.Size).endRecord();
    return w.writeTo(fontFile(workFolder));
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
