#include "HtmlReader.h"

#include "app/WrittenRecord.h"
#include "engine/Document.h"

#include <QDir>
#include <QImage>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace {

// Qt's table layout time grows steeply with nesting (20 levels take half a minute, 30
// never finish), so tables nested deeper than this lose their table tags: cells end in
// a blank, rows in a line break, and the text stays.
constexpr int kMaxTableNesting = 8;

bool isTablePart(QStringView name)
{
    static const char* const parts[] = {"tr", "td", "th", "thead", "tbody", "tfoot", "caption", "col", "colgroup"};
    for (const char* p : parts)
        if (name.compare(QLatin1StringView(p), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString flattenDeepTables(const QString& html)
{
    QString out;
    out.reserve(html.size());
    int depth = 0;
    qsizetype pos = 0;
    while (pos < html.size()) {
        const qsizetype open = html.indexOf(QLatin1Char('<'), pos);
        if (open < 0)
            break;
        qsizetype nameStart = open + 1;
        const bool closing = nameStart < html.size() && html[nameStart] == u'/';
        if (closing)
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < html.size() && html[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QStringView name = QStringView(html).mid(nameStart, nameEnd - nameStart);
        const qsizetype close = html.indexOf(QLatin1Char('>'), nameEnd);
        const bool isTable = name.compare(u"table", Qt::CaseInsensitive) == 0;
        if (close < 0 || name.isEmpty() || (!isTable && !isTablePart(name))) {
            out += QStringView(html).mid(pos, nameEnd - pos);
            pos = nameEnd;
            continue;
        }
        if (isTable && !closing)
            ++depth;
        const bool drop = depth > kMaxTableNesting;
        if (isTable && closing && depth > 0)
            --depth;
        out += QStringView(html).mid(pos, open - pos);
        if (!drop)
            out += QStringView(html).mid(open, close + 1 - open);
        else if (closing && (name.compare(u"td", Qt::CaseInsensitive) == 0 || name.compare(u"th", Qt::CaseInsensitive) == 0))
            out += QLatin1Char(' ');
        else if (closing && name.compare(u"tr", Qt::CaseInsensitive) == 0)
            out += QStringLiteral("<br>");
        pos = close + 1;
    }
    out += QStringView(html).mid(pos);
    return out;
}

} // namespace

bool HtmlReader::sniff(const QByteArray& data) const
{
    return !data.contains('\0');
}

bool HtmlReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Die Datei ist keine lesbare HTML-Datei."));
        return false;
    }
    // A declared or BOM-given encoding wins; else UTF-8 or Windows-1252 as for text.
    QString html;
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    const QByteArray head = data.left(1024).toLower();
    const bool declared = head.contains("charset") || data.startsWith("\xEF\xBB\xBF") || data.startsWith("\xFF\xFE")
                          || data.startsWith("\xFE\xFF");
    if (declared && decoder.isValid()) {
        html = decoder.decode(data);
        if (decoder.hasError())
            html = decodeText(data);
    } else {
        html = decodeText(data);
    }
    QTextDocument* body = into.body();
    body->setUndoRedoEnabled(false);
    if (!m_baseFolder.isEmpty())
        body->setBaseUrl(QUrl::fromLocalFile(QDir(m_baseFolder).absolutePath() + QLatin1Char('/')));
    body->setHtml(flattenDeepTables(html));
    body->setDocumentMargin(0);
    // data: URLs of pictures become resources under their own name.
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QString name = f.toImageFormat().name();
            if (!name.startsWith(u"data:"))
                continue;
            const qsizetype comma = name.indexOf(QLatin1Char(','));
            if (comma < 0 || !name.left(comma).contains(u";base64"))
                continue;
            const QImage img = QImage::fromData(QByteArray::fromBase64(name.mid(comma + 1).toLatin1()));
            if (!img.isNull())
                body->addResource(QTextDocument::ImageResource, QUrl(name), img);
        }
    }
    body->setUndoRedoEnabled(true);
    return true;
}
