#include "RtfPageSettings.h"

#include "engine/Document.h"

#include <QtGlobal>

namespace {
int twips(int v) { return qBound(0, v, 31680 * 10); }
} // namespace

bool RtfPageSettings::word(const QByteArray& w, int p)
{
    static const char* const documentWords[Count] = {"paperw", "paperh", "margl", "margt", "margr", "margb"};
    static const char* const sectionWords[Count] = {"pgwsxn", "pghsxn", "marglsxn", "margtsxn", "margrsxn", "margbsxn"};
    for (int i = 0; i < Count; ++i) {
        if (w == documentWords[i]) {
            m_document.v[i] = twips(p);
            return true;
        }
        if (w == sectionWords[i]) {
            if (m_sections == 0)
                m_section.v[i] = twips(p);
            return true;
        }
    }
    if (w == "sectd") {
        // Back to the defaults of a section: the document's values.
        if (m_sections == 0)
            m_section = Values();
        return true;
    }
    if (w == "sect") {
        ++m_sections;
        return true;
    }
    // Header and footer distances belong to the section as well.
    if (w == "headery") {
        if (m_sections == 0)
            m_headerY = twips(p);
        return true;
    }
    if (w == "footery") {
        if (m_sections == 0)
            m_footerY = twips(p);
        return true;
    }
    return false;
}

void RtfPageSettings::apply(Document& doc) const
{
    PageGeometry g = doc.page();
    int* fields[Count] = {&g.width, &g.height, &g.marginL, &g.marginT, &g.marginR, &g.marginB};
    for (int i = 0; i < Count; ++i) {
        const int v = m_section.v[i] >= 0 ? m_section.v[i] : m_document.v[i];
        if (v >= 0)
            *fields[i] = v;
    }
    doc.setPage(g);
    if (m_headerY >= 0)
        doc.setHeaderDistance(m_headerY);
    if (m_footerY >= 0)
        doc.setFooterDistance(m_footerY);
}
