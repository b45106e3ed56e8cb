#include "../shell/ShellFixture.h"
#include "TestCommon.h"

#include "app/AppState.h"
#include "engine/surface/TextControl.h"
#include "textblocks/TextBlockFile.h"
#include "textblocks/TextBlockInsert.h"
#include "textblocks/frmBausteine.h"
#include "textblocks/frmBstEinfuegen.h"

#include <QTextEdit>

namespace {

// Italic underlined purple 14 pt, so that an insertion shows whether the block's format
// came along.
TextBlock block(const QString& text, const QString& name) {
    return {text, QStringLiteral("Liberation Serif"), 14, false, true, true, false,
            TextBlockFile::colourNumber(200, 0, 100), name};
}

QRadioButton* option(QWidget& w, int n) {
    return w.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(n));
}

} // namespace

class TestTextBlockWindows : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    ScriptedPrompter* m_prompts = nullptr;
    AppState m_state;

    QString work() const { return m_state.WorkFolder; }
    std::unique_ptr<frmBausteine> editor(const QString& tag = {}) {
        auto w = std::make_unique<frmBausteine>(m_state);
        w->setTag(tag);
        w->show();
        return w;
    }

private slots:
    void init() {
        m_dir.emplace();
        m_state = AppState{};
        m_state.WorkFolder = m_dir->path() + QLatin1Char('/');
        m_prompts = installScriptedPrompter();
    }
    void cleanup() { m_dir.reset(); }

    void savedTextReadsBack_data() {
        addColumns<QString, QString, QByteArray>("typed", "readBack", "fileStart");
        QTest::newRow("several lines") << QStringLiteral("Zeile 1\nZeile 2\n\nZeile 4")
                                       << QStringLiteral("Zeile 1\nZeile 2\n\nZeile 4")
                                       << QByteArray("\"Zeile 1\r\nZeile 2\r\n\r\nZeile 4\",\"");
        QTest::newRow("quote cuts")
            << QStringLiteral("Er sagte \"Hallo\" und ging") << QStringLiteral("Er sagte ")
            << QByteArray("\"Er sagte \"Hallo\"");
    }
    void savedTextReadsBack() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, fileStart);
        {
            auto w = editor(QStringLiteral("3"));
            QTest::mouseClick(w->controls().txtText->viewport(), Qt::LeftButton);
            w->controls().txtText->insertPlainText(typed);
            w->controls().Combo1->setCurrentText(QStringLiteral("16"));
            emit w->controls().Combo1->activated(w->controls().Combo1->currentIndex());
            m_prompts->answerInput(QStringLiteral("Gruß"));
            w->controls().Command1->click();
        }
        QVERIFY(readAll(TextBlockFile::path(work(), 3)).startsWith(fileStart));
        auto w = editor(QStringLiteral("3"));
        QTEST(w->controls().txtText->toPlainText(), "readBack");
        if (!typed.contains(QLatin1Char('"'))) { // a quote cuts the record short
            QCOMPARE(w->windowTitle(), QStringLiteral("Gruß"));
            QCOMPARE(w->controls().txtText->font().pointSize(), 16);
        }
    }

    void emptyNameStoresNothing() {
        auto w = editor(QStringLiteral("2"));
        QTest::keyClicks(w->controls().txtText, QStringLiteral("Hallo"));
        m_prompts->answerInput(QString());
        w->controls().Command1->click();
        QCOMPARE(m_prompts->last().text, QStringLiteral("Geben Sie einen Namen für den Textbaustein ein!"));
        QVERIFY(!QFile::exists(TextBlockFile::path(work(), 2)));
    }

    void blockZeroIsNeverUsed() {
        const QByteArray zero = "\"geheim\",\"Arial\",10,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,\"Null\"\r\n";
        const QString zeroPath = work() + QStringLiteral("bst0.ndr");
        QVERIFY(writeAll(zeroPath, zero));
        auto w = editor(QStringLiteral("0"));
        option(*w, 0)->click();
        QCOMPARE(w->controls().txtText->toPlainText(), QString());
        QTest::keyClicks(w->controls().txtText, QStringLiteral("Neu"));
        w->controls().Command1->click();
        w->controls().Command4->click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 2); // "Wählen Sie zuerst ..." twice
        QCOMPARE(readAll(zeroPath), zero);
    }

    void questions_data() {
        // textAfter: null: file deleted
        addColumns<QString, bool, QString, QString>("button", "yes", "question", "textAfter");
        const QString del = QStringLiteral("Soll der Textbaustein Gruß gelöscht werden?");
        QTest::newRow("delete yes") << "Command4" << true << del << QString();
        QTest::newRow("delete no") << "Command4" << false << del << "alt";
        QTest::newRow("close yes") << "Command3" << true
                                   << "Sie müssen Ihren Text noch speichern!\r Wollen Sie dies jetzt tun?" << "alt neu";
    }
    void questions() {
        QFETCH(QString, button);
        QFETCH(bool, yes);
        QFETCH(QString, textAfter);
        QVERIFY(TextBlockFile::write(work(), 5, block(QStringLiteral("alt"), QStringLiteral("Gruß"))));
        auto w = editor(QStringLiteral("5"));
        w->controls().txtText->moveCursor(QTextCursor::End);
        QTest::keyClicks(w->controls().txtText, QStringLiteral(" neu"));
        m_prompts->answerMessage(yes ? QMessageBox::Yes : QMessageBox::No);
        m_prompts->answerInput(QStringLiteral("Gruß"));
        w->findChild<QPushButton*>(button)->click();
        QTEST(m_prompts->asked.first().text, "question");
        const auto stored = TextBlockFile::read(work(), 5);
        QCOMPARE(bool(stored), !textAfter.isNull());
        if (stored)
            QCOMPARE((QList<QVariant>{stored->Text, stored->Underline, stored->Strikethru}),
                     (QList<QVariant>{textAfter, true, false}));
        QCOMPARE(w->isVisible(), button == "Command4");
    }

    void insertAtCaretAndResetFont() {
        QVERIFY(TextBlockFile::write(work(), 2, block(QStringLiteral("X\r\nY"), QStringLiteral("Kurz"))));
        TextControl surface;
        surface.setText(QStringLiteral("AnfangEnde"));
        surface.setSelStart(6);
        surface.setFontName(QStringLiteral("Liberation Mono"));
        surface.setFontBold(true);
        surface.setForeColor(Qt::blue);
        frmBstEinfuegen w(m_state, &surface);
        w.show();
        option(w, 2)->click();
        w.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QCOMPARE(surface.Text(), QStringLiteral("AnfangX\r\nYEnde"));
        QCOMPARE(surface.SelStart(), 9);
        QCOMPARE(surface.FontName(), QStringLiteral("Arial"));
        QVERIFY(!surface.FontBold() && !surface.FontItalic() && !surface.FontUnderline() && !surface.FontStrikethru());
        QCOMPARE(surface.ForeColor(), TextBlockInsert::windowTextColour());
        QTextCursor c(surface.document());
        c.setPosition(7);
        const QTextCharFormat f = c.charFormat();
        QCOMPARE(f.foreground().color(), QColor(200, 0, 100));
        QCOMPARE(QStringLiteral("%1 %2").arg(f.fontFamilies().toStringList().value(0)).arg(f.fontPointSize()),
                 QStringLiteral("Liberation Serif 14"));
        QCOMPARE((QList<bool>{f.fontWeight() >= QFont::Bold, f.fontItalic(), f.fontUnderline(), f.fontStrikeOut()}),
                 (QList<bool>{false, true, true, false}));
    }

    void insertErrors_data() {
        addColumns<int, QByteArray, QString>("chosen", "file", "message");
        QTest::newRow("missing file") << 6 << QByteArray()
                                      << "Fehler # 53 wurde ausgelöst von Textbausteine\rDatei nicht gefunden: ";
        QTest::newRow("empty file") << 6 << QByteArray("")
                                    << "Fehler # 62 wurde ausgelöst von Textbausteine\rEinlesen hinter Dateiende";
    }
    void insertErrors() {
        QFETCH(int, chosen);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        if (!file.isNull())
            QVERIFY(writeAll(TextBlockFile::path(work(), 6), file));
        TextControl surface;
        surface.setText(QStringLiteral("Text"));
        frmBstEinfuegen w(m_state, &surface);
        w.show();
        option(w, chosen)->click();
        w.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QVERIFY(m_prompts->last().text.startsWith(message));
        QCOMPARE(surface.Text(), QStringLiteral("Text"));
    }

    void menusOpenTheWindows() {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        appState().WorkFolder = work();
        QVERIFY(TextBlockFile::write(work(), 1, block(QStringLiteral("Viele Grüße"), QStringLiteral("Gruß"))));
        frmMDIChild* doc = fx.newDocument();
        fx.prompts->answerExec([](QDialog* d) {
            option(*d, 1)->click();
            d->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
            return d->result();
        });
        fx.prompts->answerExec([](QDialog* d) { return int(d->isModal()); });
        doc->findChild<QAction*>(QStringLiteral("mnuInsert_Textbaustein"))->trigger();
        doc->findChild<QAction*>(QStringLiteral("mnuExtras_TextblockEdit"))->trigger();
        doc->findChild<QAction*>(QStringLiteral("mnuExtras_TextblockInsert"))->trigger();
        QCOMPARE(fx.prompts->asked[0].text, QStringLiteral("frmBstEinfuegen"));
        QCOMPARE(fx.prompts->asked[1].title, QStringLiteral(" Textbausteine anlegen"));
        QCOMPARE(fx.prompts->asked[2].title, QStringLiteral(" Textbaustein einfügen"));
        QCOMPARE(doc->surface()->Text(), QStringLiteral("Viele Grüße"));
    }
};

QTEST_MAIN(TestTextBlockWindows)
#include "tst_textblockwindows.moc"
