#include "../shell/ShellFixture.h"
#include "TestFiles.h"

#include "app/AppState.h"
#include "engine/TextControl.h"
#include "textblocks/TextBlockFile.h"
#include "textblocks/TextBlockInsert.h"
#include "textblocks/frmBausteine.h"
#include "textblocks/frmBstEinfuegen.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

TextBlock block(const QString& text, const QString& name) {
    TextBlock b;
    b.Text = text;
    b.FontName = QStringLiteral("Liberation Serif");
    b.FontSize = 14;
    b.Italic = true;
    b.Colour = TextBlockFile::colourNumber(200, 0, 0);
    b.Name = name;
    return b;
}

QRadioButton* option(QWidget& w, int n) {
    return w.findChild<QRadioButton*>(QStringLiteral("Option1(%1)").arg(n));
}

} // namespace

class TestTextBlockWindows : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    ScriptedPrompter* m_prompts = nullptr;
    AppState m_state;

    QString work() const { return m_state.WorkFolder; }
    std::unique_ptr<frmBausteine> editor(const QString& tag = {}) {
        auto w = std::make_unique<frmBausteine>(m_state);
        w->setTag(tag);
        w->show();
        return w;
    }
    QStringList messages() const {
        QStringList out;
        for (const auto& a : m_prompts->asked)
            out << a.text;
        return out;
    }

