#pragma once
// Page size, margins and header/footer distances of an RTF file. Office suites state
// them for the document (\paperw ...) and for each section (\pgwsxn ...); a section's
// own values win, and a section takes over the one before it unless \sectd resets it.

#include "engine/Sections.h"

#include <QByteArray>
#include <QList>

class Document;

class RtfPageSettings {
public:
    // Takes a document or section control word; false when `w` is neither.
    bool word(const QByteArray& w, int param);
    // Writes the first section's page and distances into `doc`.
    void apply(Document& doc) const;
    // Sections read (the one being read included).
    int sectionCount() const { return int(m_done.size()) + 1; }
    // The page of section `i`, 0 the first; no header/footer set named.
    SectionFormat section(int i) const;
    // The section starts on the page the one before ends on (\sbknone).
    bool continuous(int i) const { return values(i).continuous; }
    bool titlePage(int i) const { return values(i).titlePage; }

private:
    enum { Width, Height, Left, Top, Right, Bottom, HeaderY, FooterY, Count };
    struct Values {
        int v[Count] = {-1, -1, -1, -1, -1, -1, -1, -1};
        bool landscape = false;
        bool continuous = false;
        bool titlePage = false;
    };
    const Values& values(int i) const { return i >= 0 && i < m_done.size() ? m_done[i] : m_current; }
    Values m_document;
    QList<Values> m_done; // sections ended by \sect
    Values m_current;     // of the section being read
};
