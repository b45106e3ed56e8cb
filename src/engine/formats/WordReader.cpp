#include "WordReader.h"

bool WordReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Word-Dokumente im Binärformat können nicht gelesen werden. "
                                                "Bitte speichern Sie das Dokument als RTF."));
        return false;
    }
    RtfReader rtf;
    if (!rtf.read(data, into, error))
        return false;
    if (!rtf.note().isEmpty())
        addNote(rtf.note());
    return true;
}
