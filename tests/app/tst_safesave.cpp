// The one save function: a failing device, a folder without room for a temporary
// file, impossible names, and the clean-up after a save the program did not finish.

#include "FailingDevice.h"
#include "TestCommon.h"

#include "app/SafeSave.h"

#include <QFileInfo>

#include <sys/stat.h>

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
        // budget: -1: the disk does not fill
        addColumns<bool, bool, qint64>("existing", "noTemporaryFiles", "budget");
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
        addColumns<QString, QString>("name", "reason");
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

    // A batch: nothing is in place before the commit, everything after it, with the
    // permissions a single save gives; a batch given up, or killed and cleaned up at
    // the next start, leaves the targets as they were and no file of its own.
    void batchPutsFilesInPlaceTogether_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("committed") << QStringLiteral("commit");
        QTest::newRow("given up") << QStringLiteral("drop");
        QTest::newRow("killed, cleaned up at the next start") << QStringLiteral("killed");
    }
    void batchPutsFilesInPlaceTogether()
    {
        QFETCH(QString, ending);
        QTemporaryDir dir;
        const QString journal = dir.filePath(QStringLiteral("journal/.speichern-offen"));
        QDir().mkpath(dir.filePath(QStringLiteral("journal")));
        SafeSave::setJournalFile(journal);
        const QString out = dir.filePath(QStringLiteral("pdf"));
        QDir().mkpath(out);
        const QString old = out + QStringLiteral("/alt.pdf");
        QVERIFY(writeAll(old, "alte Fassung"));
        QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const mode_t mask = ::umask(022);
        QList<QPair<QString, QString>> failures;
        {
            SafeSave::Batch batch;
            for (const QString name : {"a.pdf", "b.pdf", "alt.pdf"})
                QVERIFY(SafeSave::saveFile(out + QLatin1Char('/') + name, "neu " + name.toLatin1(), nullptr));
            // Three temporary files and the old one, nothing else.
            QCOMPARE(filesIn(out).size(), 4);
            QCOMPARE(readAll(old), QByteArray("alte Fassung"));
            QCOMPARE(readAll(journal).count('\n'), 3);
            if (ending == u"killed")
                QCOMPARE(SafeSave::cleanUpInterruptedSaves(), 3);
            if (ending != u"drop")
                failures = batch.commit();
        }
        ::umask(mask);
        QVERIFY(!QFile::exists(journal));
        if (ending == u"commit") {
            QVERIFY(failures.isEmpty());
            QCOMPARE(filesIn(out), (QStringList{"a.pdf", "alt.pdf", "b.pdf"}));
            QCOMPARE(readAll(out + QStringLiteral("/a.pdf")), QByteArray("neu a.pdf"));
            QCOMPARE(readAll(old), QByteArray("neu alt.pdf"));
            QCOMPARE(QFileInfo(out + QStringLiteral("/a.pdf")).permissions() & 0x0777, 0x0644);
            QCOMPARE(QFileInfo(old).permissions() & 0x0777, 0x0600);
            return;
        }
        QCOMPARE(filesIn(out), QStringList{"alt.pdf"});
        QCOMPARE(readAll(old), QByteArray("alte Fassung"));
        // The files the clean-up took away cannot be put in place; each is named.
        QCOMPARE(failures.size(), ending == u"killed" ? 3 : 0);
        if (!failures.isEmpty()) {
            QCOMPARE(failures[0].first, out + QStringLiteral("/a.pdf"));
            QVERIFY2(failures[2].second.endsWith(QStringLiteral("Die bisherige Datei ist unverändert.")),
                     qPrintable(failures[2].second));
        }
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
