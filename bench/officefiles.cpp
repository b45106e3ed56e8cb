// Write and read times of a 500-page Word (DOCX) and OpenDocument (ODT) file: a page
// break opens each page, which holds a heading, ten formatted paragraphs, a list and
// every tenth page a table. Prints one line per format and direction; no assertions.

#include "engine/Document.h"
#include "engine/objects/Lists.h"
#include "engine/formats/Formats.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextTable>
#include <cstdio>

namespace {

void fill(Document& doc, int pages)
{
    QTextCursor c(doc.body());
    c.beginEditBlock();
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    italic.setForeground(QColor(0, 0, 160));
    const QString words = QStringLiteral("Sehr geehrte Damen und Herren, wir bestätigen Ihnen den Eingang Ihrer Bestellung "
                                         "über fünfzehn Einheiten und liefern die Ware in der kommenden Woche aus. ");
    Lists::State lists;
    for (int p = 0; p < pages; ++p) {
        QTextBlockFormat heading;
        heading.setHeadingLevel(1);
        if (p)
            heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (p)
            c.insertBlock(heading, bold);
        else
            c.setBlockFormat(heading);
        c.insertText(QStringLiteral("Seite %1").arg(p + 1), bold);
        for (int i = 0; i < 10; ++i) {
            c.insertBlock(QTextBlockFormat(), plain);
            c.insertText(words, plain);
            c.insertText(QStringLiteral("Kunde Nr. %1").arg(p * 10 + i), bold);
            c.insertText(QStringLiteral(" ") + words, italic);
        }
        for (int i = 0; i < 3; ++i) {
            c.insertBlock(QTextBlockFormat(), plain);
            c.insertText(QStringLiteral("Punkt %1").arg(i + 1));
            Lists::setListType(c, Lists::Numbers, lists);
        }
        c.insertBlock(QTextBlockFormat(), plain);
        Lists::setListType(c, Lists::None, lists);
        if (p % 10 == 9) {
            QTextTable* t = c.insertTable(4, 3);
            for (int r = 0; r < 4; ++r)
                for (int col = 0; col < 3; ++col)
                    t->cellAt(r, col).firstCursorPosition().insertText(QStringLiteral("Zelle %1/%2").arg(r).arg(col));
            c.setPosition(t->lastPosition() + 1);
        }
    }
    c.endEditBlock();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int pages = 500;
    Document doc;
    fill(doc, pages);
    std::printf("document: %d pages, %d paragraphs, %lld characters\n", pages, doc.body()->blockCount(),
                static_cast<long long>(doc.body()->characterCount()));
    for (const auto& [format, name] : {std::pair{13, "DOCX"}, std::pair{14, "ODT"}}) {
        QByteArray bytes;
        QString error;
        QElapsedTimer t;
        t.start();
        if (!Formats::write(format, doc, nullptr, &bytes, &error)) {
            std::printf("%s: write failed: %s\n", name, qPrintable(error));
            continue;
        }
        const qint64 writeMs = t.elapsed();
        Document back;
        t.restart();
        const bool ok = Formats::read(format, bytes, back, nullptr, &error);
        const qint64 readMs = t.elapsed();
        std::printf("%-4s write %6lld ms  read %6lld ms  file %7.1f KB  %s (%d paragraphs back)\n", name,
                    static_cast<long long>(writeMs), static_cast<long long>(readMs), bytes.size() / 1024.0,
                    ok ? "ok" : qPrintable(error), back.body()->blockCount());
    }
    return 0;
}
