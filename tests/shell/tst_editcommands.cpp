// The insert, format, table and extras commands and the header, footer and field
// items of the view menu, triggered through their menu items in a document window.

#include "ShellFixture.h"

#include "engine/dialogs/DialogParts.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// What a user can see of the window: the document, the selection, the view and the
// prompts so far.
QString snapshot(frmMDIChild* w, const ScriptedPrompter* p) {
    TextControl* s = w->surface();
    auto* lupe = w->findChild<QAction*>(QStringLiteral("mnuLupe"));
    return QString::fromUtf8(s->SaveToMemory(3).toBase64()) +
           QStringLiteral("|%1,%2|%3|%4|%5|%6|%7|%8")
               .arg(s->SelStart())
               .arg(s->SelLength())
               .arg(s->TableGridLines())
               .arg(s->ViewMode())
               .arg(w->HeaderFooterActive)
               .arg(lupe->text())
               .arg(p->asked.size())
               .arg(s->HeaderFooterActive());
}

// The items of the four menus (and the view items) that belong to other windows.
const QStringList kElsewhere = {"mnuInsert_Text",          "mnuInsert_Textbaustein",
                                "mnuInsert_Hyperlink",     "mnuInsert_Serienbrief",
                                "mnuInsert_Vorlage",       "mnuInsert_AdresseVorlage",
                                "mnuFormat_Frames",        "mnuFormat_TextColour",
                                "mnuFormat_BackColour",    "mnuFormat_Image",
                                "mnuTable_InsertTable",    "mnuBrief",
                                "mnuExtras_Serienbrief",   "mnuExtras_SerienbriefVorlage",
                                "mnuExtras_Import",        "mnuEtiketten",
                                "mnuUmschlagStandard",     "mnuExtras_TextblockInsert",
                                "mnuExtras_TextblockEdit", "mnuExtras_WordCount"};

enum Setup { Text, InTable, Bullets, WithField, WithHeader };

struct Row {
    const char* item;
    Setup setup;
    const char* answer = "";
};

