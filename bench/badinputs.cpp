// Reading and paginating large and deeply nested inputs: long plain text, 20,000 table
// rows, 100,000 list paragraphs in every format, 50,000 frames and tables, HTML nested
// 100,000 deep.
// Prints the time of each step; run it from the build folder.
// "badinputs convert [--before OLD/qx-text]" converts 10^5 and 10^6 text lines and 16,000 pages of
// plain text with "qx-text --convert-to pdf" and prints wall and CPU seconds, peak memory,
// the PDF's page count (pdfinfo) and whether its last page holds the last line (pdftotext).
// Before that, in this process, the 16,000 pages apart: reading, pagination (the page
// count and every page's lines fixed) and drawing the PDF, each in CPU seconds.

#include "ChildRun.h"

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/formats/Formats.h"
#include "engine/formats/zip/ZipPackage.h"
#include "engine/objects/Lists.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The text as a conversion reads it, paginated, then drawn into a PDF in memory.
void paginateApart(const QByteArray& text, const QString& lastLine)
{
    double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    auto lap = [&](double* seconds) {
        const double now = cpuSeconds();
        *seconds = now - cpu;
        cpu = now;
    };
    Document doc;
    doc.body()->setPageSize(QSizeF(0, 0)); // as a conversion holds the body's layout back
    QString error;
    if (!Formats::read(1, text, doc, nullptr, &error)) {
        std::printf("not read: %s\n", qPrintable(error));
        return;
    }
    double readCpu, pagesCpu, pdfCpu;
    lap(&readCpu);
    Paginator pages(&doc, Paginator::DoesNotChange);
    const int count = pages.pageCount();
    // The last line's page: known only when every line before it has its place.
    const int lastPage = pages.pageOfPosition(doc.body()->characterCount() - 1 - int(lastLine.size()));
    lap(&pagesCpu);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    PdfExport::Stream stream(&buffer);
    const bool drawn = stream.add(pages, &error) && stream.finish(&error);
    lap(&pdfCpu);
    std::printf("in this process: read %.1f, paginate %.1f (%d pages, last line on page %d), draw PDF %.1f%s "
                "CPU s; %.1f s wall\n",
                readCpu, pagesCpu, count, lastPage, pdfCpu, drawn ? "" : " (failed)", wall.nsecsElapsed() / 1e9);
    std::fflush(stdout);
}

void run(const char* what, int format, const QByteArray& data)
{
    QElapsedTimer t;
    t.start();
    Document doc;
    QString error;
    const bool ok = Formats::read(format, data, doc, nullptr, &error);
    const qint64 readMs = t.elapsed();
    t.restart();
    Paginator pages(&doc);
    const int count = ok ? pages.pageCount() : 0;
    std::printf("%-34s read %6lld ms, paginate %6lld ms, %6d pages, %8d paragraphs%s%s\n", what,
                static_cast<long long>(readMs), static_cast<long long>(t.elapsed()), count, doc.body()->blockCount(),
                ok ? "" : ", refused: ", ok ? "" : qPrintable(error));
    std::fflush(stdout);
}

QByteArray lines(int n, const QByteArray& line)
{
    QByteArray b;
    b.reserve(qsizetype(n) * (line.size() + 1));
    for (int i = 0; i < n; ++i)
        b += line + '\n';
    return b;
}

// The own format's frames, each with one paragraph.
QByteArray ownFrames(int n)
{
    return "<textdocument version=\"1\"><body>" + QByteArray("<frame><p><r>Rahmen</r></p></frame>").repeated(n)
           + "</body></textdocument>";
}

// The markup from `open` before the item "PunktB" to `close` after it, written n times.
QByteArray repeated(const QByteArray& doc, const QByteArray& open, const QByteArray& close, int n)
{
    const qsizetype at = doc.indexOf("PunktB");
    const qsizetype from = doc.lastIndexOf(open, at);
    const qsizetype to = doc.indexOf(close, at) + close.size();
    return doc.left(from) + doc.mid(from, to - from).repeated(n) + doc.mid(to);
}

