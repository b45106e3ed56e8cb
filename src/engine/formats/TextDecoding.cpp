#include "TextDecoding.h"

#include "app/WrittenRecord.h"

#include <QStringDecoder>

#include <optional>

namespace TextDecoding {

namespace {

// The encoding a byte-order mark names; UTF-32 LE must be tested before UTF-16 LE.
std::optional<QStringConverter::Encoding> markedEncoding(const QByteArray& d)
{
    if (d.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)))
        return QStringConverter::Utf32LE;
    if (d.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return QStringConverter::Utf32BE;
    if (d.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (d.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    if (d.startsWith("\xEF\xBB\xBF"))
        return QStringConverter::Utf8;
    return std::nullopt;
}

} // namespace

bool hasByteOrderMark(const QByteArray& data) { return markedEncoding(data).has_value(); }

QString decode(const QByteArray& data, bool* droppedNul)
{
    QString text;
    if (const auto encoding = markedEncoding(data)) {
        // The decoder skips the mark itself.
        QStringDecoder decoder(*encoding);
        text = decoder.decode(data);
    } else {
        text = decodeText(data);
    }
    const qsizetype before = text.size();
    text.remove(QChar(0));
    if (droppedNul)
        *droppedNul = text.size() != before;
    return text;
}

QString nulNote()
{
    return QStringLiteral("Die Datei enthielt Nullzeichen; sie wurden entfernt.");
}

} // namespace TextDecoding