const Row kRows[] = {
    {"mnuInsert_ImageFixed", Text, "image"},
    {"mnuInsert_ImageObject", Text, "image"},
    {"mnuObject_Fixed", Text},
    {"mnuObject_Object", Text},
    {"mnuInsert_PageNumbers", WithHeader},
    {"mnuInsert_Field", Text, "field"},
    {"mnuInsert_PageBreak", Text},
    {"mnuInsert_Date", Text},
    {"mnuFormat_Char", Text, "dialog"},
    {"mnuFormat_Paragraph", Text, "dialog"},
    {"mnuFormat_ListAttributes", Text, "dialog"},
    {"mnuFormat_IndentMore", Bullets},
    {"mnuFormat_IndentLess", Bullets},
    {"mnuFormat_Numbering(3)", Text},
    {"mnuFormat_Numbering(4)", Text},
    {"mnuFormat_Numbering(5)", Text},
    {"mnuFormat_Numbering(6)", Text},
    {"mnuFormat_Numbering(7)", Text},
    {"mnuFormat_Bullets", Text},
    {"mnuFormat_Tabs", Text, "dialog"},
    {"mnuFormat_Style", Text, "dialog"},
    {"mnuTable_InsertColLeft", InTable},
    {"mnuTable_InsertColRight", InTable},
    {"mnuTable_InsertRowAbove", InTable},
    {"mnuTable_InsertRowBelow", InTable},
    {"mnuTable_DeleteTable", InTable},
    {"mnuTable_DeleteCols", InTable},
    {"mnuTable_DeleteRows", InTable},
    {"mnuTable_SelectTable", InTable},
    {"mnuTable_SelectRow", InTable},
    {"mnuTable_SelectCell", InTable},
    {"mnuTable_GridLines", Text},
    {"mnuTable_Settings", InTable, "dialog"},
    {"mnuLupe", Text},
    {"mnuExtras_Calculator", Text, "ok"},
    {"mnuCurPos", Text, "ok"},
    {"mnuView_HeaderFooter", Text},
    {"mnuView_HeaderOnly", Text},
    {"mnuView_FooterOnly", Text},
    {"mnuInfoFeld", WithField, "ok"},
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
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("setup");
        QTest::addColumn<QString>("answer"); // what the scripted user does
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
        } else if (answer == QLatin1String("field")) {
            fx->prompts->answerInput(QStringLiteral("Nachname"));
            fx->prompts->answerMessage(QMessageBox::No);
        } else if (answer == QLatin1String("ok")) {
            fx->prompts->answerMessage(QMessageBox::Ok);
        } else if (answer == QLatin1String("dialog")) {
            fx->prompts->answerExec([](QDialog* d) {
                changeSomething(d);
                return int(QDialog::Accepted);
            });
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

    void everyItemIsCovered() {
        QStringList own;
        for (const Row& r : kRows)
            own << QString::fromLatin1(r.item);
        for (const char* menu : {"mnuInsert", "mnuFormat", "mnuTable", "mnuExtras"}) {
            for (QAction* a : w->findChild<QMenu*>(QLatin1String(menu))->findChildren<QAction*>()) {
                const QString name = a->objectName();
                if (a->isSeparator() || name.isEmpty() || name.endsWith(QLatin1String("_Menu")))
                    continue;
                QVERIFY2(own.contains(name) || kElsewhere.contains(name), qPrintable(name));
            }
        }
    }

    void pageNumbersNeedHeaderOrFooter() {
        QVERIFY(trigger(QStringLiteral("mnuInsert_PageNumbers")));
        QCOMPARE(fx->prompts->last().title, QStringLiteral("Seitenzahlen einfügen"));
        QCOMPARE(fx->prompts->last().text,
                 QStringLiteral("Seitenzahlen können nur in Kopf und Fußzeilen eingefügt werden!\r"
                                "Siehe 'Menü - Ansicht - Kopf und Fußzeilen'"));
        QCOMPARE(fx->prompts->last().buttons, QMessageBox::Ok);
        QCOMPARE(s->FieldNext(0, 0), 0);
        // With a header the field goes in even at a place in the main text.
        QVERIFY(trigger(QStringLiteral("mnuView_HeaderFooter")));
        s->HeaderFooterLeave();
        s->setSelStart(3);
        QVERIFY(trigger(QStringLiteral("mnuInsert_PageNumbers")));
        const int id = s->FieldNext(0, 0);
        QVERIFY(id > 0);
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
        QCOMPARE(fx->prompts->asked.at(0).title, QStringLiteral("Felder anlegen"));
        QCOMPARE(fx->prompts->asked.at(0).text,
                 QStringLiteral(
                     "Geben Sie einen Feldnamen  ein!\rGültiger Feldname aus der Adressdatenbank "
                     "z.B.: Vorname, Nachname usw..."));
        QCOMPARE(fx->prompts->asked.at(1).text,
                 QStringLiteral("Wollen Sie weitere Felder anlegen?"));
        QCOMPARE(fx->prompts->asked.at(1).icon, Prompter::Icon::Question);
        QVERIFY(s->Text().startsWith(QStringLiteral("Vorname  Nachname  Erste")));
        const int first = s->FieldNext(0, 0);
        QCOMPARE(s->FieldData(first), QStringLiteral("Vorname"));

        s->setSelStart(2); // inside "Vorname"
        s->setFieldCurrent(0);
        QVERIFY(trigger(QStringLiteral("mnuInfoFeld")));
        QCOMPARE(fx->prompts->last().title, QStringLiteral("Feldinformationen"));
        QCOMPARE(fx->prompts->last().icon, Prompter::Icon::Information);
        QCOMPARE(
            fx->prompts->last().text,
            QStringLiteral("Feld Nr.: %1   Text ist: Vorname    Feld-Daten   Vorname").arg(first));
        // Outside a field the item does nothing.
        const int asked = fx->prompts->asked.size();
        s->setSelStart(s->Text().size() - 2);
        s->setFieldCurrent(0);
        QVERIFY(trigger(QStringLiteral("mnuInfoFeld")));
        QCOMPARE(fx->prompts->asked.size(), asked);
    }

    void headerFooterItems_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("setBefore");
        QTest::addColumn<int>("setAfter");
        QTest::addColumn<int>("active");
        QTest::newRow("both, new") << "mnuView_HeaderFooter" << 0 << 5 << 1;
        QTest::newRow("both, first page") << "mnuView_HeaderFooter" << 3 << 3 << 2;
        QTest::newRow("header only, new") << "mnuView_HeaderOnly" << 0 << 1 << 2;
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
        QCOMPARE(s->HeaderFooterDisplay(), 1);
        // A part that is there is edited on the pages of the layout view.
        QCOMPARE(w->findChild<QAction*>(QStringLiteral("mnuView_Layout(1)"))->isChecked(),
                 s->HeaderFooterActive() != 0);
    }

    void indentMoreMovesBothIndents() {
        s->setBulletAttribute(3, 0);
        s->setBulletAttribute(5, 360);
        s->setListType(2);
        QVERIFY(trigger(QStringLiteral("mnuFormat_IndentMore")));
        QCOMPARE(s->BulletAttribute(2), 2);
        QCOMPARE(s->BulletAttribute(3), 360);
        QCOMPARE(s->BulletAttribute(5), 720);
        // A paragraph outside a list keeps its indent.
        s->setSelStart(s->Text().size() - 1);
        QTextBlockFormat f;
        f.setLeftMargin(40);
        s->textCursor().mergeBlockFormat(f);
        QVERIFY(trigger(QStringLiteral("mnuFormat_IndentLess")));
        QCOMPARE(s->IndentL(), 600);
    }

    void tableItemsFollowTheInputPosition() {
        QMenu* table = w->findChild<QMenu*>(QStringLiteral("mnuTable"));
        Q_EMIT table->aboutToShow();
        for (const char* name :
             {"mnuTable_InsertColLeft", "mnuTable_DeleteRows", "mnuTable_SelectCell"})
            QVERIFY(!w->findChild<QAction*>(QLatin1String(name))->isEnabled());
        prepare(InTable);
        Q_EMIT table->aboutToShow();
        for (const char* name :
             {"mnuTable_InsertColLeft", "mnuTable_DeleteRows", "mnuTable_SelectCell"})
            QVERIFY(w->findChild<QAction*>(QLatin1String(name))->isEnabled());
        QVERIFY(w->findChild<QAction*>(QStringLiteral("mnuTable_GridLines"))->isChecked());
        // Deleting the table takes all of it.
        QVERIFY(trigger(QStringLiteral("mnuTable_DeleteTable")));
        QCOMPARE(s->TableAtInputPos(), 0);
        QVERIFY(!s->Text().contains(QStringLiteral("A1")));
    }

    void magnifierFollowsTheMouse() {
        auto* lupe = w->findChild<QAction*>(QStringLiteral("mnuLupe"));
        QCOMPARE(lupe->text(), QStringLiteral("Lupe"));
        QVERIFY(trigger(QStringLiteral("mnuLupe")));
        QVERIFY(w->magnifierOn());
        QCOMPARE(lupe->text(), QStringLiteral("Lupe ausschalten"));
        auto* lens = w->findChild<TextControl*>(QStringLiteral("TXTextControl3"));
        QVERIFY(lens);
        s->setSelStart(0);
        const QRect caret = s->cursorRect();
        Q_EMIT s->MouseMoved(caret.center() + QPoint(40, 0));
        QVERIFY(s->SelLength() > 0);
        QVERIFY(lens->isVisible());
        QVERIFY(!lens->Text().isEmpty());
        QVERIFY(s->SelText().contains(lens->Text().left(3)));
        // Far below the text there is nothing to show.
        Q_EMIT s->MouseMoved(QPoint(caret.center().x(), s->viewport()->height() - 2));
        QVERIFY(!lens->isVisible());
        QVERIFY(trigger(QStringLiteral("mnuLupe")));
        QCOMPARE(lupe->text(), QStringLiteral("Lupe einschalten"));
        const int start = s->SelStart();
        Q_EMIT s->MouseMoved(caret.center());
        QVERIFY(!lens->isVisible());
        QCOMPARE(s->SelStart(), start);
    }

