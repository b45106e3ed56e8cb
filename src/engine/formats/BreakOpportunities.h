#pragma once
// Qt's line breaking looks ahead to the end of the current word for every line, so a
// word of a million characters (a long line without blanks) takes hours to lay out.
// The plain-text reader puts an invisible break opportunity (zero-width space) after
// every kLongestRun characters of such a run; the writers of other programs' formats
// take exactly those out again, so a file read and saved keeps its bytes.

#include <QString>

namespace BreakOpportunities {

constexpr int kLongestRun = 1000;

// `text` with a break opportunity inside every run longer than kLongestRun.
QString insert(const QString& text);

// Takes the inserted break opportunities out of the fragments of one paragraph, fed
// in order; a new one for each paragraph.
class Stripper {
public:
    QString operator()(const QString& fragment);

private:
    int m_run = 0;
};

} // namespace BreakOpportunities
