// The insert, format, table and extras commands and the header, footer and field
// items of the view menu, triggered through their menu items in a document window.

#include "ShellFixture.h"

#include <QImage>
#include <QMenu>
#include "TestCommon.h"

namespace {

// What a user can see of the window: the document, the selection, the view and the
// prompts so far.
QString snapshot(frmMDIChild* w, const ScriptedPrompter* p) {
    TextControl* s = w->surface();
    return QString::fromUtf8(s->SaveToMemory(3).toBase64()) +
           QStringLiteral("|%1,%2|%3|%4|%5|%6")
               .arg(s->SelStart())
               .arg(s->SelLength())
               .arg(s->TableGridLines())
               .arg(s->ViewMode())
               .arg(p->asked.size());
}

enum Setup { Text, InTable, WithField };

struct Row {
    const char* item;
    Setup setup;
    const char* answer = "";
};

const Row kRows[] = {
    {"mnuInsert_ImageFixed", Text, "image"},
    {"mnuInsert_Date", Text},
    {"mnuFormat_Numbering(3)", Text},
    {"mnuTable_InsertRowBelow", InTable},
    {"mnuTable_GridLines", Text},
    {"mnuExtras_Calculator", Text, "ok"},
    {"mnuView_FieldDelete", WithField},
};

} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        fx = std::make_unique<ShellFixture>();
        QVERIFY(fx->startEmpty());
        w = fx->newDocument();
        s = w->surface();
        s->setText(QStringLiteral("Erste Zeile\r\nZweite Zeile"));
        s->setSelStart(3);
        fx->prompts->clear();
    }
    void cleanup() { fx.reset(); }

    void everyItemChangesSomething_data() {
        // answer: what the scripted user does
        addColumns<QString, int, QString>("item", "setup", "answer");
        for (const Row& r : kRows)
            QTest::newRow(r.item) << QString::fromLatin1(r.item) << int(r.setup)
                                  << QString::fromLatin1(r.answer);
    }
    void everyItemChangesSomething() {
        QFETCH(QString, item);
        QFETCH(int, setup);
        QFETCH(QString, answer);
        prepare(Setup(setup));
        QTemporaryDir dir;
        if (answer == QLatin1String("image")) {
            QImage img(20, 10, QImage::Format_RGB32);
            img.fill(Qt::red);
            QVERIFY(img.save(dir.filePath(QStringLiteral("bild.bmp"))));
            fx->prompts->answerOpenFile(dir.filePath(QStringLiteral("bild.bmp")));
        } else if (answer == QLatin1String("ok")) {
            fx->prompts->answerMessage(QMessageBox::Ok);
        }
        // No desktop calculator here: the user is told.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8());
        const QString before = snapshot(w, fx->prompts);
        QVERIFY(trigger(item));
        qputenv("PATH", path);
        QVERIFY2(snapshot(w, fx->prompts) != before, "nothing changed");
        QCOMPARE(fx->prompts->unanswered, 0);
    }

    void pageNumbersNeedHeaderOrFooter() {
        QVERIFY(trigger(QStringLiteral("mnuInsert_PageNumbers")));
        QCOMPARE(fx->prompts->last().title, QStringLiteral("Seitenzahlen einfügen"));
        QCOMPARE(s->FieldNext(0, 0), 0);
        // With a header the field goes in even at a place in the main text.
        QVERIFY(trigger(QStringLiteral("mnuView_HeaderFooter")));
        s->HeaderFooterLeave();
        s->setSelStart(3);
        QVERIFY(trigger(QStringLiteral("mnuInsert_PageNumbers")));
        const int id = s->FieldNext(0, 0);
        QCOMPARE(s->FieldType(id), 3);
        QCOMPARE(s->FieldStart(id), 4);
    }

    void fieldAndItsInformation() {
        fx->prompts->answerInput(QStringLiteral("Vorname"));
        fx->prompts->answerMessage(QMessageBox::Yes);
        fx->prompts->answerInput(QStringLiteral("Nachname"));
        fx->prompts->answerMessage(QMessageBox::No);
        s->setSelStart(0);
        QVERIFY(trigger(QStringLiteral("mnuInsert_Field")));
        QVERIFY(s->Text().startsWith(QStringLiteral("Vorname  Nachname  Erste")));
        const int first = s->FieldNext(0, 0);

        s->setSelStart(2); // inside "Vorname"
        s->setFieldCurrent(0);
        QVERIFY(trigger(QStringLiteral("mnuInfoFeld")));
        QCOMPARE(
            fx->prompts->last().text,
            QStringLiteral("Feld Nr.: %1   Text ist: Vorname    Feld-Daten   Vorname").arg(first));
    }

    void headerFooterItems_data() {
        addColumns<QString, int, int, int>("item", "setBefore", "setAfter", "active");
        QTest::newRow("footer only, new") << "mnuView_FooterOnly" << 0 << 4 << 8;
        QTest::newRow("footer only, kept") << "mnuView_FooterOnly" << 1 << 1 << 8;
    }
    void headerFooterItems() {
        QFETCH(QString, item);
        QFETCH(int, setBefore);
        QFETCH(int, setAfter);
        QFETCH(int, active);
        s->setHeaderFooterSet(setBefore);
        QVERIFY(trigger(item));
        QCOMPARE(s->HeaderFooterSet(), setAfter);
        QCOMPARE(w->HeaderFooterActive, active);
        // A footer that is there is edited on the sheets of the centred view, which stays.
        QCOMPARE(s->HeaderFooterActive() != 0, bool(setAfter & 4));
        QCOMPARE(s->ViewMode(), 2);
        QVERIFY(w->findChild<QAction*>(QStringLiteral("mnuView_Layout(2)"))->isChecked());
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("mnuView_Layout(1)"))->isChecked());
    }

private:
    void prepare(Setup setup) {
        switch (setup) {
        case InTable: {
            s->setSelStart(s->Text().size());
            const int id = s->TableInsert(2, 2);
            s->setTableCellText(id, 1, 1, QStringLiteral("A1"));
            s->setTableCellText(id, 2, 2, QStringLiteral("B2"));
            s->setSelStart(s->TableCellStart(id, 1, 1) - 1);
            break;
        }
        case WithField:
            s->FieldInsert(QStringLiteral("Ort"));
            s->setSelStart(4); // inside the field
            break;
        case Text:
            break;
        }
        fx->prompts->clear();
    }

    // Opens the item's menu (which enables its items) and triggers it.
    bool trigger(const QString& name) {
        auto* a = w->findChild<QAction*>(name);
        if (!a)
            return false;
        for (QObject* p = a->parent(); p; p = p->parent())
            if (auto* m = qobject_cast<QMenu*>(p))
                Q_EMIT m->aboutToShow();
        for (QMenu* m : w->menus())
            if (m->actions().contains(a) || m->findChildren<QAction*>().contains(a))
                Q_EMIT m->aboutToShow();
        if (!a->isEnabled())
            return false;
        a->trigger();
        ShellFixture::flush();
        return true;
    }

    std::unique_ptr<ShellFixture> fx;
    frmMDIChild* w = nullptr;
    TextControl* s = nullptr;
};

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
