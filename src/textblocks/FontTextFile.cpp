#include "FontTextFile.h"

#include "app/Folders.h"
#include "app/WrittenRecord.h"

namespace FontTextFile {

namespace {
QString path(const QString& workFolder)
{
    return Folders::withSlash(workFolder) + QStringLiteral("FontText.txt");
}
} // namespace

bool read(const QString& workFolder, LetterTextFont* font)
{
    if (!Folders::fileExists(path(workFolder)))
        return false;
    bool ok = false;
    WrittenRecordReader r = WrittenRecordReader::fromFile(path(workFolder), &ok);
    if (!ok || r.atEnd())
        return false;
    const QString name = r.nextText();
    if (r.atEnd())
        return false;
    font->Name = name;
    font->Size = r.next().toString();
    return true;
}

bool write(const QString& workFolder, const LetterTextFont& font)
{
    WrittenRecordWriter w;
    w.text(font.Name).text(font.Size).endRecord();
    return w.writeTo(path(workFolder));
}

} // namespace FontTextFile
