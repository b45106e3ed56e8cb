// Serial letters from the command line write a common text that names no font in the
// letter text font, like the date and salutation around it; a font the text file
// sets stays. On the letterhead template as without it.

#include "TestFiles.h"
#include "TestHome.h"

#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "shell/SerialCommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

class TstSerialFont : public QObject {
    Q_OBJECT
    TestHome home;

    // Family and size of the text at the end of `word` in `doc`.
    static QString fontAt(const Document& doc, const QString& word)
    {
        const QTextCursor c = doc.body()->find(word);
        if (c.isNull())
            return QStringLiteral("%1 not found").arg(word);
        const QFont f = c.charFormat().font();
        return QStringLiteral("%1 %2").arg(f.families().value(0)).arg(f.pointSizeF());
    }

private Q_SLOTS:
    void commonTextInLetterFont_data()
    {
        QTest::addColumn<QByteArray>("fontText"); // FontText.txt; empty: none
        QTest::addColumn<QString>("textFile");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("onTemplate");
        QTest::addColumn<QString>("expected");
        const QByteArray plain = "wir laden Sie zur Jahresversammlung ein.\n\nBis bald.\n";
        QTest::newRow("plain, default font") << QByteArray() << "text.txt" << plain << false << "Arial 10";
        QTest::newRow("plain, FontText.txt") << QByteArray("\"Courier New\",\"12\"\r\n") << "text.txt" << plain
                                             << false << "Courier New 12";
        QTest::newRow("plain, on template") << QByteArray() << "text.txt" << plain << true << "Arial 10";
        QTest::newRow("rtf keeps its size")
            << QByteArray() << "text.rtf"
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs28 zur Jahresversammlung\\par}")
            << false << "Times New Roman 14";
    }
    void commonTextInLetterFont()
    {
        QFETCH(QByteArray, fontText);
        QFETCH(QString, textFile);
        QFETCH(QByteArray, text);
        QFETCH(bool, onTemplate);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString work = home.path() + QStringLiteral("QX-Kontorix/");
        QVERIFY(QDir().mkpath(work));
        QFile::remove(work + QStringLiteral("FontText.txt"));
        if (!fontText.isEmpty())
            QVERIFY(writeAll(work + QStringLiteral("FontText.txt"), fontText));
        const QString db = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(QFile::copy(QStringLiteral(QX_BINARY_DIR "/address50.adr"), db));
        const QString textPath = dir.filePath(textFile);
        QVERIFY(writeAll(textPath, text));
        const QString out = dir.filePath(QStringLiteral("briefe"));
        QStringList args{QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                         QStringLiteral("--text"), textPath, QStringLiteral("--convert-to"), QStringLiteral("txm"),
                         QStringLiteral("--outdir"), out};
        if (onTemplate)
            args << QStringLiteral("--template");
        QCOMPARE(runSerialCommand(args), 0);

        const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        Document letter;
        QString error;
        QVERIFY2(Formats::readFile(3, QDir(out).filePath(files.first()), Formats::PageHeaderSize, letter, nullptr,
                                   &error),
                 qPrintable(error));
        QCOMPARE(fontAt(letter, QStringLiteral("Jahresversammlung")), expected);
        const QString letterFont = fontText.isEmpty() ? QStringLiteral("Arial 10") : QStringLiteral("Courier New 12");
        QCOMPARE(fontAt(letter, QStringLiteral("Sehr geehrte")), letterFont);
    }
};

QTEST_MAIN(TstSerialFont)
#include "tst_serialfont.moc"
