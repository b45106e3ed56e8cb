// Time per keystroke when typing at the end of a 500-page plain document, with the
// status bar and the formatting bar tied to the surface as in a document window.
#include "engine/surface/TextButtonBar.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/TextStatusBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new TextButtonBar;
    auto* tc = new TextControl;
    auto* status = new TextStatusBar;
    layout->addWidget(bar);
    layout->addWidget(tc);
    layout->addWidget(status);
    window.resize(1000, 800);
    window.show();
    bar->setTextControl(tc);
    status->setTextControl(tc);

    QElapsedTimer t;
    t.start();
    const QString para = QStringLiteral(
        "Sehr geehrte Damen und Herren, hiermit bestätigen wir den Eingang Ihres Schreibens "
        "und teilen Ihnen mit, dass die Lieferung in der kommenden Woche erfolgt.\r");
    QString text;
    int paragraphs = 0;
    while (true) {
        text.clear();
        for (int i = 0; i < 500; ++i)
            text += para;
        tc->setSelStart(tc->document()->characterCount() - 1);
        tc->setSelText(text);
        paragraphs += 500;
        if (tc->CurrentPages() >= 500)
            break;
    }
    const qint64 buildMs = t.elapsed();
    tc->moveCursor(QTextCursor::End);
    tc->setFocus();
    app.processEvents();

    // Each key is painted before the next, as on screen; at 168 % (a maximised window)
    // every typed line is repainted magnified.
    const QString typed = QStringLiteral("Mit freundlichen Grüßen, ihr Team. ");
    const int rounds = 6;
    auto typeRounds = [&] {
        QList<double> perKey;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer k;
            k.start();
            for (QChar ch : typed) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(tc, &press);
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(tc, &release);
                app.processEvents(); // status bar, formatting bar and repaint
            }
            perKey.append(double(k.nsecsElapsed()) / 1e6 / typed.size());
        }
        std::sort(perKey.begin(), perKey.end());
        return perKey;
    };
    const QList<double> perKey = typeRounds();
    tc->setZoomFactor(168);
    app.processEvents();
    const QList<double> perKeyZoomed = typeRounds();
    tc->setZoomFactor(100);

    // Selecting everything makes the formatting bar read the attributes of all text.
    QElapsedTimer sel;
    sel.start();
    tc->selectAll();
    bar->refresh();
    status->refresh();
    const qint64 selectAllMs = sel.elapsed();
    tc->moveCursor(QTextCursor::End);

    // Changing the zoom lays the whole text out anew; count the pages afterwards.
    QElapsedTimer z;
    z.start();
    tc->setZoomFactor(150);
    const int pagesAfterZoom = tc->CurrentPages();
    const qint64 zoomMs = z.elapsed();
    const InputPosition p = tc->CurrentInputPosition();
    std::printf("document: %d pages, %d paragraphs, %d characters (built in %lld ms)\n",
                tc->CurrentPages(), paragraphs, tc->document()->characterCount(), buildMs);
    std::printf("typed %lld keystrokes at the end (caret on page %d, line %d)\n",
                qlonglong(typed.size()) * rounds * 2, p.page, p.line);
    std::printf("time per keystroke: median %.3f ms, best %.3f ms, worst %.3f ms (per round of %lld)\n",
                perKey.at(perKey.size() / 2), perKey.first(), perKey.last(), qlonglong(typed.size()));
    std::printf("time per keystroke at 168 %%: median %.3f ms, best %.3f ms, worst %.3f ms\n",
                perKeyZoomed.at(perKeyZoomed.size() / 2), perKeyZoomed.first(), perKeyZoomed.last());
    std::printf("select all and refresh the formatting and status bars: %lld ms\n", selectAllMs);
    std::printf("zoom to 150%% and count %d pages again: %lld ms\n", pagesAfterZoom, zoomMs);
    return 0;
}
