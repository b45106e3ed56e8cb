// The one save function: a failing device, a folder without room for a temporary
// file, impossible names, and the clean-up after a save the program did not finish.

#include "FailingDevice.h"
#include "TestFiles.h"

#include "app/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestSafeSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A private temporary folder keeps other programs' files out of the counts.
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
    }

    void cleanup()
    {
        SafeSave::setDeviceWrapper({});
        SafeSave::setTemporaryFilesRefused(false);
        SafeSave::setJournalFile(QString());
        SafeSave::setDirectWriteNotice({});
    }

    void saveOutcome_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("noTemporaryFiles");
        QTest::addColumn<qint64>("budget"); // -1: the disk does not fill
        QTest::newRow("disk full keeps old file") << true << false << qint64(5);
        QTest::newRow("disk full leaves no new file") << false << false << qint64(5);
        QTest::newRow("direct write replaces") << true << true << qint64(-1);
        QTest::newRow("direct write full puts old back") << true << true << qint64(5);
    }
    void saveOutcome()
    {
        QFETCH(bool, existing);
        QFETCH(bool, noTemporaryFiles);
        QFETCH(qint64, budget);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.txm"));
        const QByteArray old("die alte Fassung, länger als die Schreibgrenze");
        if (existing)
            QVERIFY(writeAll(path, old));
        const QStringList tempBefore = filesIn(QDir::tempPath());
        SafeSave::setTemporaryFilesRefused(noTemporaryFiles);
        std::unique_ptr<ScopedDiskFull> full;
        if (budget >= 0)
            full = std::make_unique<ScopedDiskFull>(budget);
        const QByteArray bytes = QByteArray("neu ").repeated(1000);
        QString error;
        const bool ok = SafeSave::saveFile(path, bytes, &error);

        QCOMPARE(ok, budget < 0);
        QCOMPARE(readAll(path), ok ? bytes : existing ? old : QByteArray());
        if (!ok) {
            QVERIFY2(error.contains(u"nicht genug Speicherplatz"), qPrintable(error));
            QCOMPARE(error.contains(u"Die bisherige Datei ist unverändert"), existing);
        }
        // No temporary file beside the target, no kept copy in the temporary folder.
        QCOMPARE(filesIn(dir.path()), (ok || existing) ? QStringList{QStringLiteral("brief.txm")} : QStringList());
        QCOMPARE(filesIn(QDir::tempPath()), tempBefore);
    }

    void causesInGerman_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("name too long") << QString(300, QLatin1Char('x')) + QStringLiteral(".txm")
                                       << "Der Dateiname ist zu lang.";
        QTest::newRow("folder missing") << QStringLiteral("fehlt/brief.txm") << "Der Ordner existiert nicht.";
        QTest::newRow("a folder") << QStringLiteral(".") << "Unter diesem Namen gibt es bereits einen Ordner.";
    }
    void causesInGerman()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString error;
        QVERIFY(!SafeSave::saveFile(dir.filePath(name), "x", &error));
        QVERIFY2(error.endsWith(reason), qPrintable(error));
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    // The state a killed program leaves is copied while the save runs and laid out
    // again afterwards; the next start's clean-up must remove exactly the stray file.
    void interruptedSaveIsCleanedUp_data() { addRows<bool>("direct", {{"temporary file", false}, {"direct write", true}}); }
    void interruptedSaveIsCleanedUp()
    {
        QFETCH(bool, direct);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.txm"));
        const QString journal = dir.filePath(QStringLiteral(".speichern-offen"));
        QVERIFY(writeAll(path, "alt"));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("brief.txm.bak")), "eigene Datei"));
        SafeSave::setJournalFile(journal);
        SafeSave::setTemporaryFilesRefused(direct);
        QMap<QString, QByteArray> during;
        {
            ScopedDiskFull watch(1 << 20, [&] {
                for (const QString& f : filesIn(dir.path()))
                    during.insert(dir.filePath(f), readAll(dir.filePath(f)));
                for (const QString& f : filesIn(QDir::tempPath()))
                    if (f.startsWith(u"textverarbeitung-"))
                        during.insert(QDir::temp().filePath(f), readAll(QDir::temp().filePath(f)));
            });
            QVERIFY(SafeSave::saveFile(path, "neu", nullptr));
        }
        QVERIFY(!QFile::exists(journal) && during.contains(journal));
        // What the disk held when the program died mid-write.
        for (auto it = during.cbegin(); it != during.cend(); ++it)
            if (!QFile::exists(it.key()))
                QVERIFY(writeAll(it.key(), it.value()));
        if (direct)
            QVERIFY(writeAll(path, "ne"));
        // Qt's temporary file has no name where the file system allows that; elsewhere
        // it is the target's name plus six letters.
        else
            QVERIFY(writeAll(path + QStringLiteral(".Ab12Cd"), "ne"));

        QCOMPARE(SafeSave::cleanUpInterruptedSaves(), 1);
        QCOMPARE(filesIn(dir.path()), (QStringList{QStringLiteral("brief.txm"), QStringLiteral("brief.txm.bak")}));
        QCOMPARE(readAll(path), direct ? QByteArray("alt") : QByteArray("neu"));
        QCOMPARE(SafeSave::cleanUpInterruptedSaves(), 0);
    }

    // Written in place, the old content waits beside the journal (the temporary folder
    // may not survive the restart after a crash), and the caller learns where.
    void directWriteSaysWhereTheCopyIs()
    {
        QTemporaryDir dir, work;
        const QString path = dir.filePath(QStringLiteral("brief.txm"));
        const QString journal = work.filePath(QStringLiteral(".speichern-offen"));
        QVERIFY(writeAll(path, "alt"));
        SafeSave::setJournalFile(journal);
        SafeSave::setTemporaryFilesRefused(true);
        QString target, copy;
        QByteArray held;
        SafeSave::setDirectWriteNotice([&](const QString& t, const QString& b) {
            target = t;
            copy = b;
            held = readAll(b);
        });
        QVERIFY(SafeSave::saveFile(path, "neu", nullptr));
        QCOMPARE(target, path);
        QCOMPARE(QFileInfo(copy).absolutePath(), work.path());
        QCOMPARE(held, QByteArray("alt"));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(readAll(path), QByteArray("neu"));
    }

private:
    QTemporaryDir m_tmp;
};

QTEST_MAIN(TestSafeSave)
#include "tst_safesave.moc"
