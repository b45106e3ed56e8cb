#include "TestFiles.h"
#include "TestHome.h"
#include "engine/TextControl.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <unistd.h>


class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { home = std::make_unique<TestHome>(); }
    void cleanup() { home.reset(); }

    void plainRoundTrip_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("newFile"); // a new file gets blank header room
        QTest::newRow("no header") << 0 << false;
        QTest::newRow("30-byte header") << 30 << false;
        QTest::newRow("header room on a new file") << 30 << true;
    }
    void plainRoundTrip()
    {
        QFETCH(int, offset);
        QFETCH(bool, newFile);
        const QString path = home->path() + QStringLiteral("brief.txt");
        const QByteArray header(offset, newFile ? '\0' : 'H');
        if (!newFile)
            QVERIFY(writeAll(path, header));
        TextControl out;
        out.setText(QStringLiteral("Sehr geehrte Frau Müller,\r\nGrüße\r\n"));
        QVERIFY2(out.Save(path, offset, 1, false), qPrintable(out.LastError()));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.left(offset), header);
        QCOMPARE(bytes.mid(offset), QStringLiteral("Sehr geehrte Frau Müller,\r\nGrüße\r\n").toUtf8());
        QCOMPARE(out.SaveToMemory(1), bytes.mid(offset));

        TextControl in;
        in.setPageWidth(10000);
        QSignalSpy changes(&in, &TextControl::Change);
        QSignalSpy moves(&in, &TextControl::PosChange);
        QVERIFY2(in.Load(path, offset, 1, false), qPrintable(in.LastError()));
        QCOMPARE(changes.count(), 0); // a loaded document is unchanged
        QVERIFY(moves.count() >= 1);  // but companions refresh
        QCOMPARE(in.Text(), out.Text());
        QVERIFY(!in.CanUndo()); // loading replaces the document, not an undo step
        QCOMPARE(in.LoadSaveAttribute(0).toInt(), 10000);
        QCOMPARE(in.LoadSaveAttribute(2).toInt(), in.PageMarginL());
    }

    void htmlHonoursStyleSheetAttributes()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Hallo"));
        tc.setSelStart(0);
        tc.setSelLength(5);
        tc.setFontBold(true);
        const QString path = home->path() + QStringLiteral("seite.htm");
        tc.setLoadSaveAttribute(9, 2);
        tc.setLoadSaveAttribute(8, QStringLiteral("stil.css"));
        QVERIFY2(tc.Save(path, 0, 4, false), qPrintable(tc.LastError()));
        QVERIFY(readAll(path).contains("stil.css"));
        QVERIFY(!readAll(home->path() + QStringLiteral("stil.css")).isEmpty());

        tc.setLoadSaveAttribute(9, 1);
        QVERIFY(tc.Save(path, 0, 4, false));
        QVERIFY(readAll(path).contains("<style"));
        QVERIFY(!readAll(path).contains("stil.css"));
    }

    void saveSelectionOnly()
    {
        const QString path = home->path() + QStringLiteral("teil.txt");
        TextControl tc;
        tc.setText(QStringLiteral("eins zwei drei"));
        tc.setSelStart(5);
        tc.setSelLength(4);
        QVERIFY(tc.Save(path, 0, 1, true));
        QCOMPARE(readAll(path), QByteArray("zwei"));
    }

    void loadInsertsAtTheSelection()
    {
        const QString path = home->path() + QStringLiteral("einfuegen.txt");
        QVERIFY(writeAll(path, "NEU\r\nZEILE"));
        TextControl tc;
        tc.setText(QStringLiteral("vorher nachher"));
        tc.setSelStart(7);
        QVERIFY(tc.Load(path, 0, 1, true));
        QCOMPARE(tc.Text(), QStringLiteral("vorher NEU\r\nZEILEnachher"));
        QCOMPARE(tc.UndoKind(), 1);
        tc.Undo();
        QCOMPARE(tc.Text(), QStringLiteral("vorher nachher"));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::newRow("missing file") << "fehlt.txt" << 1;
        QTest::newRow("unreadable format") << "da.pdf" << 12;
    }
    void loadFailures()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        QVERIFY(writeAll(home->path() + QStringLiteral("da.pdf"), "%PDF-1.4"));
        TextControl tc;
        tc.setText(QStringLiteral("bleibt"));
        QVERIFY(!tc.Load(home->path() + name, 0, format, false));
        QVERIFY2(tc.LastError().contains(u"nicht geöffnet werden"), qPrintable(tc.LastError()));
        QCOMPARE(tc.Text(), QStringLiteral("bleibt"));
    }

    void saveFailures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("missing folder") << 0;
        QTest::newRow("read-only folder") << 1;
        QTest::newRow("format cannot be written") << 2;
    }
    void saveFailures()
    {
        QFETCH(int, kind);
        if (kind == 1 && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QString dir = home->path() + QStringLiteral("ordner");
        QVERIFY(QDir().mkpath(dir));
        QString path = dir + QStringLiteral("/alt.txt");
        QVERIFY(writeAll(path, "alter Inhalt"));
        int format = 1;
        if (kind == 0)
            path = home->path() + QStringLiteral("gibtsnicht/neu.txt");
        if (kind == 1)
            QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        if (kind == 2)
            format = 99;
        TextControl tc;
        tc.setText(QStringLiteral("neuer Inhalt"));
        const bool ok = tc.Save(path, 0, format, false);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!ok);
        QVERIFY(tc.LastError().contains(QStringLiteral("Datei")) || tc.LastError().contains(QStringLiteral("Format")));
        QCOMPARE(readAll(dir + QStringLiteral("/alt.txt")), QByteArray("alter Inhalt"));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("alt.txt")}); // no leftovers
    }

private:
    std::unique_ptr<TestHome> home;
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
