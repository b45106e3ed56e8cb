#include "TextBlockFile.h"

#include "app/Folders.h"
#include "app/WrittenRecord.h"

#include <QFile>

namespace TextBlockFile {

QString path(const QString& workFolder, int n)
{
    if (n < 1 || n > Count)
        return {};
    return Folders::withSlash(workFolder) + QStringLiteral("bst%1.ndr").arg(n);
}

bool exists(const QString& workFolder, int n)
{
    const QString p = path(workFolder, n);
    return !p.isEmpty() && QFile::exists(p);
}

std::optional<TextBlock> read(const QString& workFolder, int n)
{
    const QString p = path(workFolder, n);
    if (p.isEmpty())
        return std::nullopt;
    bool ok = false;
    WrittenRecordReader r = WrittenRecordReader::fromFile(p, &ok);
    if (!ok || r.atEnd())
        return std::nullopt;
    TextBlock b;
    b.Text = r.nextText();
    b.FontName = r.nextText();
    b.FontSize = r.next().toDouble();
    b.Bold = r.nextBool();
    b.Italic = r.nextBool();
    b.Underline = r.nextBool();
    b.Strikethru = r.nextBool();
    b.Colour = qint32(r.next().toDouble());
    b.Name = r.nextText();
    return b;
}

bool write(const QString& workFolder, int n, const TextBlock& block)
{
    const QString p = path(workFolder, n);
    if (p.isEmpty())
        return false;
    WrittenRecordWriter w;
    w.text(block.Text)
        .text(block.FontName)
        .number(qRound(block.FontSize))
        .flag(block.Bold)
        .flag(block.Italic)
        .flag(block.Underline)
        .flag(block.Strikethru)
        .number(block.Colour)
        .text(block.Name)
        .endRecord();
    return w.writeTo(p);
}

bool remove(const QString& workFolder, int n)
{
    const QString p = path(workFolder, n);
    return !p.isEmpty() && QFile::remove(p);
}

QString caption(const QString& workFolder, int n)
{
    if (exists(workFolder, n)) {
        if (const auto b = read(workFolder, n); b && !b->Name.isEmpty())
            return b->Name;
    }
    return QStringLiteral("Textbaustein %1").arg(n);
}

qint32 colourNumber(int red, int green, int blue)
{
    return qint32(red + 256 * green + 65536 * blue);
}

void colourParts(qint32 number, int* red, int* green, int* blue)
{
    const quint32 v = number < 0 ? 0u : quint32(number);
    *red = int(v & 0xFF);
    *green = int((v >> 8) & 0xFF);
    *blue = int((v >> 16) & 0xFF);
}

} // namespace TextBlockFile