private:
    static void changeSomething(QDialog* d) {
        const QString name = d->objectName();
        if (name == QLatin1String("characterDialog"))
            d->findChild<QComboBox*>(QStringLiteral("style"))->setCurrentIndex(2);
        else if (name == QLatin1String("paragraphDialog"))
            d->findChild<QComboBox*>(QStringLiteral("alignment"))->setCurrentIndex(2);
        else if (name == QLatin1String("listDialog"))
            d->findChild<QComboBox*>(QStringLiteral("type"))->setCurrentIndex(1);
        else if (name == QLatin1String("tabDialog"))
            d->findChild<QPushButton*>(QStringLiteral("cmdSet"))->click();
        else if (name == QLatin1String("styleDialog"))
            d->findChild<QListWidget*>(QStringLiteral("styleList"))->setCurrentRow(2);
        else if (name == QLatin1String("tableSettingsDialog"))
            d->findChild<DialogParts::LengthBox*>(QStringLiteral("borderWidth"))->setValue(2);
        else
            qWarning("unknown dialog %s", qPrintable(name));
    }

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
        case Bullets:
            s->setListType(2);
            break;
        case WithField:
            s->FieldInsert(QStringLiteral("Ort"));
            s->setSelStart(4); // inside the field
            break;
        case WithHeader:
            s->setHeaderFooterSet(1);
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
