#pragma once
// Reads WordprocessingML text (the body, a header/footer part or notes) into a
// QTextDocument: paragraphs, runs, fields, links, lists, tables and pictures.

#include "DocxStyles.h"
#include "engine/Document.h"
#include "engine/formats/ListParts.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTextCursor>

class QTextList;

namespace ZipPackage {
class Reader;
}

namespace Docx {

struct Rel {
    QString type, target; // target resolved inside the package unless external
    bool external = false;
};
using Rels = QHash<QString, Rel>;

// What the readers of one package share.
struct ReadContext {
    ZipPackage::Reader& zip;
    const Styles& styles;
    PageGeometry page;
    QSet<QString>& unsupported;
    QList<QPair<int, QString>> notes; // number shown, note id ("f12" footnote, "e3" endnote)
};

class BodyReader {
public:
    BodyReader(QTextDocument* doc, ReadContext& context, const Rels& rels);
    // Reads the block content of `container` (w:body, w:hdr, w:ftr) into the empty document.
    void readAll(const ZipPackage::XmlNode& container);
    // Appends a note's paragraphs at the end of the document; its mark shows `number`.
    void appendNote(const ZipPackage::XmlNode& note, int number);

private:
    struct Run {
        QTextCharFormat format;
        QString href;
    };
    struct ComplexField {
        QString instruction;
        bool separated = false;
        bool shown = false; // the page object is out; the result text is not wanted
        int kind = 0;
        QString href;
    };

    void readBlocks(const ZipPackage::XmlNode& container, QTextCursor& c, bool& first);
    void readParagraph(const ZipPackage::XmlNode& p, QTextCursor& c, bool& first);
    void readInline(const ZipPackage::XmlNode& parent, QTextCursor& c, const Run& context);
    void readRun(const ZipPackage::XmlNode& r, QTextCursor& c, const Run& context);
    void readTable(const ZipPackage::XmlNode& tbl, QTextCursor& c, bool& first);
    void readDrawing(const ZipPackage::XmlNode& drawing, QTextCursor& c, const QTextCharFormat& f);
    void insertText(QTextCursor& c, const QString& text, const QTextCharFormat& f);
    void insertFieldObject(QTextCursor& c, const QString& instruction, const QTextCharFormat& f);
    void startParagraph(QTextCursor& c, bool& first, const QTextBlockFormat& bf, const QTextCharFormat& cf);
    QTextCharFormat withLinks(QTextCharFormat f, const QString& href) const;
    bool textSuppressed() const;

    QTextDocument* m_doc;
    ReadContext& m_ctx;
    const Rels& m_rels;
    QHash<QPair<int, int>, QTextList*> m_lists;
    ListParts m_listParts;
    QList<ComplexField> m_fields;
    int m_nextImageId = 1;
    int m_nextProvisional = -1;
    int m_noteNumber = 0; // while a note is read: the number its mark shows
    bool m_breakBefore = false;
    QString m_paragraphStyle;
};

} // namespace Docx
