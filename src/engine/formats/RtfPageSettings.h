#pragma once
// Page size, margins and header/footer distances of an RTF file. Office suites state
// them twice, for the document (\paperw ...) and for each section (\pgwsxn ...); the
// first section's values win; later sections only tell whether they differ (one page
// setup per document).

#include <QByteArray>

class Document;

class RtfPageSettings {
public:
    // Takes a document or section control word; false when `w` is neither.
    bool word(const QByteArray& w, int param);
    // Writes what the file stated into `doc`.
    void apply(Document& doc) const;
    // A later section has another page size or orientation than the first.
    bool laterSectionsDiffer() const;

private:
    enum { Width, Height, Left, Top, Right, Bottom, Count };
    struct Values {
        int v[Count] = {-1, -1, -1, -1, -1, -1};
    };
    Values m_document;
    Values m_section;
    Values m_current; // of the section being read
    bool m_landscape = false, m_firstLandscape = false;
    bool m_laterDiffer = false;
    void endSection();
    int m_headerY = -1, m_footerY = -1;
    int m_sections = 0; // section breaks seen
};
