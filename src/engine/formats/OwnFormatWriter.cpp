#include "OwnFormatWriter.h"

#include "DocumentTransfer.h"
#include "FormatProperties.h"
#include "engine/SectionParts.h"
#include "engine/Document.h"
#include "engine/objects/TabStops.h"

#include <QBuffer>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QXmlStreamWriter>

namespace {

QString utf16Hex(QStringView s)
{
    QString hex;
    for (QChar c : s)
        hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return hex;
}

bool xmlSafe(QStringView s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || u == 0xFFFE || u == 0xFFFF || c.isSurrogate())
            return false;
    }
    return true;
}

// Writes one QTextDocument: its format table, then its frames, tables and blocks.
class TextWriter {
public:
    TextWriter(QXmlStreamWriter& w, const QTextDocument* doc) : w(w), doc(doc) {}

    void run(const QString& element)
    {
        w.writeStartElement(element);
        w.writeAttribute(QStringLiteral("font"), doc->defaultFont().toString());
        w.writeAttribute(QStringLiteral("root"), QString::number(doc->rootFrame()->formatIndex()));
        if (const int tab = TabStops::defaultDistance(doc); tab != TabStops::defaultDistance(nullptr))
            w.writeAttribute(QStringLiteral("defaultTab"), QString::number(tab));
        writeFormats();
        writeItems(doc->rootFrame()->begin());
        w.writeEndElement();
    }

private:
    void writeFormats()
    {
        const QList<QTextFormat> formats = doc->allFormats();
        w.writeStartElement(QStringLiteral("formats"));
        for (int i = 0; i < formats.size(); ++i) {
            const QTextFormat& f = formats[i];
            w.writeStartElement(QStringLiteral("format"));
            w.writeAttribute(QStringLiteral("id"), QString::number(i));
            w.writeAttribute(QStringLiteral("type"), QString::number(f.type()));
            const QMap<int, QVariant> props = f.properties();
            for (auto it = props.cbegin(); it != props.cend(); ++it) {
                // Object indexes are rebuilt from the structure on reading.
                if (it.key() == QTextFormat::ObjectIndex)
                    continue;
                const FormatProperties::TypedText t = FormatProperties::encode(it.value());
                if (t.type.isEmpty())
                    continue;
                w.writeStartElement(QStringLiteral("property"));
                w.writeAttribute(QStringLiteral("name"), FormatProperties::nameOf(it.key()));
                w.writeAttribute(QStringLiteral("type"), t.type);
                writeSafeText(t.value);
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }

    void writeSafeText(const QString& s)
    {
        if (xmlSafe(s)) {
            w.writeCharacters(s);
            return;
        }
        // Characters XML cannot carry: the text as UTF-16 code units in hex.
        w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("utf16"));
        w.writeCharacters(utf16Hex(s));
    }

    void writeItems(QTextFrame::iterator it)
    {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(child))
                    writeTable(table);
                else
                    writeFrame(child);
            } else {
                writeBlock(it.currentBlock());
            }
        }
    }

    void writeFrame(QTextFrame* frame)
    {
        w.writeStartElement(QStringLiteral("frame"));
        w.writeAttribute(QStringLiteral("format"), QString::number(frame->formatIndex()));
        writeItems(frame->begin());
        w.writeEndElement();
    }

    void writeTable(QTextTable* table)
    {
        w.writeStartElement(QStringLiteral("table"));
        w.writeAttribute(QStringLiteral("format"), QString::number(table->formatIndex()));
        w.writeAttribute(QStringLiteral("rows"), QString::number(table->rows()));
        w.writeAttribute(QStringLiteral("columns"), QString::number(table->columns()));
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue; // covered by a spanning cell
                w.writeStartElement(QStringLiteral("cell"));
                w.writeAttribute(QStringLiteral("row"), QString::number(r));
                w.writeAttribute(QStringLiteral("column"), QString::number(c));
                if (cell.rowSpan() > 1)
                    w.writeAttribute(QStringLiteral("rowSpan"), QString::number(cell.rowSpan()));
                if (cell.columnSpan() > 1)
                    w.writeAttribute(QStringLiteral("columnSpan"), QString::number(cell.columnSpan()));
                w.writeAttribute(QStringLiteral("format"), QString::number(cell.tableCellFormatIndex()));
                writeItems(cell.begin());
                w.writeEndElement();
            }
        }
        w.writeEndElement();
    }

    void writeBlock(const QTextBlock& block)
    {
        w.writeStartElement(QStringLiteral("p"));
        w.writeAttribute(QStringLiteral("format"), QString::number(block.blockFormatIndex()));
        w.writeAttribute(QStringLiteral("charFormat"), QString::number(block.charFormatIndex()));
        if (QTextList* list = block.textList()) {
            int& id = listIds[list];
            if (id == 0)
                id = listIds.size();
            w.writeAttribute(QStringLiteral("list"), QString::number(id));
            w.writeAttribute(QStringLiteral("listFormat"), QString::number(list->formatIndex()));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            w.writeStartElement(QStringLiteral("r"));
            w.writeAttribute(QStringLiteral("format"), QString::number(frag.charFormatIndex()));
            writeSafeText(frag.text());
            w.writeEndElement();
        }
        w.writeEndElement();
    }

    QXmlStreamWriter& w;
    const QTextDocument* doc;
    QHash<QTextList*, int> listIds;
};

