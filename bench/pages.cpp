// Paginating and exporting a 500-page document, and typing at its end in the layout
// view. Prints its figures; run it from the build folder.

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <cstdio>

static void fill(Document& d, int targetPages)
{
    d.setHeaderFooterSet(5);
    QTextCursor h(d.headerFooter(1));
    h.insertText(QStringLiteral("Kopfzeile – Seite "));
    const int id = Fields::insert(h, QString());
    Fields::setType(d.headerFooter(1), id, FieldTypes::PageNumber);
    QTextCursor(d.headerFooter(4)).insertText(QStringLiteral("Fußzeile"));
    // 27 of these three-line paragraphs fill about one A4 page with 2 cm margins.
    const QString para = QStringLiteral(
        "Sehr geehrte Damen und Herren, hiermit bestätigen wir den Eingang Ihrer Bestellung "
        "und danken für Ihr Vertrauen. Die Lieferung erfolgt in den nächsten Tagen.");
    QTextCursor c(d.body());
    c.beginEditBlock();
    for (int i = 0; i < targetPages * 27; ++i) {
        if (i)
            c.insertBlock();
        c.insertText(para);
    }
    c.endEditBlock();
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int target = 500;
    Document doc;
    fill(doc, target);

    QElapsedTimer t;
    t.start();
    Paginator pages(&doc);
    const int count = pages.pageCount();
    const qint64 paginateMs = t.elapsed();
    std::printf("paginate: %d pages in %lld ms\n", count, static_cast<long long>(paginateMs));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    t.restart();
    QString error;
    const bool ok = PdfExport::exportPdf(doc, &buffer, &error);
    std::printf("pdf export: %s, %lld ms, %lld KiB\n", ok ? "ok" : qPrintable(error),
                static_cast<long long>(t.elapsed()), static_cast<long long>(buffer.size() / 1024));

    TextControl tc;
    tc.resize(1000, 800);
    fill(*tc.doc(), target);
    t.restart();
    tc.setViewMode(1);
    tc.show();
    std::printf("layout view: %d pages, switched in %lld ms\n", tc.CurrentPages(),
                static_cast<long long>(t.elapsed()));
    QTextCursor end(tc.doc()->body());
    end.movePosition(QTextCursor::End);
    tc.setTextCursor(end);
    tc.ensureCursorVisible();
    app.processEvents();
    const QString typed = QStringLiteral("Noch ein Satz am Ende des Dokuments. ");
    t.restart();
    qint64 worst = 0;
    for (const QChar ch : typed) {
        QElapsedTimer one;
        one.start();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&tc, &press);
        tc.CurrentPages();
        tc.viewport()->repaint();
        worst = qMax(worst, one.nsecsElapsed());
    }
    const double perKey = double(t.nsecsElapsed()) / typed.size() / 1e6;
    std::printf("typing at the end in layout view: %.2f ms per keystroke (worst %.2f ms), %d keys\n",
                perKey, worst / 1e6, int(typed.size()));

    // The other views keep a paginated copy for printing; it follows each keystroke.
    tc.setViewMode(2);
    t.restart();
    tc.paginator()->pageCount();
    std::printf("centred view: paginated copy built in %lld ms\n", static_cast<long long>(t.elapsed()));
    t.restart();
    const int keys = 20;
    for (int i = 0; i < keys; ++i) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&tc, &press);
        tc.paginator()->pageCount();
        tc.viewport()->repaint();
    }
    std::printf("typing in the centred view, paginated copy updated after each key: %.1f ms per keystroke\n",
                double(t.nsecsElapsed()) / keys / 1e6);
    return 0;
}
