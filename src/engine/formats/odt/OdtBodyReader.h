#pragma once
// Reads OpenDocument text elements (office:text, a header or footer) into a QTextDocument.

#include "OdtStyles.h"
#include "engine/Document.h"
#include "engine/formats/RtfFields.h"
#include "engine/formats/ListParts.h"

#include <QHash>
#include <QTextCursor>

class QTextList;

namespace ZipPackage {
class Reader;
}

namespace Odt {

struct ReadContext {
    ZipPackage::Reader& zip;
    const Styles& styles;
    PageGeometry page;
    QSet<QString>& unsupported;
    QList<const ZipPackage::XmlNode*> notes; // note bodies, numbered in order
};

class BodyReader {
public:
    BodyReader(QTextDocument* doc, ReadContext& context, bool contentPart);
    void readAll(const ZipPackage::XmlNode& container);
    void appendNotes();
    // The master page named by the first paragraph's style (content only).
    QString firstMasterPage() const { return m_firstMaster; }

private:
    struct ListRun {
        QString style;
        QString chain;
        int depth = 0;
    };
    void readBlocks(const ZipPackage::XmlNode& container, QTextCursor& c, bool& first, const ListRun* list);
    void readList(const ZipPackage::XmlNode& list, QTextCursor& c, bool& first, ListRun run);
    void readParagraph(const ZipPackage::XmlNode& p, QTextCursor& c, bool& first, const ListRun* list);
    void readInline(const ZipPackage::XmlNode& parent, QTextCursor& c, QTextCharFormat f, const QString& href);
    void readTable(const ZipPackage::XmlNode& table, QTextCursor& c, bool& first);
    void readFrame(const ZipPackage::XmlNode& frame, QTextCursor& c, const QTextCharFormat& f);
    void text(QTextCursor& c, const QString& s, const QTextCharFormat& f);

    QTextDocument* m_doc;
    ReadContext& m_ctx;
    bool m_content;
    QHash<QPair<QString, int>, QTextList*> m_lists;
    ListParts m_listParts;
    QHash<QString, QString> m_chainOfId;   // xml:id of a text:list -> its chain
    QHash<QString, QString> m_lastChainOfStyle;
    int m_chains = 0;
    bool m_spaceBefore = true;
    bool m_first = true;
    QString m_firstMaster;
    int m_nextImageId = 1;
    int m_nextProvisional = -1;
    RtfFields::Field m_field; // the own field a bookmark pair opened
    bool m_inField = false;
};

} // namespace Odt
