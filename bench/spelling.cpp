// Spelling as you type on a 500-page document: the time per keystroke at its end with the
// check off and on (and in a hyphenated paragraph), and how long the check of the whole
// document takes in the background.
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/spelling/AutoHyphens.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>

namespace {

// Median milliseconds per keystroke over rounds of a typed sentence, each key painted.
double typing(QApplication& app, TextControl* tc)
{
    const QString typed = QStringLiteral("Mit freundlichen Grüßen, ihr Team. ");
    QList<double> perKey;
    for (int r = 0; r < 6; ++r) {
        QElapsedTimer k;
        k.start();
        for (QChar ch : typed) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(tc, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(tc, &release);
            app.processEvents(); // marks, hyphens and repaint
        }
        perKey.append(double(k.nsecsElapsed()) / 1e6 / typed.size());
    }
    std::sort(perKey.begin(), perKey.end());
    return perKey.at(perKey.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    SpellChecker checker(QStringLiteral("de_DE"), work.path());
    if (!checker.isValid()) {
        std::printf("no German dictionary installed (scripts/setup.sh)\n");
        return 1;
    }
    TextControl tc;
    tc.resize(1000, 800);
    tc.show();
    tc.spellMarks()->setEnabled(false);
    tc.spellMarks()->setChecker(&checker);

    const QString para = QStringLiteral(
        "Sehr geehrte Damen und Herren, hiermit bestätigen wir den Eingang Ihres Schreibens "
        "und teilen Ihnen mit, dass die Liefferung in der kommenden Woche erfolgt.\r");
    QString text;
    for (int i = 0; i < 500; ++i)
        text += para;
    while (tc.CurrentPages() < 500) {
        tc.setSelStart(tc.document()->characterCount() - 1);
        tc.setSelText(text);
    }
    tc.moveCursor(QTextCursor::End);
    tc.setFocus();
    app.processEvents();

    const double off = typing(app, &tc);

    QElapsedTimer whole;
    whole.start();
    tc.spellMarks()->setEnabled(true);
    while (!tc.spellMarks()->isIdle())
        app.processEvents();
    const double checkSeconds = whole.elapsed() / 1000.0;
    int marks = 0;
    for (QTextBlock b = tc.document()->begin(); b.isValid(); b = b.next())
        marks += SpellMarks::marksOf(b).size();

    const double on = typing(app, &tc);

    QTextCursor last(tc.document());
    last.movePosition(QTextCursor::End);
    QTextBlockFormat f;
    f.setProperty(EngineProperty::Hyphenate, true);
    last.mergeBlockFormat(f);
    tc.doc()->hyphens()->settle();
    const double hyphenated = typing(app, &tc);

    std::printf("document: %d pages, %d paragraphs\n", tc.CurrentPages(), tc.document()->blockCount());
    std::printf("whole document checked in the background: %.2f s, %d words marked\n", checkSeconds, marks);
    std::printf("time per keystroke at the end: check off %.3f ms, on %.3f ms (difference %.3f ms)\n", off, on,
                on - off);
    std::printf("time per keystroke in a hyphenated paragraph, check on: %.3f ms\n", hyphenated);
    return 0;
}
