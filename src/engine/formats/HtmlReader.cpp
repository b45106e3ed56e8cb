#include "HtmlReader.h"

#include "CssColours.h"
#include "HtmlLists.h"
#include "HtmlNesting.h"
#include "HtmlPages.h"
#include "InputFile.h"
#include "TextDecoding.h"
#include "engine/Document.h"

#include <QDir>
#include <QImage>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

bool HtmlReader::sniff(const QByteArray& data) const
{
    return TextDecoding::hasByteOrderMark(data) || !data.contains('\0');
}

namespace {

// data: URLs of pictures become resources under their own name.
void keepDataPictures(QTextDocument* d)
{
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
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
            const QImage img = InputFile::decodePicture(QByteArray::fromBase64(name.mid(comma + 1).toLatin1()));
            if (!img.isNull())
                d->addResource(QTextDocument::ImageResource, QUrl(name), img);
        }
    }
}

} // namespace

bool HtmlReader::read(const QByteArray& data, Document& into, QString*)
{
    // A byte-order mark or a declared encoding wins; else UTF-8 or Windows-1252 as for text.
    QString html;
    bool droppedNul = false;
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    const bool declared = data.left(1024).toLower().contains("charset");
    if (!TextDecoding::hasByteOrderMark(data) && declared && decoder.isValid()) {
        html = decoder.decode(data);
        if (decoder.hasError())
            html = TextDecoding::decode(data);
        droppedNul = html.contains(QChar(0));
        html.remove(QChar(0));
    } else {
        html = TextDecoding::decode(data, &droppedNul);
    }
    if (droppedNul)
        addNote(TextDecoding::nulNote());
    QTextDocument* body = into.body();
    body->setUndoRedoEnabled(false);
    if (!m_baseFolder.isEmpty())
        body->setBaseUrl(QUrl::fromLocalFile(QDir(m_baseFolder).absolutePath() + QLatin1Char('/')));
    HtmlPages::Reader pages;
    bool backgroundPictures = false;
    const QString text = pages.prepare(CssColours::normalise(html, &backgroundPictures));
    if (backgroundPictures)
        addNote(QStringLiteral("Hintergrundbilder wurden nicht übernommen."));
    bool numbersAsText = false;
    auto import = [body, &numbersAsText](QTextDocument* d, const QString& part) {
        d->setBaseUrl(body->baseUrl());
        d->setHtml(HtmlNesting::limit(HtmlLists::rewrite(part)));
        d->setDocumentMargin(0);
        keepDataPictures(d);
        numbersAsText = HtmlLists::settle(d) || numbersAsText;
    };
    import(body, text);
    pages.finishText(body);
    pages.apply(into, import);
    if (numbersAsText)
        addNote(QStringLiteral("Nummerierte Listen, die nicht bei 1 beginnen, wurden als Absätze mit vorangestellter "
                               "Nummer übernommen."));
    body->setUndoRedoEnabled(true);
    return true;
}
