// A line without blanks gets invisible break opportunities while it is edited; saving
// it in another program's format must give back exactly the characters that were read.

#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QTest>
#include <QTextDocument>

class TestLongRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savedTextKeepsItsCharacters_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("Text") << 1;
        QTest::newRow("HTML") << 4;
        QTest::newRow("RTF") << 5;
    }

    void savedTextKeepsItsCharacters()
    {
        QFETCH(int, format);
        // Runs of exactly the limit, one over it, several times it, and a user's own
        // zero-width space inside a short word.
        const QString run = QString(2999, QLatin1Char('x')) + QStringLiteral(" ")
                            + QString(1000, QLatin1Char('y')) + QStringLiteral(" ")
                            + QString(1001, QLatin1Char('z')) + QStringLiteral(" a") + QChar(0x200B)
                            + QStringLiteral("b");
        Document doc;
        QString error;
        QVERIFY2(Formats::read(1, run.toUtf8(), doc, nullptr, &error), qPrintable(error));
        // While edited the long runs are broken up...
        QVERIFY(doc.body()->toPlainText().count(QChar(0x200B)) > 1);

        QByteArray out;
        QVERIFY2(Formats::write(format, doc, nullptr, &out, &error), qPrintable(error));
        Document back;
        QVERIFY2(Formats::read(format, out, back, nullptr, &error), qPrintable(error));
        if (format == 1)
            QCOMPARE(out, run.toUtf8());
        else // HTML and RTF are read without adding break opportunities
            QCOMPARE(back.body()->toPlainText(), run);
    }
};

QTEST_MAIN(TestLongRuns)
#include "tst_longruns.moc"
