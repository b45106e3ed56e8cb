#include "BreakOpportunities.h"

namespace BreakOpportunities {

namespace {
constexpr QChar kBreak(0x200B);
}

QString insert(const QString& text)
{
    QString out;
    bool copying = false;
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestRun && !c.isLowSurrogate()) {
            if (!copying) {
                out.reserve(text.size() + text.size() / kLongestRun + 1);
                out = text.left(i);
                copying = true;
            }
            out += kBreak;
            run = 1;
        }
        if (copying)
            out += c;
    }
    return copying ? out : text;
}

QString Stripper::operator()(const QString& fragment)
{
    if (!fragment.contains(kBreak)) {
        // The common case: count the run on without copying.
        for (const QChar c : fragment)
            m_run = c.isSpace() ? 0 : m_run + 1;
        return fragment;
    }
    QString out;
    out.reserve(fragment.size());
    for (const QChar c : fragment) {
        if (c == kBreak && m_run == kLongestRun) {
            m_run = 0;
            continue;
        }
        m_run = c.isSpace() ? 0 : m_run + 1;
        out += c;
    }
    return out;
}

} // namespace BreakOpportunities