// A list of n items in a format (own 3, RTF 5, DOCX 13, ODT 14), made by writing a list
// of two and repeating the second item's markup.
QByteArray longList(int format, int n, int type)
{
    Document doc;
    QTextCursor c(doc.body());
    c.insertText(QStringLiteral("PunktA"));
    Lists::State state;
    Lists::setListType(c, type, state);
    c.insertBlock();
    c.insertText(QStringLiteral("PunktB"));
    c.insertBlock();
    Lists::setListType(c, Lists::None, state);
    c.insertText(QStringLiteral("Ende"));
    QByteArray out;
    QString error;
    Formats::write(format, doc, nullptr, &out, &error);
    if (format == 3)
        return repeated(out, "<p ", "</p>", n - 1);
    if (format == 5)
        return repeated(out, "\n\\pard\\plain\\ls", "\\par", n - 1);
    // Packages: the item is repeated inside the body part, the rest copied as it is.
    ZipPackage::Reader r;
    ZipPackage::Writer w;
    r.open(out, &error);
    for (const QString& name : r.names()) {
        QByteArray part;
        r.read(name, &part, &error);
        if (name == u"word/document.xml")
            part = repeated(part, "<w:p>", "</w:p>", n - 1);
        else if (name == u"content.xml")
            part = repeated(part, "<text:list-item>", "</text:list-item>", n - 1);
        w.add(name, part, true); // packed, the repeats would look like a ZIP bomb
    }
    QByteArray zip;
    w.finish(&zip, &error);
    return zip;
}

