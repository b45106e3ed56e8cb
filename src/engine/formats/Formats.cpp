#include "Formats.h"

#include "CssWriter.h"
#include "DocumentLimits.h"
#include "DocumentTransfer.h"
#include "HtmlReader.h"
#include "HtmlWriter.h"
#include "InputFile.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "WordReader.h"
#include "WordWriter.h"
#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"
#include "odt/OdtReader.h"
#include "odt/OdtWriter.h"
#include "OwnFormatReader.h"
#include "OwnFormatWriter.h"
#include "PdfWriter.h"
#include "PlainTextReader.h"
#include "PlainTextWriter.h"
#include "app/SafeSave.h"
#include "engine/Document.h"
#include "engine/objects/ListNumbers.h"
#include "engine/spelling/AutoHyphens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QtEndian>

namespace Formats {

namespace {

// Formats that have no reader or no writer still answer with a German text.
class RefusingReader : public FormatReader {
public:
    explicit RefusingReader(QString text) : m_text(std::move(text)) {}
    bool read(const QByteArray&, Document&, QString* error) override
    {
        FormatErrors::set(error, m_text);
        return false;
    }

private:
    QString m_text;
};

class RefusingWriter : public FormatWriter {
public:
    explicit RefusingWriter(QString text) : m_text(std::move(text)) {}
    bool write(const Document&, const WriteOptions&, QByteArray*, QString* error) override
    {
        FormatErrors::set(error, m_text);
        return false;
    }

private:
    QString m_text;
};

} // namespace

std::unique_ptr<FormatReader> readerFor(int format)
{
    switch (format) {
    case 1: return std::make_unique<PlainTextReader>();
    case 3:
    case 10: return std::make_unique<OwnFormatReader>();
    case 4: return std::make_unique<HtmlReader>();
    case 5: return std::make_unique<RtfReader>();
    case 9: return std::make_unique<WordReader>();
    case 13: return std::make_unique<DocxReader>();
    case 14: return std::make_unique<OdtReader>();
    case 11:
        return std::make_unique<RefusingReader>(QStringLiteral("Style-Sheet-Dateien können nicht geöffnet werden."));
    case 12: return std::make_unique<RefusingReader>(QStringLiteral("PDF-Dateien können nicht geöffnet werden."));
    default: return nullptr;
    }
}

std::unique_ptr<FormatWriter> writerFor(int format)
{
    switch (format) {
    case 1: return std::make_unique<PlainTextWriter>();
    case 3:
    case 10: return std::make_unique<OwnFormatWriter>();
    case 4: return std::make_unique<HtmlWriter>();
    case 5: return std::make_unique<RtfWriter>();
    case 9: return std::make_unique<WordWriter>();
    case 13: return std::make_unique<DocxWriter>();
    case 14: return std::make_unique<OdtWriter>();
    case 11: return std::make_unique<CssWriter>();
    case 12: return std::make_unique<PdfWriter>();
    default: return nullptr;
    }
}

namespace {

// A new window's document is empty: the reader fills it directly, which saves the copy,
// and a failure only has to empty it again.
bool readChecked(FormatReader* reader, const QByteArray& data, Document& doc, QTextCursor* insertAt, QString* error);

bool readIntoEmpty(FormatReader& reader, const QByteArray& data, Document& doc, QString* error)
{
    QTextDocument* body = doc.body();
    const PageGeometry page = doc.page();
    const int headerDistance = doc.headerDistance();
    const int footerDistance = doc.footerDistance();
    const QString language = doc.language();
    const QFont font = body->defaultFont();
    const QTextFrameFormat root = body->rootFrame()->frameFormat();
    const bool undo = body->isUndoRedoEnabled();
    body->setUndoRedoEnabled(false);
    body->clear();
    body->rootFrame()->setFrameFormat(root);
    // Files that name no language (all but the own format, and older own files) are German.
    doc.setLanguage(Document::defaultLanguage());
    const bool ok = reader.read(data, doc, error);
    if (ok) {
        DocumentLimits::apply(doc);
        ListNumbers::update(body);
    }
    if (!ok) {
        body->clear();
        body->setDefaultFont(font);
        body->rootFrame()->setFrameFormat(root);
        doc.setHeaderFooterSet(0);
        doc.setPage(page);
        doc.setHeaderDistance(headerDistance);
        doc.setFooterDistance(footerDistance);
        doc.setLanguage(language);
    }
    body->setUndoRedoEnabled(undo);
    body->setModified(false);
    return ok;
}

bool readWith(FormatReader* reader, const QByteArray& data, Document& doc, QTextCursor* insertAt, QString* error,
              QString* note)
{
    if (note)
        note->clear();
    const bool ok = readChecked(reader, data, doc, insertAt, error);
    if (ok && note && reader)
        *note = reader->note();
    return ok;
}

bool readChecked(FormatReader* reader, const QByteArray& data, Document& doc, QTextCursor* insertAt, QString* error)
{
    if (!reader) {
        FormatErrors::set(error, QStringLiteral("Dieses Dateiformat kann nicht gelesen werden."));
        return false;
    }
    if (!insertAt && doc.body()->isEmpty() && doc.headerFooterSet() == 0)
        return readIntoEmpty(*reader, data, doc, error);
    Document result;
    // A format without page settings (plain text, HTML) keeps the document's page.
    result.setPage(doc.page());
    if (!reader->read(data, result, error))
        return false;
    DocumentLimits::apply(result);
    ListNumbers::update(result.body());
    if (insertAt)
        DocumentTransfer::insert(*insertAt, result);
    else
        DocumentTransfer::replace(doc, result);
    return true;
}

} // namespace

bool read(int format, const QByteArray& data, Document& doc, QTextCursor* insertAt, QString* error, QString* note)
{
    return readWith(readerFor(format).get(), data, doc, insertAt, error, note);
}

bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out, QString* error)
{
    return write(format, doc, selection, out, error, WriteOptions());
}

bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out, QString* error,
           const WriteOptions& options)
{
    std::unique_ptr<FormatWriter> writer = writerFor(format);
    if (!writer) {
        FormatErrors::set(error, QStringLiteral("Dieses Dateiformat kann nicht geschrieben werden."));
        return false;
    }
    out->clear();
    // Files get the words whole: the soft hyphens of hyphenated paragraphs are layout.
    // PDF is a print, hyphens and all.
    const bool layoutOnly = format != 12;
    if (selection && selection->hasSelection()) {
        Document part;
        DocumentTransfer::copySelection(*selection, doc, part);
        part.setLanguage(doc.language());
        if (layoutOnly)
            AutoHyphens::strip(part.body());
        return writer->write(part, options, out, error);
    }
    if (layoutOnly && AutoHyphens::anyOn(doc.body())) {
        Document whole;
        DocumentTransfer::replace(whole, doc);
        whole.setLanguage(doc.language());
        AutoHyphens::strip(whole.body());
        return writer->write(whole, options, out, error);
    }
    return writer->write(doc, options, out, error);
}

bool readFile(int format, const QString& path, qint64 offset, Document& doc, QTextCursor* insertAt,
              QString* error, QString* note)
{
    QByteArray data;
    if (!InputFile::read(path, offset, &data, error))
        return false;
    return readFrom(format, data, path, doc, insertAt, error, note);
}

bool readFrom(int format, const QByteArray& data, const QString& sourcePath, Document& doc, QTextCursor* insertAt,
              QString* error, QString* note)
{
    std::unique_ptr<FormatReader> reader = readerFor(format);
    if (auto* html = dynamic_cast<HtmlReader*>(reader.get()); html && !sourcePath.isEmpty())
        html->setBaseFolder(QFileInfo(sourcePath).absolutePath());
    return readWith(reader.get(), data, doc, insertAt, error, note);
}

namespace {

bool saveBytes(const QString& path, const QByteArray& header, const QByteArray& body, QString* error)
{
    return SafeSave::saveFile(path, header + body, error);
}

} // namespace

bool writeFile(int format, const Document& doc, const QTextCursor* selection, const QString& path,
               const QByteArray& header, const WriteOptions& options, QString* error)
{
    QByteArray body;
    QByteArray styleSheet;
    WriteOptions opts = options;
    if (!opts.styleSheetOut)
        opts.styleSheetOut = &styleSheet;
    if (!write(format, doc, selection, &body, error, opts))
        return false;
    if (!saveBytes(path, header, body, error))
        return false;
    if ((format == 4) && opts.styleSheetMode == 2 && !opts.styleSheetFile.isEmpty()
        && opts.styleSheetOut == &styleSheet) {
        const QString cssPath = QFileInfo(path).dir().absoluteFilePath(opts.styleSheetFile);
        return saveBytes(cssPath, QByteArray(), styleSheet, error);
    }
    return true;
}

int typeOfPath(const QString& path)
{
    if (path.right(4).toUpper() == u"HTML")
        return 4;
    if (path.right(4).toUpper() == u"DOCX")
        return 13;
    const QString end = path.right(3).toUpper();
    if (end == u"TXM" || end == u"TTX")
        return 3;
    if (end == u"RTF")
        return 5;
    if (end == u"HTM")
        return 4;
    if (end == u"DOC")
        return 9;
    if (end == u"XML")
        return 10;
    if (end == u"CSS")
        return 11;
    if (end == u"PDF")
        return 12;
    if (end == u"ODT")
        return 14;
    return 1;
}

QByteArray pageHeader(const PageGeometry& page)
{
    QByteArray h(PageHeaderSize, '\0');
    char* p = h.data();
    const qint32 values[7] = {23, page.marginL, page.marginT, page.marginR, page.marginB, page.height, page.width};
    for (int i = 0; i < 7; ++i)
        qToLittleEndian<qint32>(values[i], p + 4 * i);
    qToLittleEndian<qint16>(0, p + 28);
    return h;
}

} // namespace Formats
