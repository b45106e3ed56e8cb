// The envelope: page geometry and the two tables written into a surface, the sender
// and recipient rows, and the envelope window on the starter database.

#include "TestFiles.h"
#include "../addresses/AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/Tables.h"
#include "engine/TextControl.h"
#include "output/EnvelopeLayout.h"
#include "output/frmBriefkuvert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QToolButton>

using namespace EnvelopeLayout;

namespace {
Recipient becker() { return {"Herrn", "Karl", "Becker", "", "Hauptstraße 5", "10115", "Berlin", ""}; }
Sender maria() { return {"Maria Muster", "Lindenweg 12", "79098 Freiburg", ""}; }

// Point size of the text in the given cell of table `id`.
double cellSize(TextControl& s, int id, int row, int col)
{
    QTextCursor c(s.doc()->body());
    c.setPosition(s.TableCellStart(id, row, col)); // behind the cell's first character
    return c.charFormat().fontPointSize();
}
} // namespace

class TestEnvelope : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedPrompter* m_prompts = nullptr;
    AppState m_state;

    std::unique_ptr<frmBriefkuvert> open(TextControl* target = nullptr)
    {
        auto w = std::make_unique<frmBriefkuvert>(m_state, target);
        w->show();
        return w;
    }
    static int rowOf(const frmBriefkuvert& w, const QString& entry)
    {
        return int(w.controls().List1->entries().indexOf(entry));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_prompts = installScriptedPrompter();
        m_state.ProgramFolder = m_dir.path() + QLatin1Char('/');
        m_state.AddressDbPath = m_dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeStarter(m_state.AddressDbPath));
    }
    void init() { m_prompts->clear(); }

    void formats_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("listText");
        QTest::addColumn<QList<int>>("page"); // width, height, top, bottom, left, right
        QTest::addColumn<int>("breaks");
        QTest::addColumn<double>("finalSize");
        QTest::newRow("C6") << 0 << "C6   162 x 114 mm" << QList<int>{9185, 6464, 567, 567, 284, 284} << 9 << 4.0;
        QTest::newRow("DL") << 1 << "DL    220 x 110 mm" << QList<int>{12474, 6237, 567, 567, 567, 567} << 8 << 7.0;
        QTest::newRow("E5") << 2 << "E5    220 x 155 mm" << QList<int>{12474, 8788, 567, 567, 284, 284} << 15 << 12.0;
    }
    void formats()
    {
        QFETCH(int, index);
        QFETCH(QString, listText);
        QFETCH(QList<int>, page);
        QFETCH(int, breaks);
        QFETCH(double, finalSize);
        const Format& f = EnvelopeLayout::formats()[std::size_t(index)];
        QCOMPARE(f.listText, listText);
        TextControl s;
        build(s, f, maria(), becker(), false);
        QCOMPARE((QList<int>{s.PageWidth(), s.PageHeight(), s.PageMarginT(), s.PageMarginB(), s.PageMarginL(),
                             s.PageMarginR()}),
                 page);
        QCOMPARE(s.ZoomFactor(), 100);
        QCOMPARE(s.FontSize(), finalSize); // at the caret, behind the address table
        QVERIFY(!s.FontBold());
        // The empty lines between the tables, each a paragraph of its own.
        const QTextTable* from = Tables::find(s.doc()->body(), SenderTable);
        const QTextTable* to = Tables::find(s.doc()->body(), AddressTable);
        QVERIFY(from && to);
        const QTextDocument* d = s.doc()->body();
        const int between =
            d->findBlock(to->firstPosition() - 1).blockNumber() - d->findBlock(from->lastPosition() + 1).blockNumber();
        QCOMPARE(between, breaks);
    }

    void tables()
    {
        TextControl s;
        Recipient r = becker();
        build(s, EnvelopeLayout::formats()[1], maria(), r, true);
        QCOMPARE(s.TableRows(SenderTable), 3);
        QCOMPARE(s.TableColumns(SenderTable), 1);
        QCOMPARE(s.TableRows(AddressTable), 6);
        QCOMPARE(s.TableColumns(AddressTable), 2);
        QCOMPARE(s.TableCellText(SenderTable, 1, 1), QStringLiteral("Maria Muster"));
        QCOMPARE(s.TableCellText(SenderTable, 3, 1), QStringLiteral("79098 Freiburg"));
        QCOMPARE(cellSize(s, SenderTable, 2, 1), 7.0);
        QCOMPARE(cellSize(s, AddressTable, 2, 2), 12.0);
        for (int row = 1; row <= 6; ++row)
            QVERIFY(s.TableCellText(AddressTable, row, 1).isEmpty());
        QCOMPARE(s.TableCellText(AddressTable, 2, 2), QStringLiteral("Karl Becker"));
        // Bold was set before the first table: every cell writes bold.
        QTextCursor c(s.doc()->body());
        c.setPosition(s.TableCellStart(AddressTable, 2, 2));
        QVERIFY(c.charFormat().fontWeight() >= QFont::Bold);
    }

    void senderRows_data()
    {
        QTest::addColumn<QString>("street");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("second");
        QTest::newRow("street") << "Lindenweg 12" << "" << "Lindenweg 12";
        QTest::newRow("post-office box only") << "" << "Postfach 4711" << "Postfach 4711";
        QTest::newRow("both") << "Lindenweg 12" << "Postfach 4711" << "Lindenweg 12 Postfach 4711";
    }
    void senderRows()
    {
        QFETCH(QString, street);
        QFETCH(QString, box);
        QFETCH(QString, second);
        QCOMPARE(EnvelopeLayout::senderRows({"Maria Muster", street, "79098 Freiburg", box}),
                 (QStringList{"Maria Muster", second, "79098 Freiburg"}));
    }

    void recipientRows_data()
    {
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("no contact") << ""
                                    << QStringList{"Firma", "Schreinerei Holzmann GmbH", "Industriestraße 44", "",
                                                   "70173 Stuttgart", ""};
        QTest::newRow("contact") << "Otto Span"
                                 << QStringList{"Firma", "Schreinerei Holzmann GmbH", "zHd. Herrn Otto Span",
                                                "Industriestraße 44", "", "70173 Stuttgart"};
    }
    void recipientRows()
    {
        QFETCH(QString, contact);
        QFETCH(QStringList, rows);
        QCOMPARE(EnvelopeLayout::recipientRows({"Firma", "Schreinerei", "Holzmann GmbH", contact, "Industriestraße 44",
                                                "70173", "Stuttgart", "Herrn"}),
                 rows);
    }

    void customFormat_data()
    {
        QTest::addColumn<int>("widthMm");
        QTest::addColumn<int>("heightMm");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("C5") << 229 << 162 << 12984 << 9185;
        QTest::newRow("too small") << 20 << 162 << 0 << 0;
        QTest::newRow("empty") << 0 << 0 << 0 << 0;
    }
    void customFormat()
    {
        QFETCH(int, widthMm);
        QFETCH(int, heightMm);
        QFETCH(int, width);
        QFETCH(int, height);
        const Format f = EnvelopeLayout::customFormat(widthMm, heightMm);
        QCOMPARE(f.width, width);
        QCOMPARE(f.height, height);
        TextControl s;
        const int before = s.PageWidth();
        build(s, f, maria(), becker(), false);
        QCOMPARE(s.TableRows(AddressTable), width ? 6 : 0);
        QCOMPARE(s.PageWidth(), width ? width : before);
    }

    // --- The window ---

    void windowOpensOnDl()
    {
        auto w = open();
        const KuvertWidgets& c = w->controls();
        QCOMPARE(w->windowTitle(), QStringLiteral("Adressenauswahl   Briefkuvert"));
        QCOMPARE(c.List2->count(), 3);
        QCOMPARE(c.List2->currentItem()->text(), QStringLiteral("DL    220 x 110 mm"));
        QCOMPARE(c.List1->count(), w->addresses().recordCount());
        QCOMPARE(c.txtName1->text(), QStringLiteral("Maria Muster"));
        QVERIFY(!c.cmdAlle->isEnabled());
    }

    // Each way the list is filled anew selects DL again.
    void rebuildSelectsDl_data()
    {
        QTest::addColumn<QString>("word"); // empty: "Alle anzeigen"
        QTest::addColumn<bool>("filtered");
        QTest::newRow("search") << "Freiburg" << true;
        QTest::newRow("show all") << "" << false;
    }
    void rebuildSelectsDl()
    {
        QFETCH(QString, word);
        QFETCH(bool, filtered);
        auto w = open();
        const KuvertWidgets& c = w->controls();
        c.List2->setCurrentRow(2);
        if (word.isEmpty()) {
            c.cmdAlle->setEnabled(true);
            c.cmdAlle->click();
        } else {
            QTest::keyClicks(c.txtFind, word);
            QTest::keyClick(c.txtFind, Qt::Key_Return);
        }
        QCOMPARE(c.List2->currentRow(), 1);
        QCOMPARE(c.cmdAlle->isEnabled(), filtered);
        QCOMPARE(c.cmdAlle->palette().color(QPalette::Button) == QColor(192, 255, 192), filtered);
        QCOMPARE(c.List1->count(), w->addresses().recordCount());
        QCOMPARE(m_prompts->asked.size(), 0);
    }

    void searchMessages_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Sie müssen im Textfeld 'Suchen nach Adresse' (links) erst ein Suchwort einbgeben!";
        QTest::newRow("nothing found") << "Xylophon"
                                       << "Unter dem eingegebenen Suchwort   (Xylophon)  wurden keine Daten gefunden.";
    }
    void searchMessages()
    {
        QFETCH(QString, word);
        QFETCH(QString, message);
        auto w = open();
        const KuvertWidgets& c = w->controls();
        const QStringList before = c.List1->entries();
        c.List2->setCurrentRow(0);
        c.txtFind->setText(word);
        c.cmdFind->click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(m_prompts->last().text, message);
        QCOMPARE(c.List1->entries(), before);
        QCOMPARE(c.List2->currentRow(), 0); // the list was not rebuilt
        if (!word.isEmpty())
            QCOMPARE(w->addresses().recordSource(), Queries::lastNameOrder());
    }

    // Picking an address positions the boxes; the attention line shows only with a
    // contact person.
    void pickAddress_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("lastName");
        QTest::addColumn<bool>("contact");
        QTest::newRow("contact") << "Holzmann GmbH Schreinerei" << "Holzmann GmbH" << true;
        QTest::newRow("no contact") << "Becker Karl" << "Becker" << false;
    }
    void pickAddress()
    {
        QFETCH(QString, entry);
        QFETCH(QString, lastName);
        QFETCH(bool, contact);
        auto w = open();
        const KuvertWidgets& c = w->controls();
        const int row = rowOf(*w, entry);
        QVERIFY(row > 0);
        c.List1->setCurrentRow(row);
        QCOMPARE(w->addresses().absolutePosition(), row);
        QCOMPARE(c.Text1[2]->text(), lastName);
        QCOMPARE(c.Text1[3]->isVisible(), contact);
        QCOMPARE(c.Text1[7]->isVisible(), contact);
    }

    void millimetreBoxesTakeDigitsOnly()
    {
        auto w = open();
        QLineEdit* b = w->controls().txtfB;
        QVERIFY(!b->isEnabled());
        w->controls().chkBen->click();
        QVERIFY(b->isEnabled());
        QCOMPARE(b->text(), QStringLiteral("0"));
        QTest::keyClicks(b, QStringLiteral("2x2-9"));
        QCOMPARE(b->text(), QStringLiteral("0229"));
        QTest::keyClick(b, Qt::Key_Backspace);
        QCOMPARE(b->text(), QStringLiteral("022"));
    }

    // The build writes the boxes as they stand into the target, stores an edited sender
    // and closes the window.
    void buildWritesTarget()
    {
        TextControl s;
        auto w = open(&s);
        const KuvertWidgets& c = w->controls();
        c.List1->setCurrentRow(rowOf(*w, QStringLiteral("Holzmann GmbH Schreinerei")));
        c.txtStrasse1->clear();
        c.txtPostfach->setText(QStringLiteral("Postfach 4711"));
        c.Command1->click();
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!m_state.ToolbarRefreshOff);
        QCOMPARE(s.PageWidth(), 12474);
        QCOMPARE(s.TableCellText(SenderTable, 2, 1), QStringLiteral("Postfach 4711"));
        QCOMPARE(s.TableCellText(AddressTable, 3, 2), QStringLiteral("zHd. Herrn Otto Span"));
        QCOMPARE(s.TableCellText(AddressTable, 4, 2), QStringLiteral("Industriestraße 44\r\nHalle 2"));
        RecordSource head;
        QVERIFY(head.open(m_state.AddressDbPath, Queries::letterheadTable()));
        QCOMPARE(head.field(QStringLiteral("Postfach")), QStringLiteral("Postfach 4711"));
        QCOMPARE(head.field(QStringLiteral("BriefKStraße")), QString());
    }

    void customFormatNeedsSize()
    {
        TextControl s;
        auto w = open(&s);
        const KuvertWidgets& c = w->controls();
        c.chkBen->setChecked(true);
        c.Command1->click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
        QVERIFY(w->isVisible());
        QCOMPARE(s.TableRows(AddressTable), 0);
        c.txtfB->setText(QStringLiteral("229"));
        c.txtfH->setText(QStringLiteral("162"));
        c.Command1->click();
        QCOMPARE(s.PageWidth(), 12984);
        QCOMPARE(s.PageHeight(), 9185);
    }
};

QTEST_MAIN(TestEnvelope)
#include "tst_envelope.moc"
