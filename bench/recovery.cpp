// What the recovery copy costs: the snapshot taken on the GUI thread (the time typing
// waits) and the write that follows in the background, for documents of growing size.
#include "app/RecoveryStore.h"
#include "engine/surface/TextControl.h"
#include "shell/DocumentFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    TextControl tc;
    const QString para = QStringLiteral(
        "Sehr geehrte Damen und Herren, hiermit bestätigen wir den Eingang Ihres Schreibens "
        "und teilen Ihnen mit, dass die Lieferung in der kommenden Woche erfolgt.\r");
    std::printf("%8s %8s %12s %12s %10s\n", "Absätze", "Seiten", "Schnapp/ms", "Schreib/ms", "KiB");
    int paragraphs = 0;
    for (int target : {100, 1000, 5000, 10000}) {
        QString text;
        for (; paragraphs < target; ++paragraphs)
            text += para;
        tc.setSelStart(tc.document()->characterCount() - 1);
        tc.setSelText(text);
        QElapsedTimer t;
        t.start();
        const QByteArray content = DocumentFiles::pageHeader(tc) + tc.SaveToMemory(3);
        const double snapMs = t.nsecsElapsed() / 1e6;
        t.restart();
        store.save({QStringLiteral("bench"), QStringLiteral("Unbenannt"), {}, content});
        store.waitForDone();
        const double writeMs = t.nsecsElapsed() / 1e6;
        std::printf("%8d %8d %12.1f %12.1f %10lld\n", paragraphs, tc.CurrentPages(), snapMs, writeMs,
                    static_cast<long long>(content.size() / 1024));
    }
    return 0;
}
