// "Briefkuvert drucken" in a document window: a new document, the envelope window on
// it, and the DL envelope printed through the print command to a PDF whose recipient
// block is read back with pdftotext -bbox.

#include "PdfText.h"
#include "../shell/ShellFixture.h"

#include "addresses/AddressListBox.h"
#include "app/CurrentPrinter.h"
#include "output/EnvelopeLayout.h"
#include "output/frmBriefkuvert.h"

#include <QAction>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
constexpr double PointsPerMm = 72.0 / 25.4;

// The address field of a DL envelope, in millimetres from the top left: the
// 90 x 45 mm window of DIN 680 at its height (15 mm above the bottom edge), placed in
// the right half where this layout writes the recipient, 20 mm from the right edge.
struct MmRect {
    double left, top, right, bottom;
};
constexpr MmRect DlAddressField{110, 50, 200, 95};
constexpr double SenderBottomMm = 30;
} // namespace

class TestEnvelopePrint : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString pdf() const { return m_dir.filePath(QStringLiteral("kuvert.pdf")); }

private Q_SLOTS:
    void init()
    {
        resetCurrentPrinter();
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf());
    }

    void menuBuildsAndPrintsDl_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name"); // row 2 of the recipient column
        QTest::addColumn<QStringList>("block");
        QTest::newRow("contact") << "Freiburg Stadtverwaltung" << "Stadtverwaltung Freiburg"
                                 << QStringList{"An",   "die",  "Stadtverwaltung", "Freiburg", "zHd.",  "Frau",
                                                "Lisa", "Amt",  "Rathausplatz",    "2",        "79098", "Freiburg"};
    }
    void menuBuildsAndPrintsDl()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(QStringList, block);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* from = fx.newDocument();
        QAction* item = from->findChild<QAction*>(QStringLiteral("mnuUmschlagStandard"));
        QVERIFY(item && item->isEnabled());
        fx.prompts->answerExec([&](QDialog* d) {
            auto* w = qobject_cast<frmBriefkuvert*>(d);
            if (!w)
                return 0;
            w->show();
            const KuvertWidgets& c = w->controls();
            c.List1->setCurrentRow(int(c.List1->entries().indexOf(entry)));
            c.Command1->click();
            return w->result();
        });
        item->trigger();
        ShellFixture::flush();
        QCOMPARE(fx.frame->documents().size(), 2);
        frmMDIChild* env = fx.frame->activeDocument();
        QVERIFY(env && env != from);
        TextControl* s = env->surface();
        QCOMPARE(s->PageWidth(), 12474);
        QCOMPARE(s->TableCellText(EnvelopeLayout::AddressTable, 2, 2), name);
        QVERIFY(from->surface()->Text().isEmpty());

        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        fx.prompts->answerPrint(true);
        env->findChild<QAction*>(QStringLiteral("mnuFile_Print"))->trigger();
        const QList<PdfPage> pages = pdfWordBoxes(pdf());
        QCOMPARE(pages.size(), 1);
        const PdfPage& page = pages.first();
        QVERIFY(qAbs(page.width - 220 * PointsPerMm) < 1 && qAbs(page.height - 110 * PointsPerMm) < 1);
        // The sender's three small lines stand in the top left corner; every word
        // below them belongs to the recipient and lies in the address field.
        QStringList sender, recipient;
        for (const PdfWord& word : page.words) {
            if (word.yMax < SenderBottomMm * PointsPerMm && word.xMax < 60 * PointsPerMm) {
                sender << word.text;
                continue;
            }
            recipient << word.text;
            QVERIFY2(word.xMin >= DlAddressField.left * PointsPerMm && word.xMax <= DlAddressField.right * PointsPerMm &&
                         word.yMin >= DlAddressField.top * PointsPerMm &&
                         word.yMax <= DlAddressField.bottom * PointsPerMm,
                     qPrintable(word.text));
        }
        QCOMPARE(recipient, block);
        QCOMPARE(sender, (QStringList{"Maria", "Muster", "Lindenweg", "12", "79098", "Freiburg"}));
    }
};

QTEST_MAIN(TestEnvelopePrint)
#include "tst_envelopeprint.moc"
