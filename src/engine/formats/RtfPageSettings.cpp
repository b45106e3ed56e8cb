#include "RtfPageSettings.h"

#include "engine/Document.h"

#include <QtGlobal>

namespace {
int twips(int v) { return qBound(0, v, 31680 * 10); }
} // namespace

bool RtfPageSettings::word(const QByteArray& w, int p)
{
    static const char* const documentWords[] = {"paperw", "paperh", "margl", "margt", "margr", "margb"};
    static const char* const sectionWords[Count] = {"pgwsxn", "pghsxn", "marglsxn", "margtsxn", "margrsxn", "margbsxn",
                                                    "headery", "footery"};
    for (int i = 0; i < Count; ++i) {
        if (i < HeaderY && w == documentWords[i]) {
            m_document.v[i] = twips(p);
            return true;
        }
        if (w == sectionWords[i]) {
            m_current.v[i] = twips(p);
            return true;
        }
    }
    if (w == "sectd") {
        // Back to the defaults of a section: the document's values.
        m_current = Values();
        return true;
    }
    if (w == "lndscpsxn") {
        m_current.landscape = true;
        return true;
    }
    if (w == "titlepg") {
        m_current.titlePage = true;
        return false; // the reader notes it for the first section's parts too
    }
    if (w == "sbknone" || w == "sbkcol") {
        m_current.continuous = true;
        return false; // the reader takes the pending page break back
    }
    if (w == "sbkpage" || w == "sbkodd" || w == "sbkeven") {
        m_current.continuous = false;
        return true;
    }
    if (w == "sect") {
        // The next section starts with this one's values; only its break is its own.
        m_done.append(m_current);
        m_current.continuous = false;
        return true;
    }
    return false;
}

SectionFormat RtfPageSettings::section(int i) const
{
    const Values& s = values(i);
    SectionFormat f;
    PageGeometry& g = f.page;
    int* fields[] = {&g.width, &g.height, &g.marginL, &g.marginT, &g.marginR, &g.marginB};
    for (int k = 0; k < HeaderY; ++k) {
        const int v = s.v[k] >= 0 ? s.v[k] : m_document.v[k];
        if (v >= 0)
            *fields[k] = v;
    }
    // A landscape section that states only the portrait sheet turns it.
    if (s.landscape && g.width < g.height)
        std::swap(g.width, g.height);
    if (s.v[HeaderY] >= 0)
        f.headerDistance = s.v[HeaderY];
    if (s.v[FooterY] >= 0)
        f.footerDistance = s.v[FooterY];
    return f;
}

void RtfPageSettings::apply(Document& doc) const
{
    const SectionFormat f = section(0);
    doc.setPage(f.page);
    doc.setHeaderDistance(f.headerDistance);
    doc.setFooterDistance(f.footerDistance);
}
