// The envelope: page geometry and the two tables written into a surface, the sender
// and recipient rows, and the envelope window on the starter database.

#include "TestCommon.h"
#include "../addresses/AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/objects/Tables.h"
#include "engine/surface/TextControl.h"
#include "output/EnvelopeLayout.h"
#include "output/frmBriefkuvert.h"

#include <QListWidget>
#include <QToolButton>

using namespace EnvelopeLayout;

namespace {
Recipient becker() { return {"Herrn", "Karl", "Becker", "", "Hauptstraße 5", "10115", "Berlin", ""}; }
Sender maria() { return {"Maria Muster", "Lindenweg 12", "79098 Freiburg", ""}; }
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
        // page: width, height, top, bottom, left, right
        addColumns<int, QList<int>, int, double>("index", "page", "breaks", "finalSize");
        // The bottom margin keeps 15 mm (851 twips) free for the post's barcode.
        QTest::newRow("C6") << 0 << QList<int>{9185, 6464, 567, 851, 284, 284} << 9 << 4.0;
        QTest::newRow("DL") << 1 << QList<int>{12474, 6237, 567, 851, 567, 567} << 8 << 7.0;
        QTest::newRow("E5") << 2 << QList<int>{12474, 8788, 567, 851, 284, 284} << 15 << 12.0;
    }
    void formats()
    {
        QFETCH(int, index);
        QFETCH(QList<int>, page);
        QFETCH(double, finalSize);
        const Format& f = EnvelopeLayout::formats()[std::size_t(index)];
        TextControl s;
        build(s, f, maria(), becker(), false);
        QCOMPARE((QList<int>{s.PageWidth(), s.PageHeight(), s.PageMarginT(), s.PageMarginB(), s.PageMarginL(),
                             s.PageMarginR()}),
                 page);
        QCOMPARE(s.FontSize(), finalSize); // at the caret, behind the address table
        // The empty lines between the tables, each a paragraph of its own.
        const QTextTable* from = Tables::find(s.doc()->body(), SenderTable);
        const QTextTable* to = Tables::find(s.doc()->body(), AddressTable);
        QVERIFY(from && to);
        const QTextDocument* d = s.doc()->body();
        const int between =
            d->findBlock(to->firstPosition() - 1).blockNumber() - d->findBlock(from->lastPosition() + 1).blockNumber();
        QTEST(between, "breaks");
    }

    // Each way the list is filled anew selects DL again.
    void rebuildSelectsDl()
    {
        auto w = open();
        const KuvertWidgets& c = w->controls();
        for (const bool filtered : {true, false}) {
            c.List2->setCurrentRow(2);
            if (filtered) {
                QTest::keyClicks(c.txtFind, QStringLiteral("Freiburg"));
                QTest::keyClick(c.txtFind, Qt::Key_Return);
            } else {
                c.cmdAlle->click();
            }
            QCOMPARE(c.List2->currentRow(), 1);
            QCOMPARE(c.cmdAlle->isEnabled(), filtered);
            QCOMPARE(c.cmdAlle->palette().color(QPalette::Button) == QColor(192, 255, 192), filtered);
            QCOMPARE(c.List1->count(), w->addresses().recordCount());
        }
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
        QCOMPARE(s.PageWidth(), 12474);
        QCOMPARE(s.TableCellText(SenderTable, 2, 1), QStringLiteral("Postfach 4711"));
        // "Firma" has no line above the name, as in a letter.
        QCOMPARE(s.TableCellText(AddressTable, 1, 2), QStringLiteral("Schreinerei Holzmann GmbH"));
        QCOMPARE(s.TableCellText(AddressTable, 2, 2), QStringLiteral("zHd. Herrn Otto Span"));
        QCOMPARE(s.TableCellText(AddressTable, 3, 2), QStringLiteral("Industriestraße 44\r\nHalle 2"));
        RecordSource head;
        QVERIFY(head.open(m_state.AddressDbPath, Queries::letterheadTable()));
        QCOMPARE(head.field(QStringLiteral("Postfach")), QStringLiteral("Postfach 4711"));
        QCOMPARE(head.field(QStringLiteral("BriefKStraße")), QString());
    }

    // The window hands the country over: a foreign address gets its country line, and
    // the title line is the letter's.
    void foreignAddressFromWindow()
    {
        TextControl s;
        auto w = open(&s);
        w->controls().List1->setCurrentRow(rowOf(*w, QStringLiteral("de Vries Jan")));
        w->controls().Command1->click();
        QStringList rows;
        for (int row = 1; row <= 6; ++row)
            rows << s.TableCellText(AddressTable, row, 2);
        QCOMPARE(rows, (QStringList{"Herrn Dr.", "Jan de Vries", "Keizersgracht 100", "1015 Amsterdam", "NIEDERLANDE", ""}));
    }

    void customFormatNeedsSize()
    {
        TextControl s;
        auto w = open(&s);
        const KuvertWidgets& c = w->controls();
        c.chkBen->setChecked(true);
        c.Command1->click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(s.TableRows(AddressTable), 0);
        c.txtfB->setText(QStringLiteral("229"));
        c.txtfH->setText(QStringLiteral("162"));
        c.Command1->click();
        QCOMPARE((QList<int>{s.PageWidth(), s.PageHeight(), s.PageMarginT(), s.PageMarginB(), s.PageMarginL(),
                             s.PageMarginR()}),
                 (QList<int>{12984, 9185, 567, 851, 284, 284})); // 15 mm kept free at the bottom
        QCOMPARE(s.FontSize(), 12.0);
    }

    // The sender's second row with and without street and post box; the recipient's
    // six rows with and without a contact person.
    void rows()
    {
        const QString place = QStringLiteral("79098 Freiburg");
        QCOMPARE(senderRows({"M", "Weg 1", place, ""}), QStringList({"M", "Weg 1", place}));
        QCOMPARE(senderRows({"M", "", place, "Postfach 4711"}), QStringList({"M", "Postfach 4711", place}));
        QCOMPARE(senderRows({"M", "Weg 1", place, "Postfach 4711"}), QStringList({"M", "Weg 1 Postfach 4711", place}));
        QCOMPARE(recipientRows(becker()), QStringList({"Herrn", "Karl Becker", "Hauptstraße 5", "10115 Berlin", "", ""}));
        QCOMPARE(recipientRows({"Firma", "Holzmann", "GmbH", "Otto Span", "Weg 4", "70173", "Stuttgart", "Herrn"}),
                 QStringList({"Holzmann GmbH", "zHd. Herrn Otto Span", "Weg 4", "70173 Stuttgart", "", ""}));
    }
};

QTEST_MAIN(TestEnvelope)
#include "tst_envelope.moc"
