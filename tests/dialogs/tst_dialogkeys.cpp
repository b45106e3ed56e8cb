// Every dialog as a user meets it: shown for real (the program's own prompter), wide
// enough for its whole title, and Enter right after opening confirms it like OK.

#include "app/QtPrompter.h"
#include "dialogs/frmFramesDlg.h"
#include "dialogs/frmHeaderProperties.h"
#include "dialogs/frmImageDlg.h"
#include "dialogs/frmPageDlg.h"
#include "dialogs/frmTableDlg.h"
#include "engine/surface/TextControl.h"
#include "engine/dialogs/SurfaceDialogs.h"

#include "TestCommon.h"
#include <QColorDialog>
#include <QDialog>
#include <QFontMetrics>
#include <QPointer>
#include <QTimer>
#include <functional>

using Open = std::function<void(TextControl*)>;
Q_DECLARE_METATYPE(Open)

namespace {

// What the user saw and did in the dialog that opened.
struct Seen {
    QString title;
    int width = 0;
    bool closedByEnter = false;
    bool accepted = false;
};

} // namespace

class TstDialogKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        setPrompter(std::make_unique<QtPrompter>());
    }

    void enterConfirmsAndTitleFits_data()
    {
        addColumns<Open, QString>("open", "title");
        QTest::newRow("Zeichen") << Open([](TextControl* s) { s->FontDialog(); }) << "Zeichen";
        QTest::newRow("Absatz") << Open([](TextControl* s) { SurfaceDialogs::paragraph(s); }) << "Absatz";
        QTest::newRow("Tabs") << Open([](TextControl* s) { SurfaceDialogs::tabs(s); }) << "Tabulatoren";
        QTest::newRow("Aufzählung") << Open([](TextControl* s) { SurfaceDialogs::listAttributes(s); })
                                    << "Aufzählung und Nummerierung";
        QTest::newRow("Formatvorlage") << Open([](TextControl* s) { SurfaceDialogs::style(s); }) << "Formatvorlage";
        QTest::newRow("Tabelle einfügen") << Open([](TextControl* s) { frmTableDlg::edit(s); })
                                          << "Tabelle einfügen";
        QTest::newRow("Absatzrahmen") << Open([](TextControl* s) { frmFramesDlg::edit(s); }) << "  Absatzrahmen";
        QTest::newRow("Grafik Optionen") << Open([](TextControl* s) { frmImageDlg::edit(s, 2); })
                                         << "  Grafik Optionen";
        QTest::newRow("Kopf- und Fußzeilen") << Open([](TextControl* s) { frmHeaderProperties::edit(s); })
                                             << "Einstellung Kopf- und Fußzeilen";
        QTest::newRow("Seite einrichten") << Open([](TextControl* s) { frmPageDlg::edit(s, 2); })
                                          << "Seite einrichten";
    }
    void enterConfirmsAndTitleFits()
    {
        QFETCH(Open, open);
        QFETCH(QString, title);
        TextControl tc;
        tc.setText(QStringLiteral("Hallo Welt"));
        Seen seen;
        // Plays the user as soon as the dialog is up: look, then press Enter where the
        // focus is. Whatever is still open a moment later is closed, so nothing hangs.
        QTimer user;
        user.setInterval(20);
        int ticks = 0, seenAt = -1;
        QPointer<QWidget> dialog;
        connect(&user, &QTimer::timeout, this, [&] {
            ++ticks;
            QWidget* modal = QApplication::activeModalWidget();
            if (!dialog && modal && modal->isVisible()) {
                dialog = modal;
                seenAt = ticks;
                seen.title = modal->windowTitle();
                seen.width = modal->width();
                modal->activateWindow();
                return;
            }
            QWidget* focus = QApplication::focusWidget();
            const bool focusInside = dialog && focus && dialog->isAncestorOf(focus);
            if (dialog && modal == dialog && (focusInside || ticks > seenAt + 10)) {
                QTest::keyClick(focusInside ? focus : dialog.data(), Qt::Key_Return);
                auto* d = qobject_cast<QDialog*>(dialog.data());
                seen.closedByEnter = !dialog->isVisible();
                seen.accepted = d && d->result() == QDialog::Accepted;
                if (!seen.closedByEnter && d)
                    d->reject();
            }
        });
        // A window that the key opened in its place (the colour chooser) runs its own
        // loop inside the key press; a second timer closes it.
        QTimer second;
        second.setInterval(500);
        connect(&second, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (dialog && modal && modal != dialog)
                if (auto* d = qobject_cast<QDialog*>(modal))
                    d->reject();
        });
        second.start();
        user.start();
        open(&tc);
        user.stop();
        second.stop();
        QCOMPARE(seen.title, title);
        QVERIFY2(seen.closedByEnter, "Enter did not close the dialog");
        QVERIFY(seen.accepted);
        // Wide enough for the title in bold and the title bar's buttons.
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int text = QFontMetrics(bold).horizontalAdvance(title.trimmed());
        QVERIFY2(seen.width >= text + 100, qPrintable(QStringLiteral("%1 px for a title of %2 px").arg(seen.width).arg(text)));
    }
};

QTEST_MAIN(TstDialogKeys)
#include "tst_dialogkeys.moc"
