// Load and save times of a 500-page document in the own format, RTF and plain text.
// Prints one line per format; no assertions.

#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextTable>
#include <cstdio>

namespace {

// About ten paragraphs of 70 words fill an A4 page in Arial 11.
void fill(Document& doc, int pages)
{
    QTextCursor c(doc.body());
    c.beginEditBlock();
    QTextCharFormat plain, bold, field;
    bold.setFontWeight(QFont::Bold);
    field.setProperty(QTextFormat::UserProperty + 1, 17);
    field.setForeground(QColor(0, 0, 160));
    const QString words = QStringLiteral("Sehr geehrte Damen und Herren, wir bestätigen Ihnen den Eingang Ihrer Bestellung "
                                         "über fünfzehn Einheiten und liefern die Ware in der kommenden Woche aus. ");
    for (int p = 0; p < pages * 10; ++p) {
        if (p)
            c.insertBlock();
        c.insertText(words, plain);
        c.insertText(QStringLiteral("Kunde Nr. %1").arg(p), bold);
        c.insertText(QStringLiteral(" "), plain);
        c.insertText(QStringLiteral("Feld"), field);
        c.insertText(QStringLiteral(" ") + words + words, plain);
        if (p % 50 == 49) {
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Document doc;
    QElapsedTimer t;
    t.start();
    fill(doc, 500);
    std::printf("document: %d paragraphs, %lld characters, built in %lld ms\n", doc.body()->blockCount(),
                qlonglong(doc.body()->characterCount()), t.elapsed());
    const struct {
        int format;
        const char* name;
    } formats[] = {{3, "own format"}, {5, "RTF"}, {1, "plain text"}};
    for (const auto& f : formats) {
        QByteArray bytes;
        QString error;
        t.restart();
        if (!Formats::write(f.format, doc, nullptr, &bytes, &error)) {
            std::printf("%s: save failed: %s\n", f.name, qPrintable(error));
            continue;
        }
        const qint64 save = t.elapsed();
        Document back;
        t.restart();
        const bool ok = Formats::read(f.format, bytes, back, nullptr, &error);
        const qint64 load = t.elapsed();
        // The reader alone, without moving the result into the document.
        Document parsed;
        t.restart();
        Formats::readerFor(f.format)->read(bytes, parsed, &error);
        const qint64 parse = t.elapsed();
        std::printf("%-10s  save %5lld ms  load %5lld ms (reader %5lld ms)  %8.1f KiB  %s\n", f.name, save, load, parse,
                    bytes.size() / 1024.0, ok ? "ok" : qPrintable(error));
    }
    return 0;
}
