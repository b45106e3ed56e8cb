#pragma once
// What HTML has no element for, written so that our reader (and office programs, which
// use the same marks) finds it again: the page size and margins as a CSS @page rule,
// headers and footers as <div title="header"> and <div title="footer"> blocks, page
// numbers as <sdfield> elements, tab stops as a data-tabs attribute of the paragraph.

#include <QList>
#include <QString>
#include <QTextOption>

#include <functional>

class Document;
class QTextBlockFormat;
class QTextDocument;

namespace HtmlPages {

// Writing.
QString pageRule(const Document& doc);
// The opening tag of a part's block (1 header, 2 first-page header, 4 footer,
// 8 first-page footer).
QString partStart(const Document& doc, int part);
QString pageNumber(bool count);
// ' data-tabs="..."' for a paragraph with its own tab stops, else empty.
QString tabsAttribute(const QTextBlockFormat& f);

// Reading, before Qt's importer: takes the page rule, the parts and the tab stops out of
// `html`. Afterwards apply() puts them into the document that the importer filled.
class Reader {
public:
    QString prepare(const QString& html);
    // Page size, margins and the parts; `importPart` fills a part's document from its
    // HTML, the way the body was filled.
    void apply(Document& doc, const std::function<void(QTextDocument*, const QString&)>& importPart);
    bool hasPage() const { return m_size[0] > 0 || m_margins[0] >= 0; }
    // Turns the page-number marks of `d` into page-number fields and sets the tab
    // stops of the paragraphs that carried them.
    void finishText(QTextDocument* d) const;

private:
    struct Part {
        int part;
        QString html;
        int distance; // twips, -1 when not given
    };
    QString takeParts(const QString& html);
    QString rewrite(const QString& html);
    void readPageRule(const QString& css);

    QList<Part> m_parts;
    QList<QList<QTextOption::Tab>> m_tabs;
    double m_size[2] = {0, 0};        // twips
    double m_margins[4] = {-1, -1, -1, -1}; // top, right, bottom, left, twips
};

} // namespace HtmlPages
