// A DL envelope keeps even a long recipient block inside the address window, read
// back from the PDF with pdftotext -bbox, and never packs its lines tighter than a
// 9-point line.

#include "PdfText.h"
#include "TestFiles.h"

#include "engine/PdfExport.h"
#include "engine/TextControl.h"
#include "output/EnvelopeLayout.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {
constexpr double PointsPerMm = 72.0 / 25.4;
// The address window of a DL envelope in millimetres from the top left.
constexpr double WindowLeft = 110, WindowTop = 50, WindowRight = 200, WindowBottom = 95;
constexpr double SenderBottomMm = 30;
} // namespace

class TstEnvelopeFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recipientInWindow_data()
    {
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("street");
        QTest::addColumn<int>("lines");
        QTest::newRow("contact") << "Lisa Amt" << "Rathausplatz 2" << 5;
        QTest::newRow("contact, two-line street") << "Lisa Amt" << "Hinterhaus\nGartenweg 3" << 6;
        QTest::newRow("contact, three-line street") << "Lisa Amt" << "c/o Weber\nHinterhaus\nGartenweg 3" << 7;
    }
    void recipientInWindow()
    {
        QFETCH(QString, contact);
        QFETCH(QString, street);
        QFETCH(int, lines);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        TextControl s;
        EnvelopeLayout::Recipient to;
        to.title = QStringLiteral("Firma");
        to.firstName = QStringLiteral("Gärtnerei");
        to.lastName = QStringLiteral("Sonnenschein");
        to.contactTitle = QStringLiteral("Frau");
        to.contact = contact;
        to.street = street;
        to.postCode = QStringLiteral("79098");
        to.town = QStringLiteral("Freiburg");
        const EnvelopeLayout::Format dl = EnvelopeLayout::formats()[EnvelopeLayout::DefaultFormat];
        EnvelopeLayout::build(s, dl, {QStringLiteral("Maria Muster"), QStringLiteral("Lindenweg 12"),
                                      QStringLiteral("79098 Freiburg"), QString()},
                              to, false);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("dl.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(*s.doc(), file, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(file);
        QCOMPARE(pages.size(), 1);

        QList<double> tops; // of the recipient's lines
        for (const PdfWord& w : pages.first().words) {
            if (w.yMax < SenderBottomMm * PointsPerMm && w.xMax < 60 * PointsPerMm)
                continue;
            const QString where = QStringLiteral("%1 at %2..%3 mm")
                                      .arg(w.text)
                                      .arg(w.yMin / PointsPerMm, 0, 'f', 1)
                                      .arg(w.yMax / PointsPerMm, 0, 'f', 1);
            QVERIFY2(w.xMin >= WindowLeft * PointsPerMm && w.xMax <= WindowRight * PointsPerMm, qPrintable(where));
            QVERIFY2(w.yMin >= WindowTop * PointsPerMm && w.yMax <= WindowBottom * PointsPerMm, qPrintable(where));
            if (std::none_of(tops.begin(), tops.end(), [&](double t) { return qAbs(t - w.yMin) < 1; }))
                tops << w.yMin;
        }
        QCOMPARE(tops.size(), lines);
        std::sort(tops.begin(), tops.end());
        for (int i = 1; i < tops.size(); ++i)
            QVERIFY2(tops[i] - tops[i - 1] >= 9 * 1.1, qPrintable(QString::number(tops[i] - tops[i - 1])));
    }
};

QTEST_MAIN(TstEnvelopeFit)
#include "tst_envelopefit.moc"
