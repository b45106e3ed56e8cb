#include "HtmlReader.h"

#include "app/WrittenRecord.h"
#include "engine/Document.h"

#include <QDir>
#include <QImage>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

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
    body->setHtml(html);
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