QString toolOutput(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(600000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Text files of `lines` lines "Zeile N<tail>" converted to PDF by the program of this
// build (and an older one): what it cost, the pages, and the last line on the last page.
int convertRows(QStringList given)
{
    {
        QByteArray text;
        for (int i = 1; i <= 16000 * 57; ++i)
            text += "Zeile " + QByteArray::number(i) + " mit etwas Text" + (i < 16000 * 57 ? "\n" : "");
        paginateApart(text, QStringLiteral("Zeile %1 mit etwas Text").arg(16000 * 57));
    }
    QTemporaryDir dir;
    isolateChildren(dir.filePath(QStringLiteral("home")));
    QDir().mkpath(dir.filePath(QStringLiteral("home")));
    const Programs programs = programsFrom(&given);
    std::printf("%-30s %-7s %8s %8s %9s  %s\n", "work", "build", "seconds", "CPU s", "peak MB", "result");
    // 57 lines of Arial 11 fill an A4 page with 2 cm margins.
    const struct {
        const char* what;
        int lines;
        const char* tail;
    } rows[] = {{"10^5 text lines -> PDF", 100000, ""},
                {"10^6 text lines -> PDF", 1000000, ""},
                {"16,000 pages -> PDF", 16000 * 57, " mit etwas Text"}};
    int rc = 0;
    for (const auto& row : rows) {
        const QString path = dir.filePath(QStringLiteral("zeilen%1.txt").arg(row.lines));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        // No line end after the last line: it would be an empty paragraph on a page of
        // its own after 16,000 full ones.
        for (int i = 1; i <= row.lines; ++i)
            f.write("Zeile " + QByteArray::number(i) + row.tail + (i < row.lines ? "\n" : ""));
        f.close();
        const QString pdf = dir.filePath(QStringLiteral("out/zeilen%1.pdf").arg(row.lines));
        for (const auto& [build, program] : {std::pair{"before", programs.before}, {"after", programs.after}}) {
            if (program.isEmpty())
                continue;
            QFile::remove(pdf);
            const ChildResult r = runChild(program, {QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                                     QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")),
                                                     path});
            const QString pages = QRegularExpression(QStringLiteral("Pages:\\s*(\\d+)"))
                                      .match(toolOutput(QStringLiteral("pdfinfo"), {pdf}))
                                      .captured(1);
            const QString lastLine = QStringLiteral("Zeile %1").arg(row.lines) + QLatin1String(row.tail);
            const bool found = !pages.isEmpty()
                               && toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-f"), pages, QStringLiteral("-l"),
                                                                           pages, pdf, QStringLiteral("-")})
                                      .contains(lastLine);
            std::printf("%-30s %-7s %8.1f %8.1f %9.1f  %s pages, last line %s%s\n", row.what, build, r.seconds,
                        r.cpuSeconds, r.peakKb / 1024.0, qPrintable(pages.isEmpty() ? QStringLiteral("no") : pages),
                        found ? "found" : "MISSING", r.status == 0 ? "" : "  (failed)");
            std::fflush(stdout);
            rc |= r.status | !found;
        }
    }
    return rc;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "convert") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv); // fonts for the pagination measured here
        return convertRows(QCoreApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    // "badinputs N" or "badinputs KIND N": one input of size N, to see how reading and
    // paginating scale (KIND: lines, text, list, tables, frames).
    if (argc > 1 && QByteArray(argv[1]) != "huge") {
        const QByteArray kind = argc > 2 ? QByteArray(argv[1]) : QByteArray("lines");
        const int n = QByteArray(argv[argc > 2 ? 2 : 1]).toInt();
        const QString what = QStringLiteral("%1 %2").arg(QString::fromLatin1(kind)).arg(n);
        if (kind == "lines")
            run(qPrintable(what), 1, QByteArray(n, '\n'));
        else if (kind == "text")
            run(qPrintable(what), 1, lines(n, "Zeile mit etwas Text"));
        else if (kind == "list")
            run(qPrintable(what), 4, "<ul>" + QByteArray("<li>Punkt</li>").repeated(n) + "</ul>");
        else if (kind == "tables")
            run(qPrintable(what), 4, QByteArray("<table><tr><td>a</td></tr></table>").repeated(n));
        else if (kind == "frames")
            run(qPrintable(what), 3, ownFrames(n));
        // ownlist, rtflist, docxlist, odtlist (bullets); ownnumbers … (numbered)
        for (const auto& [name, format] : {std::pair{"own", 3}, {"rtf", 5}, {"docx", 13}, {"odt", 14}}) {
            if (kind == QByteArray(name) + "list")
                run(qPrintable(what), format, longList(format, n, Lists::Bullets));
            else if (kind == QByteArray(name) + "numbers")
                run(qPrintable(what), format, longList(format, n, Lists::Numbers));
        }
        return 0;
    }
    for (int n : {10000, 50000, 100000})
        run(qPrintable(QStringLiteral("text, %1 lines").arg(n)), 1, lines(n, "Zeile mit etwas Text"));
    run("text, 400,000 empty lines", 1, QByteArray(400000, '\n'));
    run("rtf, 20,000 table rows", 5,
        "{\\rtf1 " + QByteArray("\\trowd\\cellx2000\\cellx4000 a\\cell b\\cell\\row ").repeated(20000) + "}");
    run("html, 100,000 nested <b>", 4, QByteArray("<b>").repeated(100000) + "x" + QByteArray("</b>").repeated(100000));
    run("html, 100,000 nested <div>", 4, QByteArray("<div>").repeated(100000) + "x");
    run("html, 10,000 nested <ul><li>", 4, QByteArray("<ul><li>x").repeated(10000));
    run("html, colspan 10,000,000", 4, "<table><tr><td colspan=10000000>a</td></tr></table>");
    run("rtf, \\paperh1", 5, "{\\rtf1\\paperh1\\paperw1 " + QByteArray("Text \\par ").repeated(2000) + "}");
    run("html, 100,000 list paragraphs", 4, "<ul>" + QByteArray("<li>Punkt</li>").repeated(100000) + "</ul>");
    run("html, 20,000 numbered paragraphs", 4, "<ol>" + QByteArray("<li>Punkt</li>").repeated(20000) + "</ol>");
    for (const auto& [name, format] : {std::pair{"own", 3}, {"rtf", 5}, {"docx", 13}, {"odt", 14}})
        for (int n : {10000, 100000}) {
            run(qPrintable(QStringLiteral("%1, %2 list paragraphs").arg(QLatin1String(name)).arg(n)), format,
                longList(format, n, Lists::Bullets));
            run(qPrintable(QStringLiteral("%1, %2 numbered paragraphs").arg(QLatin1String(name)).arg(n)), format,
                longList(format, n, Lists::Numbers));
        }
    run("own, 50,000 frames", 3, ownFrames(50000));
    run("html, 50,000 tables", 4, QByteArray("<table><tr><td>a</td></tr></table>").repeated(50000));
    // Qt's layout of a continuous (unpaginated) document slows to a crawl past 2^23
    // pixels (QFIXED_MAX, about 7,470 A4 pages at 96 dpi), and these rows lay the body
    // out as a window does: "badinputs huge" runs the inputs beyond it. A conversion
    // does not lay the body out at all ("badinputs convert").
    if (QCoreApplication::arguments().contains(QStringLiteral("huge"))) {
        run("text, 1,000,000 empty lines", 1, QByteArray(1000000, '\n'));
        run("rtf, 1,000,000 \\par", 5, "{\\rtf1 " + QByteArray("\\par ").repeated(1000000) + "}");
        // 57 lines of Arial 11 fill an A4 page with 2 cm margins.
        run("text, 16,000 pages (912,000 lines)", 1, lines(16000 * 57, "Zeile mit etwas Text"));
    }
    return 0;
}
