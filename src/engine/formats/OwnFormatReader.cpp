#include "OwnFormatReader.h"

#include "FormatProperties.h"
#include "InputFile.h"
#include "ListParts.h"
#include "OwnFormatWriter.h"
#include "engine/SectionParts.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabStops.h"

#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

const QString kNotOurs = QStringLiteral("Die Datei ist kein Dokument der Textverarbeitung.");
const QString kBroken = QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden.");
const QString kNoBody = QStringLiteral("Die Datei ist unvollständig: der Textteil fehlt.");

constexpr int kMaxTableCells = 250000;
// Tables and frames nested deeper than this are flattened into their parent: Qt's
// layout time grows steeply with nesting (30 levels never finish).
constexpr int kMaxNesting = 8;
// Beyond this the file is refused: even flattened, each level costs stack.
constexpr int kMaxDepth = 200;
// Qt finds a frame by walking its parent's frames in turn, so every frame added costs
// time in the number of frames: frames past this many are flattened too.
constexpr int kMaxFrames = 1000;

int intAttr(const QXmlStreamReader& r, const char* name, int fallback)
{
    bool ok = false;
    const int v = r.attributes().value(QLatin1StringView(name)).toInt(&ok);
    return ok ? v : fallback;
}

// Objects the engine draws itself: images, page numbers and counts, fixed images. Any
// other object type would make Qt build an object the document does not have.
bool knownObject(const QTextCharFormat& f)
{
    switch (f.objectType()) {
    case QTextFormat::NoObject:
    case QTextFormat::ImageObject:
    case EngineObject::PageNumber:
    case EngineObject::PageCount:
    case EngineObject::FixedImage: return true;
    default: return false;
    }
}

// Text the writer had to write as UTF-16 code units in hex.
QString fromUtf16Hex(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i + 4 <= text.size(); i += 4) {
        bool ok = false;
        const ushort u = QStringView(text).mid(i, 4).toUShort(&ok, 16);
        if (ok)
            out += QChar(u);
    }
    return out;
}

// Element text, decoded when the writer had to hex-encode it.
QString elementText(QXmlStreamReader& r)
{
    const bool hex = r.attributes().value(QLatin1StringView("encoding")) == u"utf16";
    const QString text = r.readElementText(QXmlStreamReader::SkipChildElements);
    return hex ? fromUtf16Hex(text) : text;
}

// Characters that would make QTextCursor::insertText break blocks or frames.
QString runText(QString s)
{
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
            c = QChar(0x2028);
    }
    return s;
}

class TextReader {
public:
    // A table's declared grid is bounded by the file's size: every cell the writer
    // keeps is an element of dozens of bytes, so a tiny file cannot hold a huge table.
    TextReader(QXmlStreamReader& r, QTextDocument* doc, qint64 fileSize, int version)
        : r(r), doc(doc), cellBudget(qMax<qint64>(1000, fileSize)), version(version)
    {
    }