private slots:
    void init() {
        m_dir = new QTemporaryDir;
        m_state = AppState{};
        m_state.WorkFolder = m_dir->path() + QLatin1Char('/');
        m_prompts = installScriptedPrompter();
    }
    void cleanup() {
        delete m_dir;
        m_dir = nullptr;
    }

    void savedTextReadsBack_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("readBack");
        QTest::addColumn<QByteArray>("fileStart");
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
            QVERIFY(w->changed());
            m_prompts->answerInput(QStringLiteral("Gruß"));
            w->controls().Command1->click();
            QVERIFY(!w->changed());
            QCOMPARE(option(*w, 3)->text(), QStringLiteral("Gruß"));
        }
        QVERIFY(readAll(TextBlockFile::path(work(), 3)).startsWith(fileStart));
        auto w = editor(QStringLiteral("3"));
        QTEST(w->controls().txtText->toPlainText(), "readBack");
        if (!typed.contains(QLatin1Char('"'))) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Gruß"));
            QCOMPARE(w->controls().txtText->font().pointSize(), 16);
            QVERIFY(!w->controls().Timer1->isActive());
        }
    }

    void emptyNameStoresNothing_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("empty answer") << false;
        QTest::newRow("cancelled") << true;
    }
    void emptyNameStoresNothing() {
        QFETCH(bool, cancelled);
        auto w = editor(QStringLiteral("2"));
        QTest::keyClicks(w->controls().txtText, QStringLiteral("Hallo"));
        m_prompts->answerInput(cancelled ? std::nullopt : std::optional<QString>(QString()));
        w->controls().Command1->click();
        const auto& asked = m_prompts->last();
        QCOMPARE(asked.kind, QStringLiteral("input"));
        QCOMPARE(asked.title, QStringLiteral(" Textbaustein anlegen"));
        QCOMPARE(asked.text, QStringLiteral("Geben Sie einen Namen für den Textbaustein ein!"));
        QVERIFY(!QFile::exists(TextBlockFile::path(work(), 2)));
        QVERIFY(w->changed());
        QCOMPARE(option(*w, 2)->text(), QStringLiteral("Textbaustein 2"));
    }

    void captionsInBothWindows() {
        QVERIFY(
            TextBlockFile::write(work(), 1, block(QStringLiteral("a"), QStringLiteral("Dank"))));
        QVERIFY(TextBlockFile::write(work(), 4, block(QStringLiteral("b"), QString())));
        const QStringList expected = {QStringLiteral("Textbaustein 0"), QStringLiteral("Dank"),
                                      QStringLiteral("Textbaustein 2"),
                                      QStringLiteral("Textbaustein 3"),
                                      QStringLiteral("Textbaustein 4")};
        auto e = editor();
        frmBstEinfuegen ins(m_state, nullptr);
        ins.show();
        for (QWidget* w : {static_cast<QWidget*>(e.get()), static_cast<QWidget*>(&ins)})
            for (int n = 0; n < expected.size(); ++n)
                QCOMPARE(option(*w, n)->text(), expected[n]);
        // An unnamed block is not loaded on activation: the placeholder shows.
        auto e4 = editor(QStringLiteral("4"));
        QCOMPARE(e4->controls().txtText->toPlainText(), frmBausteine::Placeholder);
    }

    void blockZeroIsNeverUsed() {
        const QByteArray zero =
            "\"geheim\",\"Arial\",10,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,\"Null\"\r\n";
        const QString zeroPath = work() + QStringLiteral("bst0.ndr");
        QVERIFY(writeAll(zeroPath, zero));
        auto w = editor(QStringLiteral("0"));
        QCOMPARE(w->controls().txtText->toPlainText(), frmBausteine::Placeholder);
        option(*w, 0)->click();
        QCOMPARE(w->controls().txtText->toPlainText(), QString());
        QTest::keyClicks(w->controls().txtText, QStringLiteral("Neu"));
        w->controls().Command1->click();
        w->controls().Command4->click();
        QCOMPARE(m_prompts->count(QStringLiteral("input")), 0);
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 2);
        QVERIFY(messages()[0].startsWith(QStringLiteral("Wählen Sie zuerst")));
        QCOMPARE(readAll(zeroPath), zero);

        frmBstEinfuegen ins(m_state, nullptr);
        ins.show();
        QVERIFY(option(ins, 0)->isChecked());
        QCOMPARE(ins.txtText()->toPlainText(), QString());
    }

    void placeholderStops_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("key") << true;
        QTest::newRow("click") << false;
    }
    void placeholderStops() {
        QFETCH(bool, byKey);
        auto w = editor();
        QTextEdit* t = w->controls().txtText;
        QCOMPARE(t->toPlainText(), frmBausteine::Placeholder);
        QVERIFY(w->controls().Timer1->isActive());
        QVERIFY(!w->controls().Command1->isEnabled());
        QCOMPARE(t->textCursor().selectedText(), frmBausteine::Placeholder);
        w->Timer1_Timer();
        QVERIFY(!t->textCursor().hasSelection());
        w->Timer1_Timer();
        QCOMPARE(t->textCursor().selectedText(), frmBausteine::Placeholder);
        if (byKey)
            QTest::keyClicks(t, QStringLiteral("L"));
        else
            QTest::mouseClick(t->viewport(), Qt::LeftButton);
        QVERIFY(!w->controls().Timer1->isActive());
        QCOMPARE(t->toPlainText(), byKey ? QStringLiteral("L") : QString());
        QCOMPARE(w->changed(), byKey);
        QCOMPARE(w->controls().Command1->isEnabled(), byKey);
        w->reject(); // Escape and the title bar's close; unchanged asks nothing
        QVERIFY(!w->isVisible());
        QCOMPARE(m_prompts->asked.size(), byKey ? 1 : 0);
    }

    void missingBlockAsksForText_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("nothing typed") << QString();
        QTest::newRow("typed text waits for a number") << QStringLiteral("Entwurf");
    }
    void missingBlockAsksForText() {
        QFETCH(QString, typed);
        auto w = editor();
        QTest::mouseClick(w->controls().txtText->viewport(), Qt::LeftButton);
        QTest::keyClicks(w->controls().txtText, typed);
        option(*w, 7)->click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), typed.isEmpty() ? 1 : 0);
        if (typed.isEmpty())
            QCOMPARE(m_prompts->last().text,
                     QStringLiteral("Bitte für den Textbaustein 7 einen Text eingeben!"));
        QCOMPARE(w->Tag(), QStringLiteral("7"));
        QCOMPARE(w->controls().txtText->toPlainText(), typed);
        m_prompts->answerInput(QStringLiteral("Entwurf"));
        w->controls().Command1->click();
        QCOMPARE(TextBlockFile::exists(work(), 7), !typed.isEmpty());
    }

    void questions_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("fileAfter");
        QTest::addColumn<QString>("textAfter");
        const QString del = QStringLiteral("Soll der Textbaustein Gruß gelöscht werden?");
        const QString close =
            QStringLiteral("Sie müssen Ihren Text noch speichern!\r Wollen Sie dies jetzt tun?");
        QTest::newRow("delete yes")
            << "Command4" << true << "Achtung!" << del << false << QString();
        QTest::newRow("delete no") << "Command4" << false << "Achtung!" << del << true << "alt";
        QTest::newRow("close yes")
            << "Command3" << true << "Speichern?" << close << true << "alt neu";
        QTest::newRow("close no") << "Command3" << false << "Speichern?" << close << true << "alt";
    }
    void questions() {
        QFETCH(QString, button);
        QFETCH(bool, yes);
        QVERIFY(
            TextBlockFile::write(work(), 5, block(QStringLiteral("alt"), QStringLiteral("Gruß"))));
        auto w = editor(QStringLiteral("5"));
        QVERIFY(option(*w, 5)->isChecked());
        QTextEdit* t = w->controls().txtText;
        t->moveCursor(QTextCursor::End);
        QTest::keyClicks(t, QStringLiteral(" neu"));
        m_prompts->answerMessage(yes ? QMessageBox::Yes : QMessageBox::No);
        m_prompts->answerInput(QStringLiteral("Gruß"));
        w->findChild<QPushButton*>(button)->click();
        const auto& q = m_prompts->asked.first();
        QTEST(q.title, "title");
        QTEST(q.text, "question");
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.icon, button == "Command4" ? Prompter::Icon::Critical : Prompter::Icon::None);
        const auto stored = TextBlockFile::read(work(), 5);
        QTEST(bool(stored), "fileAfter");
        if (stored)
            QTEST(stored->Text, "textAfter");
        if (button == "Command3") {
            QVERIFY(!w->isVisible());
        } else {
            QVERIFY(w->isVisible());
            QCOMPARE(option(*w, 5)->text(),
                     yes ? QStringLiteral("Textbaustein 5") : QStringLiteral("Gruß"));
            QCOMPARE(t->toPlainText(), yes ? QString() : QStringLiteral("alt neu"));
        }
    }

    void insertAtCaretAndResetFont() {
        QVERIFY(TextBlockFile::write(work(), 2,
                                     block(QStringLiteral("X\r\nY"), QStringLiteral("Kurz"))));
        TextControl surface;
        surface.setText(QStringLiteral("AnfangEnde"));
        surface.setSelStart(6);
        surface.setFontName(QStringLiteral("Liberation Mono"));
        surface.setFontSize(20);
        surface.setFontBold(true);
        surface.setForeColor(Qt::blue);
        frmBstEinfuegen w(m_state, &surface);
        w.show();
        QCOMPARE(w.txtText()->toPlainText(), QString());
        option(w, 2)->click();
        QCOMPARE(w.txtText()->toPlainText(), QStringLiteral("X\nY"));
        QCOMPARE(w.txtText()->font().family(), QStringLiteral("Liberation Serif"));
        QVERIFY(w.txtText()->font().italic());
        option(w, 0)->click();
        QCOMPARE(w.txtText()->toPlainText(), QString());
        option(w, 2)->click();
        w.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(surface.Text(), QStringLiteral("AnfangX\r\nYEnde"));
        QCOMPARE(surface.SelStart(), 9);
        QCOMPARE(surface.FontName(), QStringLiteral("Arial"));
        QCOMPARE(surface.FontSize(), 10.0);
        QVERIFY(!surface.FontBold() && !surface.FontItalic() && !surface.FontUnderline() &&
                !surface.FontStrikethru());
        QCOMPARE(surface.ForeColor(), TextBlockInsert::windowTextColour());
        QTextCursor c(surface.document());
        c.setPosition(7);
        QVERIFY(c.charFormat().fontItalic());
        QCOMPARE(c.charFormat().foreground().color(), QColor(200, 0, 0));
        QCOMPARE(c.charFormat().fontPointSize(), 14.0);
    }

    void insertErrors_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("no block chosen")
            << 0 << QByteArray() << "Wählen Sie zuerst einen Textbaustein aus!";
        QTest::newRow("missing file")
            << 6 << QByteArray()
            << "Fehler # 53 wurde ausgelöst von Textbausteine\rDatei nicht gefunden: ";
        QTest::newRow("empty file")
            << 6 << QByteArray("")
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
        QVERIFY(w.isVisible());
        QCOMPARE(surface.Text(), QStringLiteral("Text"));
    }

    void menusOpenTheWindows() {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        appState().WorkFolder = work();
        QVERIFY(TextBlockFile::write(work(), 1,
                                     block(QStringLiteral("Viele Grüße"), QStringLiteral("Gruß"))));
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
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 3);
        QCOMPARE(fx.prompts->asked[0].text, QStringLiteral("frmBstEinfuegen"));
        QCOMPARE(fx.prompts->asked[1].title, QStringLiteral(" Textbausteine anlegen"));
        QCOMPARE(fx.prompts->asked[2].title, QStringLiteral(" Textbaustein einfügen"));
        QCOMPARE(doc->surface()->Text(), QStringLiteral("Viele Grüße"));
    }
};

QTEST_MAIN(TestTextBlockWindows)
#include "tst_textblockwindows.moc"
