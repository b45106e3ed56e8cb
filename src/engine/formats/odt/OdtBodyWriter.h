#pragma once
// Writes the text of one QTextDocument as ODF text elements and collects the automatic
// styles (paragraph, text, list, table, frame) they refer to. The styles of content.xml
// and of styles.xml (headers and footers) are separate sets, so each has its writer.

#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlock>

class QTextDocument;
class QTextFrame;
class QTextList;
class QTextTable;

namespace Odt {

struct Media {
    QList<QPair<QString, QByteArray>> files; // package path, bytes
    int next = 1;
};

class BodyWriter {
public:
    // `prefix` keeps style names of different sets apart ("" content, "M" master pages).
    BodyWriter(const QTextDocument* doc, Media& media, int textWidthTwips, const QString& prefix);
    // The content; the first paragraph's style names `firstMasterPage` when given.
    QString content(const QString& firstMasterPage = QString());
    // <style:style> and <text:list-style> elements for office:automatic-styles.
    QString automaticStyles() const { return m_styles; }

private:
    void writeFrame(const QTextFrame* frame);
    void writeBlock(const QTextBlock& b);
    void writeTable(const QTextTable* t);
    void writeRuns(const QTextBlock& b);
    void writeText(const QString& text);
    void writePicture(const QTextCharFormat& f);
    QString paragraphStyle(const QTextBlock& b);
    QString textStyle(const QTextCharFormat& f);
    QString listStyle(QTextList* list);
    QString styleNamed(const QString& family, const QString& body, QHash<QString, QString>& known, const char* stem);

    const QTextDocument* m_doc;
    Media& m_media;
    int m_textWidth;
    QString m_prefix;
    QString m_out, m_styles, m_firstMaster;
    QHash<QString, QString> m_paraStyles, m_textStyles, m_otherStyles;
    QHash<QTextList*, QString> m_lists;     // list -> list style name
    QHash<QTextList*, QString> m_listIds;   // list -> xml:id of its first element
    int m_tables = 0, m_frames = 0, m_listRuns = 0;
    bool m_spaceBefore = true;
};

} // namespace Odt