    // Reads the current <body> or <text> element to its end.
    bool run(QString* error)
    {
        QFont font;
        const QString fontText = r.attributes().value(QLatin1StringView("font")).toString();
        if (!fontText.isEmpty() && font.fromString(fontText))
            doc->setDefaultFont(font);
        TabStops::setDefaultDistance(doc, qBound(0, intAttr(r, "defaultTab", 0), 31680));
        const int root = intAttr(r, "root", -1);
        QTextCursor cursor(doc);
        // One edit block: the layout runs once at the end instead of after every insert.
        cursor.beginEditBlock();
        bool first = true;
        while (r.readNextStartElement()) {
            if (r.name() == u"formats") {
                readFormats();
            } else if (!readItem(cursor, first, 0)) {
                break;
            }
        }
        cursor.endEditBlock();
        // A file cut off inside the text keeps what was read up to the cut.
        if (!failed && r.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return true;
        if (r.hasError() || failed) {
            if (error)
                *error = kBroken;
            return false;
        }
        if (formats.contains(root) && formats[root].isFrameFormat() && !formats[root].isTableFormat())
            doc->rootFrame()->setFrameFormat(formats[root].toFrameFormat());
        return true;
    }

private:
    void readFormats()
    {
        while (r.readNextStartElement()) {
            if (r.name() != u"format") {
                r.skipCurrentElement();
                continue;
            }
            const int id = intAttr(r, "id", -1);
            QTextFormat f(intAttr(r, "type", QTextFormat::InvalidFormat));
            while (r.readNextStartElement()) {
                if (r.name() == u"property") {
                    const int prop = FormatProperties::propertyOf(r.attributes().value(QLatin1StringView("name")).toString());
                    const QString type = r.attributes().value(QLatin1StringView("type")).toString();
                    const QVariant v = FormatProperties::decode(type, elementText(r));
                    if (prop >= 0 && prop != QTextFormat::ObjectIndex && v.isValid())
                        f.setProperty(prop, v);
                } else {
                    r.skipCurrentElement();
                }
            }
            if (id >= 0)
                formats.insert(id, upgraded(f));
        }
    }

    // Version 1 kept Qt's tab positions as the ruler showed them, counted from the
    // page margin; since version 2 they count from where the first line starts.
    QTextFormat upgraded(const QTextFormat& f) const
    {
        if (version >= 2 || !f.isBlockFormat() || !f.hasProperty(QTextFormat::TabPositions))
            return f;
        QTextBlockFormat bf = f.toBlockFormat();
        TabStops::setFromMargin(bf, bf.tabPositions());
        return bf;
    }

    // The first paragraph of a table cell carries the cell's own format: the file may
    // not change the spans in it, or the table no longer matches its cells and the
    // layout crashes.
    static QTextCharFormat withCellSpans(QTextCharFormat cf, const QTextCharFormat& current)
    {
        for (int p : {int(QTextFormat::TableCellRowSpan), int(QTextFormat::TableCellColumnSpan)}) {
            if (current.hasProperty(p))
                cf.setProperty(p, current.property(p));
            else
                cf.clearProperty(p);
        }
        return cf;
    }

    QTextFormat format(int id) const { return formats.value(id); }
    // Typed look-ups: a reference to a format of the wrong kind gives the default, as
    // Qt would otherwise build the wrong object from it.
    QTextBlockFormat blockFormat(int id) const
    {
        const QTextFormat f = format(id);
        return f.isBlockFormat() ? f.toBlockFormat() : QTextBlockFormat();
    }
    QTextCharFormat charFormat(int id) const
    {
        const QTextFormat f = format(id);
        return f.isCharFormat() ? f.toCharFormat() : QTextCharFormat();
    }

    // One <p>, <table> or <frame>; unknown elements are skipped.
    bool readItem(QTextCursor& cursor, bool& first, int depth)
    {
        if (depth > kMaxDepth) {
            failed = true;
            return false;
        }
        if ((depth >= kMaxNesting && (r.name() == u"table" || r.name() == u"frame"))
            || (r.name() == u"frame" && frames >= kMaxFrames))
            return readFlattened(cursor, first, depth);
        if (r.name() == u"p")
            readBlock(cursor, first);
        else if (r.name() == u"table")
            return readTable(cursor, first, depth);
        else if (r.name() == u"frame")
            return readFrame(cursor, first, depth);
        else
            r.skipCurrentElement();
        return !failed;
    }

    bool readItems(QTextCursor& cursor, bool& first, int depth)
    {
        while (r.readNextStartElement())
            if (!readItem(cursor, first, depth))
                return false;
        return !r.hasError();
    }

    void readBlock(QTextCursor& cursor, bool& first)
    {
        const QTextBlockFormat bf = blockFormat(intAttr(r, "format", -1));
        const QTextCharFormat cf = charFormat(intAttr(r, "charFormat", -1));
        if (first) {
            cursor.setBlockFormat(bf);
            cursor.setBlockCharFormat(withCellSpans(cf, cursor.blockCharFormat()));
            first = false;
        } else {
            cursor.insertBlock(bf, cf);
        }
        const int listId = intAttr(r, "list", 0);
        if (listId > 0) {
            QTextList* list = lists.value(listId);
            QTextListFormat lf;
            if (!list) {
                const QTextFormat given = format(intAttr(r, "listFormat", -1));
                lf = given.isListFormat() ? given.toListFormat() : QTextListFormat();
                if (!given.isListFormat())
                    lf.setStyle(QTextListFormat::ListDisc);
            }
            lists.insert(listId, listParts.add(cursor, list, lf));
        }
        while (r.readNextStartElement()) {
            if (r.name() == u"r") {
                QTextCharFormat rf = charFormat(intAttr(r, "format", -1));
                if (!knownObject(rf))
                    rf.clearProperty(QTextFormat::ObjectType);
                const QString text = runText(elementText(r));
                if (!text.isEmpty())
                    cursor.insertText(text, rf);
            } else {
                r.skipCurrentElement();
            }
        }
    }

    bool readTable(QTextCursor& cursor, bool& first, int depth)
    {
        const int rows = intAttr(r, "rows", 0);
        const int columns = intAttr(r, "columns", 0);
        if (rows < 1 || columns < 1 || qint64(rows) * columns > qMin<qint64>(kMaxTableCells, cellBudget)) {
            failed = true;
            return false;
        }
        cellBudget -= qint64(rows) * columns;
        const QTextFormat given = format(intAttr(r, "format", -1));
        QTextTableFormat tf = given.isTableFormat() ? given.toTableFormat() : QTextTableFormat();
        tf.setColumns(columns);
        QTextTable* table = cursor.insertTable(rows, columns, tf);
        while (r.readNextStartElement()) {
            if (r.name() != u"cell") {
                r.skipCurrentElement();
                continue;
            }
            const int row = intAttr(r, "row", -1);
            const int col = intAttr(r, "column", -1);
            const int rowSpan = intAttr(r, "rowSpan", 1);
            const int colSpan = intAttr(r, "columnSpan", 1);
            if (row < 0 || col < 0 || row >= rows || col >= columns) {
                r.skipCurrentElement();
                continue;
            }
            if (rowSpan > 1 || colSpan > 1)
                table->mergeCells(row, col, qBound(1, rowSpan, rows - row), qBound(1, colSpan, columns - col));
            QTextTableCell cell = table->cellAt(row, col);
            const QTextFormat givenCell = format(intAttr(r, "format", -1));
            if (givenCell.isTableCellFormat() && cell.row() == row && cell.column() == col) {
                QTextCharFormat cellFormat = givenCell.toCharFormat();
                cellFormat.setProperty(QTextFormat::TableCellRowSpan, cell.rowSpan());
                cellFormat.setProperty(QTextFormat::TableCellColumnSpan, cell.columnSpan());
                cell.setFormat(cellFormat);
            }
            // A cell that lies under another cell's span adds its text to that cell.
            const bool covered = cell.row() != row || cell.column() != col;
            QTextCursor inCell = covered ? cell.lastCursorPosition() : cell.firstCursorPosition();
            bool firstInCell = !covered;
            if (!readItems(inCell, firstInCell, depth + 1))
                return false;
        }
        cursor.setPosition(table->lastPosition() + 1);
        first = true;
        return !r.hasError();
    }

    bool readFrame(QTextCursor& cursor, bool& first, int depth)
    {
        const QTextFormat given = format(intAttr(r, "format", -1));
        // A table format here would make a table without cells.
        QTextFrameFormat ff = given.isFrameFormat() && !given.isTableFormat() ? given.toFrameFormat() : QTextFrameFormat();
        ++frames;
        QTextFrame* frame = cursor.insertFrame(ff);
        QTextCursor inFrame = frame->firstCursorPosition();
        bool firstInFrame = true;
        if (!readItems(inFrame, firstInFrame, depth + 1))
            return false;
        cursor.setPosition(frame->lastPosition() + 1);
        first = true;
        return true;
    }

    // The paragraphs of a too deeply nested table or frame (of each cell in turn)
    // continue the enclosing text.
    bool readFlattened(QTextCursor& cursor, bool& first, int depth)
    {
        if (r.name() == u"frame")
            return readItems(cursor, first, depth + 1);
        while (r.readNextStartElement()) {
            if (r.name() != u"cell") {
                r.skipCurrentElement();
                continue;
            }
            if (!readItems(cursor, first, depth + 1))
                return false;
        }
        return !r.hasError();
    }

    QXmlStreamReader& r;
    QTextDocument* doc;
    qint64 cellBudget;
    QHash<int, QTextFormat> formats;
    QHash<int, QTextList*> lists;
    ListParts listParts;
    int frames = 0;
    int version;
    bool failed = false;
};

void readPage(QXmlStreamReader& r, Document& into)
{
    PageGeometry g = into.page();
    auto clampTwips = [](int v) { return qBound(0, v, 31680 * 10); };
    g.width = clampTwips(intAttr(r, "width", g.width));
    g.height = clampTwips(intAttr(r, "height", g.height));
    g.marginL = clampTwips(intAttr(r, "left", g.marginL));
    g.marginT = clampTwips(intAttr(r, "top", g.marginT));
    g.marginR = clampTwips(intAttr(r, "right", g.marginR));
    g.marginB = clampTwips(intAttr(r, "bottom", g.marginB));
    into.setPage(g);
    r.skipCurrentElement();
}

// Only the languages the program offers; anything else keeps the default.
void readLanguage(QXmlStreamReader& r, Document& into)
{
    const QString code = r.attributes().value(QLatin1StringView("spelling")).toString();
    static const QStringList known{QStringLiteral("de_DE"), QStringLiteral("de_AT"), QStringLiteral("de_CH"),
                                   QStringLiteral("en_US")};
    if (known.contains(code))
        into.setLanguage(code);
    r.skipCurrentElement();
}

bool readHeaderFooter(QXmlStreamReader& r, Document& into, qint64 fileSize, int version, QString* error)
{
    // The first section's set, or (sectionparts) a later section's, by its id.
    const bool later = r.name() == u"sectionparts";
    const int set = later ? intAttr(r, "id", 0) : 0;
    if (later) {
        // Ids are given out in order; a file names the ones its breaks use.
        while (set > 0 && set <= 4096 && (SectionParts::ids(into).isEmpty() || SectionParts::ids(into).last() < set))
            SectionParts::add(into);
    } else {
        into.setHeaderFooterSet(intAttr(r, "set", 0) & 15);
        into.setHeaderDistance(qBound(0, intAttr(r, "headerDistance", into.headerDistance()), 31680));
        into.setFooterDistance(qBound(0, intAttr(r, "footerDistance", into.footerDistance()), 31680));
    }
    while (r.readNextStartElement()) {
        if (r.name() != u"part") {
            r.skipCurrentElement();
            continue;
        }
        const int id = intAttr(r, "id", 0);
        QTextDocument* part = later ? SectionParts::part(into, set, id, true) : into.headerFooter(id);
        bool done = false;
        while (r.readNextStartElement()) {
            if (r.name() == u"text" && part && !done) {
                part->setUndoRedoEnabled(false);
                if (!TextReader(r, part, fileSize, version).run(error))
                    return false;
                done = true;
            } else {
                r.skipCurrentElement();
            }
        }
    }
    return !r.hasError();
}

void readResources(QXmlStreamReader& r, Document& into)
{
    while (r.readNextStartElement()) {
        if (r.name() != u"image") {
            r.skipCurrentElement();
            continue;
        }
        QString name = r.attributes().value(QLatin1StringView("name")).toString();
        if (r.attributes().value(QLatin1StringView("nameEncoding")) == u"utf16")
            name = fromUtf16Hex(name);
        const QByteArray bytes = QByteArray::fromBase64(r.readElementText(QXmlStreamReader::SkipChildElements).toLatin1());
        const QImage img = InputFile::decodePicture(bytes);
        if (name.isEmpty() || img.isNull())
            continue;
        into.body()->addResource(QTextDocument::ImageResource, QUrl(name), img);
        for (int part : {1, 2, 4, 8})
            if (QTextDocument* d = into.headerFooter(part))
                d->addResource(QTextDocument::ImageResource, QUrl(name), img);
        for (int id : SectionParts::ids(into))
            for (int part : {1, 2, 4, 8})
                if (QTextDocument* d = SectionParts::part(into, id, part))
                    d->addResource(QTextDocument::ImageResource, QUrl(name), img);
    }
}

} // namespace

