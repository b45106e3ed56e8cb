// "Briefkuvert drucken" in a document window: a new document, the envelope window on
// it, and the DL envelope printed through the print command to a PDF whose recipient
// block is read back with pdftotext -bbox.

#include "PdfText.h"
#include "../shell/ShellFixture.h"

#include "addresses/AddressListBox.h"
#include "app/CurrentPrinter.h"
#include "engine/pages/PdfExport.h"
#include "output/EnvelopeLayout.h"
#include "output/frmBriefkuvert.h"

#include <QAction>
#include <QPrinter>
#include "TestCommon.h"
#include <algorithm>

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

    void menuBuildsAndPrintsDl()
    {
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
            c.List1->setCurrentRow(int(c.List1->entries().indexOf(QStringLiteral("Freiburg Stadtverwaltung"))));
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
        QCOMPARE(s->TableCellText(EnvelopeLayout::AddressTable, 2, 2), QStringLiteral("Stadtverwaltung Freiburg"));
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
        QCOMPARE(recipient, (QStringList{"An", "die", "Stadtverwaltung", "Freiburg", "zHd.", "Frau", "Lisa", "Amt",
                                         "Rathausplatz", "2", "79098", "Freiburg"}));
        QCOMPARE(sender, (QStringList{"Maria", "Muster", "Lindenweg", "12", "79098", "Freiburg"}));
    }

    // On every format: the recipient's lines as printed, one below the other without a
    // gap before the town, the country in capitals, and nothing in the bottom 15 mm. A
    // long block stays inside the DL window and never packs its lines tighter than 9 pt.
    void recipientLinesAndBarcodeZone_data()
    {
        addColumns<int, double, bool, QStringList>("format", "heightMm", "longBlock", "lines");
        const QStringList abroad{"Herrn Dr.", "Jan de Vries", "Keizersgracht 100", "1015 Amsterdam", "NIEDERLANDE"};
        QTest::newRow("C6") << 0 << 114.0 << false << abroad;
        QTest::newRow("DL") << 1 << 110.0 << false << abroad;
        QTest::newRow("E5") << 2 << 155.0 << false << abroad;
        QTest::newRow("DL, long block") << 1 << 110.0 << true
                                        << QStringList{"An die", "Gärtnerei Sonnenschein", "zHd. Frau Lisa Amt", "c/o Weber",
                                                       "Hinterhaus", "Gartenweg 3", "79098 Freiburg"};
    }
    void recipientLinesAndBarcodeZone()
    {
        QFETCH(int, format);
        QFETCH(double, heightMm);
        QFETCH(bool, longBlock);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        TextControl s;
        EnvelopeLayout::Recipient to;
        if (longBlock) {
            to.title = QStringLiteral("An die");
            to.firstName = QStringLiteral("Gärtnerei");
            to.lastName = QStringLiteral("Sonnenschein");
            to.contactTitle = QStringLiteral("Frau");
            to.contact = QStringLiteral("Lisa Amt");
            to.street = QStringLiteral("c/o Weber\nHinterhaus\nGartenweg 3");
            to.postCode = QStringLiteral("79098");
            to.town = QStringLiteral("Freiburg");
        } else {
            to.title = QStringLiteral("Herr Dr.");
            to.firstName = QStringLiteral("Jan");
            to.lastName = QStringLiteral("de Vries");
            to.street = QStringLiteral("Keizersgracht 100");
            to.postCode = QStringLiteral("1015");
            to.town = QStringLiteral("Amsterdam");
            to.countryCode = QStringLiteral("NL");
            to.country = QStringLiteral("Niederlande");
        }
        EnvelopeLayout::build(s, EnvelopeLayout::formats()[std::size_t(format)],
                              {QStringLiteral("Maria Muster"), QStringLiteral("Lindenweg 12"),
                               QStringLiteral("79098 Freiburg"), QString()},
                              to, false);
        // Notes typed below the address run on to a second sheet before the zone.
        s.setSelText(QStringLiteral("Vermerk\r\n").repeated(40));
        const QString file = m_dir.filePath(QStringLiteral("format.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(*s.doc(), file, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(file);
        QVERIFY(pages.size() > 1);
        QVERIFY(qAbs(pages.first().height - heightMm * PointsPerMm) < 1);

        // Lines by their top, words joined left to right.
        QList<std::pair<double, QString>> lines;
        double lowest = 0;
        for (const PdfWord& w : pages.first().words) {
            QVERIFY2(w.yMax <= (heightMm - 15) * PointsPerMm, qPrintable(w.text));
            lowest = qMax(lowest, w.yMax);
            if (w.text == u"Vermerk")
                continue;
            if (w.yMax < SenderBottomMm * PointsPerMm && w.xMax < 60 * PointsPerMm)
                continue; // the sender
            if (format == 1) // the DL window
                QVERIFY2(w.xMin >= DlAddressField.left * PointsPerMm && w.xMax <= DlAddressField.right * PointsPerMm &&
                             w.yMin >= DlAddressField.top * PointsPerMm && w.yMax <= DlAddressField.bottom * PointsPerMm,
                         qPrintable(w.text));
            auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return qAbs(l.first - w.yMin) < 1; });
            if (line == lines.end())
                lines.append({w.yMin, w.text});
            else
                line->second += QLatin1Char(' ') + w.text;
        }
        std::sort(lines.begin(), lines.end());
        QStringList texts;
        for (const auto& l : lines)
            texts << l.second;
        QTEST(texts, "lines");
        for (int i = 1; i < lines.size(); ++i) {
            const double step = lines[i].first - lines[i - 1].first;
            QVERIFY2(step >= 9 * 1.1, qPrintable(texts[i]));
            if (i >= 2 && !longBlock)
                QVERIFY2(qAbs(step - (lines[1].first - lines[0].first)) < 0.5, qPrintable(texts[i]));
        }
        // The notes came within a few lines of the zone.
        QVERIFY2(lowest >= (heightMm - 15 - 10) * PointsPerMm, qPrintable(QString::number(lowest / PointsPerMm)));
    }
};

QTEST_MAIN(TestEnvelopePrint)
#include "tst_envelopeprint.moc"
