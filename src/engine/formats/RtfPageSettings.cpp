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
            m_current.v[i] = twips(p);
            return true;
        }
    }
    if (w == "sectd") {
        // Back to the defaults of a section: the document's values.
        if (m_sections == 0)
            m_section = Values();
        m_current = Values();
        m_landscape = false;
        return true;
    }
    if (w == "lndscpsxn") {
        m_landscape = true;
        return true;
    }
    if (w == "sect") {
        endSection();
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

void RtfPageSettings::endSection()
{
    if (m_sections == 0) {
        m_firstLandscape = m_landscape;
        return;
    }
    auto size = [this](const Values& v, int i) { return v.v[i] >= 0 ? v.v[i] : m_document.v[i]; };
    const Values& first = m_section;
    if (m_landscape != m_firstLandscape || size(m_current, Width) != size(first, Width)
        || size(m_current, Height) != size(first, Height))
        m_laterDiffer = true;
}

bool RtfPageSettings::laterSectionsDiffer() const
{
    // The last section ends with the file, not with \sect.
    RtfPageSettings probe = *this;
    if (m_sections > 0)
        probe.endSection();
    return probe.m_laterDiffer;
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
