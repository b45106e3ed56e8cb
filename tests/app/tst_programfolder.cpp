#include "TestFiles.h"
#include "app/Folders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Where the shipped files are looked for: beside the executable (build folder, copied
// program folder) or in <prefix>/share/qx-text for an installed one.
class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookup_data()
    {
        QTest::addColumn<QString>("exe");     // the executable's folder, relative
        QTest::addColumn<QStringList>("files"); // files created, relative
        QTest::addColumn<QString>("expected"); // relative, ends in "/"
        QTest::newRow("build folder") << "build" << QStringList{"build/address50.adr"} << "build/";
        QTest::newRow("installed") << "usr/bin" << QStringList{"usr/share/qx-text/address50.adr"}
                                   << "usr/share/qx-text/";
        QTest::newRow("beside wins over share")
            << "usr/bin" << QStringList{"usr/bin/address50.adr", "usr/share/qx-text/address50.adr"}
            << "usr/bin/";
        QTest::newRow("share beside a folder not named bin")
            << "usr/lib" << QStringList{"usr/share/qx-text/address50.adr"} << "usr/lib/";
    }
    void lookup()
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

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