bool OwnFormatReader::sniff(const QByteArray& data) const
{
    return data.left(512).contains("<textdocument");
}

bool OwnFormatReader::read(const QByteArray& data, Document& into, QString* error)
{
    QXmlStreamReader r(data);
    if (!r.readNextStartElement() || r.name() != u"textdocument") {
        FormatErrors::set(error, kNotOurs);
        return false;
    }
    bool ok = false;
    const int version = r.attributes().value(QLatin1StringView("version")).toInt(&ok);
    if (!ok || version < 1) {
        FormatErrors::set(error, kNotOurs);
        return false;
    }
    into.body()->setUndoRedoEnabled(false);
    bool haveBody = false;
    while (r.readNextStartElement()) {
        if (r.name() == u"page") {
            readPage(r, into);
        } else if (r.name() == u"language") {
            readLanguage(r, into);
        } else if (r.name() == u"headerfooter" || r.name() == u"sectionparts") {
            if (!readHeaderFooter(r, into, data.size(), version, error)) {
                FormatErrors::set(error, kBroken);
                return false;
            }
        } else if (r.name() == u"body" && !haveBody) {
            if (!TextReader(r, into.body(), data.size(), version).run(error))
                return false;
            haveBody = true;
        } else if (r.name() == u"resources") {
            readResources(r, into);
        } else {
            r.skipCurrentElement();
        }
    }
    if (r.hasError() && r.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        FormatErrors::set(error, kBroken);
        return false;
    }
    if (r.hasError() && !haveBody) {
        FormatErrors::set(error, kNoBody);
        return false;
    }
    if (r.hasError())
        addNote(FormatErrors::incompleteNote());
    if (!haveBody) {
        FormatErrors::set(error, kNoBody);
        return false;
    }
    into.body()->setUndoRedoEnabled(true);
    return true;
}
