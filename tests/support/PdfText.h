#pragma once
// Reads printed PDF files back through poppler's pdftotext.
// No own time limit: under a loaded machine pdftotext of a long PDF can take minutes,
// and ctest's per-test timeout already bounds a hang.

#include <QFile>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

inline bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of one page (1-based), laid out as on the page.
inline QString pdfPageText(const QString& file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
             QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Number of pages; pdftotext ends every page with a form feed.
inline int pdfPages(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(-1);
    return int(QString::fromUtf8(p.readAllStandardOutput()).count(QChar(12)));
}

// One word of a PDF page with its box in points, from pdftotext -bbox (origin at the
// page's top left).
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
struct PdfPage {
    double width = 0, height = 0; // points
    QList<PdfWord> words;
};

// Every page of `file` with its size and words; empty when pdftotext fails.
inline QList<PdfPage> pdfWordBoxes(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    p.waitForFinished(-1);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
        "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfPage> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty())
            pages.append({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        else if (!pages.isEmpty())
            pages.last().words.append({m.captured(7), m.captured(3).toDouble(), m.captured(4).toDouble(),
                                       m.captured(5).toDouble(), m.captured(6).toDouble()});
    }
    return pages;
}

// The first word `text` on `page` (1-based); null when missing.
inline const PdfWord* pdfWord(const QList<PdfPage>& pages, int page, const QString& text)
{
    if (page < 1 || page > pages.size())
        return nullptr;
    for (const PdfWord& w : pages[page - 1].words)
        if (w.text == text)
            return &w;
    return nullptr;
}

// The pages as lines, "page N width height" and then "xMin yMin xMax yMax word" for
// each word, in points to six decimals: the form of the word lists beside the tests.
inline QStringList pdfWordLines(const QList<PdfPage>& pages)
{
    QStringList out;
    for (int p = 0; p < pages.size(); ++p) {
        out << QStringLiteral("page %1 %2 %3").arg(p + 1).arg(pages[p].width, 0, 'f', 6).arg(pages[p].height, 0, 'f', 6);
        for (const PdfWord& w : pages[p].words)
            out << QStringLiteral("%1 %2 %3 %4 %5").arg(w.xMin, 0, 'f', 6).arg(w.yMin, 0, 'f', 6).arg(w.xMax, 0, 'f', 6).arg(w.yMax, 0, 'f', 6).arg(w.text);
    }
    return out;
}

// Compares the pages of `file` with word boxes written down from an earlier build
// (`expected`: "page N width height" lines, then "xMin yMin xMax yMax word" lines),
// to a hundredth of a point, for as many pages as that list has. Words on a line
// holding a word that contains `skip` (a date) are left out on both sides. Empty
// when they agree, else the first difference.
inline QString differsFromWordList(const QString& file, const QString& expected, const QString& skip = {})
{
    QFile f(expected);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + expected;
    QList<PdfPage> want;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QStringList v = line.split(QLatin1Char(' '));
        if (line.startsWith(u"page ") && v.size() == 4)
            want.append({v[2].toDouble(), v[3].toDouble(), {}});
        else if (!line.startsWith(u'#') && v.size() == 5 && !want.isEmpty())
            want.last().words.append({v[4], v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble()});
    }
    const QList<PdfPage> got = pdfWordBoxes(file);
    // A deliberate layout change renews the list: its comment stays, the pages are
    // rewritten from what was printed now (as many as the list had).
    if (qEnvironmentVariableIsSet("QX_RENEW_WORD_LISTS") && f.seek(0)) {
        QString out = QString::fromUtf8(f.readLine());
        for (const QString& line : pdfWordLines(got.mid(0, qMin(got.size(), want.size()))))
            out += line + QLatin1Char('\n');
        f.close();
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(out.toUtf8());
        return {};
    }
    if (got.size() < want.size())
        return QStringLiteral("%1 pages, %2 expected").arg(got.size()).arg(want.size());
    const auto kept = [&](const QList<PdfWord>& words) {
        QList<double> skipped;
        for (const PdfWord& w : words)
            if (!skip.isEmpty() && w.text.contains(skip))
                skipped.append(w.yMin);
        QList<PdfWord> out;
        for (const PdfWord& w : words)
            if (!skipped.contains(w.yMin))
                out.append(w);
        return out;
    };
    for (int p = 0; p < want.size(); ++p) {
        if (qAbs(got[p].width - want[p].width) > 0.01 || qAbs(got[p].height - want[p].height) > 0.01)
            return QStringLiteral("page %1 has another size").arg(p + 1);
        const QList<PdfWord> a = kept(got[p].words), b = kept(want[p].words);
        for (int i = 0; i < qMax(a.size(), b.size()); ++i) {
            const QString at = QStringLiteral("page %1 word %2: ").arg(p + 1).arg(i + 1);
            if (i >= a.size() || i >= b.size())
                return at + QStringLiteral("%1 words, %2 expected").arg(a.size()).arg(b.size());
            if (a[i].text != b[i].text || qAbs(a[i].xMin - b[i].xMin) > 0.01 || qAbs(a[i].yMin - b[i].yMin) > 0.01
                || qAbs(a[i].xMax - b[i].xMax) > 0.01 || qAbs(a[i].yMax - b[i].yMax) > 0.01)
                return at + QStringLiteral("\"%1\" at %2,%3 instead of \"%4\" at %5,%6")
                                .arg(a[i].text).arg(a[i].xMin).arg(a[i].yMin).arg(b[i].text).arg(b[i].xMin).arg(b[i].yMin);
        }
    }
    return {};
}
