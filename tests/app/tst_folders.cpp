#include "TestCommon.h"
#include "TestHome.h"
#include "app/AppState.h"
#include "app/Folders.h"



class TestFolders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void homeFolderFallsBackToHome()
    {
        TestHome home;
        QCOMPARE(Folders::homeFolder(), home.path());
        qputenv("HomeDrive", "C:");
        qputenv("HomePath", "\\Users\\x");
        QCOMPARE(Folders::homeFolder(), QStringLiteral("C:/Users/x/"));
        qunsetenv("HomeDrive");
        qunsetenv("HomePath");
    }

    void prepareCreatesWorkFolderAndCopiesOnlyMissingTemplates()
    {
        TestHome home;
        QTemporaryDir program;
        const QString prog = program.path() + QLatin1Char('/');
        for (const QString& name : Folders::templateFiles())
            QVERIFY(writeAll(prog + name, "vom Programm"));
        // One template is absent beside the program; one exists already in the work folder.
        QFile::remove(prog + QStringLiteral("Etiketten_Vorlage_F12.ttx"));
        const QString work = home.path() + QStringLiteral("QX-Kontorix/");
        QVERIFY(QDir().mkpath(work));
        QVERIFY(writeAll(work + QStringLiteral("Briefkopf.txm"), "eigener Briefkopf"));

        AppState state;
        Folders::prepare(state, program.path(), false, home.path());
        QCOMPARE(state.WorkFolder, work);
        QCOMPARE(QDir::currentPath() + QLatin1Char('/'), work);
        QCOMPARE(readAll(work + QStringLiteral("Briefkopf.txm")), QByteArray("eigener Briefkopf"));
        QCOMPARE(readAll(work + QStringLiteral("Etiketten_Vorlage_F10.ttx")), QByteArray("vom Programm"));
        QVERIFY(!QFile::exists(work + QStringLiteral("Etiketten_Vorlage_F12.ttx")));

        // A second start copies nothing over the user's changed files.
        QVERIFY(writeAll(work + QStringLiteral("Etiketten_Vorlage_F10.ttx"), "geändert"));
        QVERIFY(Folders::copyMissingTemplates(prog, work).isEmpty());
        QCOMPARE(readAll(work + QStringLiteral("Etiketten_Vorlage_F10.ttx")), QByteArray("geändert"));
        QDir::setCurrent(QDir::tempPath());
    }

    void removableDevice_data()
    {
        addColumns<QString, bool>("path", "removable");
        QTest::newRow("stick") << "/media/stick/QX" << true;
        QTest::newRow("similar prefix") << "/media/sticky/x" << false;
        QTest::newRow("tmpfs") << "/run/x" << false;
    }
    void removableDevice()
    {
        QFETCH(QString, path);
        QFETCH(bool, removable);
        QTemporaryDir sys;
        QVERIFY(QDir().mkpath(sys.path() + QStringLiteral("/sda/sda1")));
        QVERIFY(QDir().mkpath(sys.path() + QStringLiteral("/sdb/sdb1")));
        QVERIFY(writeAll(sys.path() + QStringLiteral("/sda/removable"), "0\n"));
        QVERIFY(writeAll(sys.path() + QStringLiteral("/sdb/removable"), "1\n"));
        // Partitions are reached through their disk, as in sysfs.
        QVERIFY(QFile::link(sys.path() + QStringLiteral("/sda/sda1"), sys.path() + QStringLiteral("/sda1")));
        QVERIFY(QFile::link(sys.path() + QStringLiteral("/sdb/sdb1"), sys.path() + QStringLiteral("/sdb1")));
        const QString mountInfo = QStringLiteral(
            "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
            "40 22 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
            "41 22 0:5 / /run rw - tmpfs tmpfs rw\n");
        QCOMPARE(Folders::isOnRemovableDevice(path, mountInfo, sys.path()), removable);
    }

    void startOption_data()
    {
        addColumns<QByteArray, QByteArray, QString>("workFile", "programFile", "option");
        QTest::newRow("no file") << QByteArray() << QByteArray() << "";
        QTest::newRow("program folder only") << QByteArray() << QByteArray("noBrief") << "noBrief";
        QTest::newRow("work folder wins") << QByteArray("x") << QByteArray("noBrief") << "x";
    }
    void startOption()
    {
        QFETCH(QByteArray, workFile);
        QFETCH(QByteArray, programFile);
        QTemporaryDir work, program;
        if (!workFile.isNull())
            QVERIFY(writeAll(work.path() + QStringLiteral("/Kontorix.txt"), workFile));
        if (!programFile.isNull())
            QVERIFY(writeAll(program.path() + QStringLiteral("/Kontorix.txt"), programFile));
        QTEST(Folders::readStartOption(work.path(), program.path()), "option");
    }

    // Where the shipped files are looked for: beside the executable (build folder, copied
    // program folder) or in <prefix>/share/qx-text for an installed one.
    void programFolderLookup_data()
    {
        // exe: the executable's folder, relative
        // files: files created, relative
        // expected: relative, ends in "/"
        addColumns<QString, QStringList, QString>("exe", "files", "expected");
        QTest::newRow("installed") << "usr/bin" << QStringList{"usr/share/qx-text/address50.adr"}
                                   << "usr/share/qx-text/";
        QTest::newRow("beside wins over share")
            << "usr/bin" << QStringList{"usr/bin/address50.adr", "usr/share/qx-text/address50.adr"}
            << "usr/bin/";
        QTest::newRow("share beside a folder not named bin")
            << "usr/lib" << QStringList{"usr/share/qx-text/address50.adr"} << "usr/lib/";
    }
    void programFolderLookup()
    {
        QFETCH(QString, exe);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const QDir r(root.path());
        QVERIFY(r.mkpath(exe));
        for (const QString& f : files) {
            QVERIFY(r.mkpath(QFileInfo(f).path()));
            QVERIFY(writeAll(r.filePath(f), "x"));
        }
        QCOMPARE(Folders::programFolderFor(r.filePath(exe)), r.filePath(expected));
        QCOMPARE(Folders::programFolderFor(r.filePath(exe) + QLatin1Char('/')), r.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