void writeResources(QXmlStreamWriter& w, const Document& doc)
{
    QList<const QTextDocument*> texts{doc.body()};
    for (int part : {1, 2, 4, 8})
        if (const QTextDocument* d = doc.headerFooter(part))
            texts << d;
    for (int id : SectionParts::ids(doc))
        for (int part : {1, 2, 4, 8})
            if (const QTextDocument* d = SectionParts::part(doc, id, part))
                texts << d;
    w.writeStartElement(QStringLiteral("resources"));
    QSet<QString> seen;
    for (const QTextDocument* d : texts) {
        for (const QString& name : DocumentTransfer::imageNames(d)) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
            QByteArray kind;
            const QByteArray bytes = DocumentTransfer::imageBytes(d, name, &kind);
            if (bytes.isEmpty())
                continue;
            w.writeStartElement(QStringLiteral("image"));
            if (xmlSafe(name)) {
                w.writeAttribute(QStringLiteral("name"), name);
            } else {
                // A name from a broken data URL may hold characters XML cannot carry.
                w.writeAttribute(QStringLiteral("nameEncoding"), QStringLiteral("utf16"));
                w.writeAttribute(QStringLiteral("name"), utf16Hex(name));
            }
            if (!kind.isEmpty())
                w.writeAttribute(QStringLiteral("kind"), QString::fromLatin1(kind));
            w.writeCharacters(QString::fromLatin1(bytes.toBase64()));
            w.writeEndElement();
        }
    }
    w.writeEndElement();
}

} // namespace

bool OwnFormatWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString* error)
{
    QBuffer buffer(out);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("textdocument"));
    w.writeAttribute(QStringLiteral("version"), QString::number(Version));

    const PageGeometry& g = doc.page();
    w.writeStartElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("width"), QString::number(g.width));
    w.writeAttribute(QStringLiteral("height"), QString::number(g.height));
    w.writeAttribute(QStringLiteral("left"), QString::number(g.marginL));
    w.writeAttribute(QStringLiteral("top"), QString::number(g.marginT));
    w.writeAttribute(QStringLiteral("right"), QString::number(g.marginR));
    w.writeAttribute(QStringLiteral("bottom"), QString::number(g.marginB));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("language"));
    w.writeAttribute(QStringLiteral("spelling"), doc.language());
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("headerfooter"));
    w.writeAttribute(QStringLiteral("set"), QString::number(doc.headerFooterSet()));
    w.writeAttribute(QStringLiteral("headerDistance"), QString::number(doc.headerDistance()));
    w.writeAttribute(QStringLiteral("footerDistance"), QString::number(doc.footerDistance()));
    for (int part : {1, 2, 4, 8}) {
        if (const QTextDocument* d = doc.headerFooter(part)) {
            w.writeStartElement(QStringLiteral("part"));
            w.writeAttribute(QStringLiteral("id"), QString::number(part));
            TextWriter(w, d).run(QStringLiteral("text"));
            w.writeEndElement();
        }
    }
    w.writeEndElement();

    // Later sections' own headers and footers; their breaks name them in the body.
    for (int id : SectionParts::ids(doc)) {
        w.writeStartElement(QStringLiteral("sectionparts"));
        w.writeAttribute(QStringLiteral("id"), QString::number(id));
        for (int part : {1, 2, 4, 8}) {
            if (const QTextDocument* d = SectionParts::part(doc, id, part)) {
                w.writeStartElement(QStringLiteral("part"));
                w.writeAttribute(QStringLiteral("id"), QString::number(part));
                TextWriter(w, d).run(QStringLiteral("text"));
                w.writeEndElement();
            }
        }
        w.writeEndElement();
    }

    TextWriter(w, doc.body()).run(QStringLiteral("body"));
    writeResources(w, doc);
    w.writeEndElement();
    w.writeEndDocument();
    if (w.hasError()) {
        FormatErrors::set(error, QStringLiteral("Das Dokument konnte nicht geschrieben werden."));
        return false;
    }
    return true;
}
