#pragma once
// Writes the text of one QTextDocument (the body or a header/footer part) as
// WordprocessingML: paragraphs, runs, lists, tables, pictures, fields and links.
// Relationships belong to the part being written; lists and media to the package.

#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>

class QTextDocument;
class QTextFrame;
class QTextList;
class QTextTable;
class QTextTableCell;
class QXmlStreamWriter;

namespace Docx {

struct Relationship {
    QString id, type, target;
    bool external = false;
};

// What the parts of one package share.
struct PackageState {
    QList<QTextList*> lists;           // numId = index + 1
    QList<QPair<QString, QByteArray>> media; // package path, bytes
    int textWidthTwips = 9638;
    int nextPictureId = 1;
};

class BodyWriter {
public:
    BodyWriter(const QTextDocument* doc, PackageState& package, QXmlStreamWriter& xml);
    // Writes every paragraph and table of the document.
    void writeContent();
    const QList<Relationship>& relationships() const { return m_rels; }

private:
    QString addRelationship(const QString& type, const QString& target, bool external);
    void writeFrame(const QTextFrame* frame);
    void writeParagraph(const QTextBlock& b);
    void writeParagraphProperties(const QTextBlock& b);
    void writeRunProperties(const QTextCharFormat& f);
    void writeText(const QString& text, const QTextCharFormat& f);
    void writePicture(const QTextCharFormat& f);
    void writeFieldObject(const QTextCharFormat& f);
    void writeTable(const QTextTable* t);
    void writeCell(const QTextTable* t, const QTextTableCell& cell, int row, int col, bool continued,
                   int width);
    int listId(QTextList* list);

    const QTextDocument* m_doc;
    PackageState& m_package;
    QXmlStreamWriter& m_xml;
    QList<Relationship> m_rels;
    QHash<QString, QString> m_linkRels;
};

} // namespace Docx
