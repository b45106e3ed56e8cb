// Files we write must open in an office suite: when LibreOffice is installed, it
// converts our RTF and .doc output to text and PDF. Skipped without it.

#include "FormatTestSupport.h"
#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace FormatTest;

class TestFormatsOffice : public QObject {
    Q_OBJECT
private:
    QString m_soffice;
    QTemporaryDir m_dir;

    // Converts `file` with LibreOffice to `filter` in the temporary folder.
    bool convert(const QString& file, const QString& filter)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        p.start(m_soffice, {QStringLiteral("--headless"),
                            QStringLiteral("-env:UserInstallation=file://") + m_dir.filePath(QStringLiteral("profile")),
                            QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                            m_dir.filePath(QStringLiteral("out")), file});
        return p.waitForFinished(180000) && p.exitCode() == 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        QVERIFY(m_dir.isValid());
    }

    void officeSuiteReadsOurFiles_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("rtf") << 5 << QStringLiteral("alles.rtf");
        QTest::newRow("doc") << 9 << QStringLiteral("alles.doc");
    }
    void officeSuiteReadsOurFiles()
    {
        QFETCH(int, format);
        QFETCH(QString, name);
        Document doc;
        fillEveryFeature(doc);
        const QString path = m_dir.filePath(name);
        QString error;
        QVERIFY2(Formats::writeFile(format, doc, nullptr, path, QByteArray(), WriteOptions(), &error), qPrintable(error));
        QVERIFY(convert(path, QStringLiteral("txt:Text (encoded):UTF8")));
        QFile txt(m_dir.filePath(QStringLiteral("out/alles.txt")));
        QVERIFY(txt.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(txt.readAll());
        QVERIFY(text.contains(QStringLiteral("Fett kursiv <&> \"Zitat\" äöüß €")));
        QVERIFY(text.contains(QStringLiteral("1. Eins")));
        QVERIFY(text.contains(QStringLiteral("2. Zwei")));
        QVERIFY(text.contains(QStringLiteral("Z1S2")));
        QVERIFY(text.contains(QStringLiteral("Nach der Tabelle")));
        QVERIFY(!text.contains(QStringLiteral("\\par")));
        txt.close();
        QFile::remove(txt.fileName());
    }
};

QTEST_MAIN(TestFormatsOffice)
#include "tst_formats_office.moc"
