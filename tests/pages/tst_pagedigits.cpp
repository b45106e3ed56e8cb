// Page numbers take the room of the page count's digits, no more and no less, read
// back from the exported PDF.

#include "PdfText.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"
#include "engine/Paginator.h"
#include "engine/PdfExport.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

class TstPageDigits : public QObject {
    Q_OBJECT

    // "Seite <number> von <count>" at the cursor.
    static void insertNumbers(QTextDocument* d, QTextCursor& c)
    {
        c.insertText(QStringLiteral("Seite "));
        Fields::setType(d, Fields::insert(c, QString()), FieldTypes::PageNumber);
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral(" von "));
        Fields::setType(d, Fields::insert(c, QString()), FieldTypes::PageCount);
        c.movePosition(QTextCursor::End);
    }

private Q_SLOTS:
    void numbersFit_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("inFooter"); // else on the body's last page
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("4 pages, footer") << 4 << true << 1 << "Seite 1 von 4";
        QTest::newRow("10 pages, footer") << 10 << true << 10 << "Seite 10 von 10";
        QTest::newRow("12 pages, body") << 12 << false << 12 << "Seite 12 von 12";
    }
    void numbersFit()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(int, pages);
        QFETCH(bool, inFooter);
        QFETCH(int, page);
        QFETCH(QString, expected);
        Document d;
        QTextCursor c(d.body());
        for (int i = 1; i <= pages; ++i) {
            if (i > 1)
                Paginator::insertPageBreak(c);
            c.insertText(QStringLiteral("Text %1 ").arg(i));
        }
        if (inFooter) {
            d.setHeaderFooterSet(4);
            QTextCursor f(d.headerFooter(4));
            insertNumbers(d.headerFooter(4), f);
        } else {
            insertNumbers(d.body(), c);
        }
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ziffern.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(d, file, &error), qPrintable(error));
        QCOMPARE(pdfPages(file), pages);
        const QString text = pdfPageText(file, page);
        QVERIFY2(text.contains(expected), qPrintable(text));
    }
};

QTEST_MAIN(TstPageDigits)
#include "tst_pagedigits.moc"
