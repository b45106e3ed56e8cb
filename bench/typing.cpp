// Time per keystroke when typing at the end of a 500-page plain document, with the
// status bar and the formatting bar tied to the surface as in a document window.
// "typing open N [max]" opens a text file of N lines in such a window (1280 x 1000 with
// "max") and prints CPU and wall seconds until the first sheet is painted with the page
// count known, peak memory, and the time per keystroke typed on page 1.
#include "engine/surface/TextButtonBar.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/TextStatusBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextCursor>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Keys typed into `tc`, each painted before the next; milliseconds per key, sorted.
QList<double> typeRounds(QApplication& app, TextControl* tc, const QString& typed, int rounds)
{
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
}

int openHuge(QApplication& app, int lines, bool maximised)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zeilen.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 1; i <= lines; ++i)
        f.write("Zeile " + QByteArray::number(i) + " mit etwas Text" + (i < lines ? "\n" : ""));
    f.close();

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* tc = new TextControl;
    auto* status = new TextStatusBar;
    layout->addWidget(tc);
    layout->addWidget(status);
    window.resize(maximised ? QSize(1280, 1000) : QSize(1000, 800));
    window.show();
    status->setTextControl(tc);
    app.processEvents();

    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    if (!tc->Load(path, 0, 1, false)) {
        std::printf("not loaded: %s\n", qPrintable(tc->LastError()));
        return 1;
    }
    const double loadCpu = cpuSeconds() - cpu0, loadWall = t.nsecsElapsed() / 1e9;
    // The first sheet painted: the viewport drawn into an image as the screen would.
    tc->viewport()->grab();
    app.processEvents();
    const int pages = tc->CurrentPages();
    const double shownCpu = cpuSeconds() - cpu0, shownWall = t.nsecsElapsed() / 1e9;
    std::printf("%d lines, window %dx%d: loaded %.2f s CPU (%.2f s wall), first page shown with %d pages "
                "counted %.2f s CPU (%.2f s wall)\n",
                lines, window.width(), window.height(), loadCpu, loadWall, pages, shownCpu, shownWall);

    // Typing on page 1, at the end of its fifth line.
    QTextCursor c(tc->document()->findBlockByNumber(4));
    c.movePosition(QTextCursor::EndOfBlock);
    tc->setTextCursor(c);
    tc->setFocus();
    app.processEvents();
    const QList<double> perKey = typeRounds(app, tc, QStringLiteral("und noch etwas mehr "), 3);
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("typing on page 1: median %.3f ms, worst %.3f ms per key; peak memory %.0f MB\n",
                perKey.at(perKey.size() / 2), perKey.last(), u.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "open")
        return openHuge(app, QByteArray(argv[2]).toInt(), argc > 3 && QByteArray(argv[3]) == "max");
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
    const QList<double> perKey = typeRounds(app, tc, typed, rounds);
    tc->setZoomFactor(168);
    app.processEvents();
    const QList<double> perKeyZoomed = typeRounds(app, tc, typed, rounds);
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
