#include "TestCommon.h"
#include "TestHome.h"
#include "engine/surface/TextControl.h"

#include <QScrollBar>



class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { home = std::make_unique<TestHome>(); }
    void cleanup() { home.reset(); }

    void plainRoundTrip_data()
    {
        // newFile: a new file gets blank header room
        addColumns<int, bool>("offset", "newFile");
        QTest::newRow("no header") << 0 << false;
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

        TextControl in;
        in.setPageWidth(10000);
        in.resize(300, 60); // smaller than the top margin: moving the caret to the text scrolls
        in.show();
        QSignalSpy changes(&in, &TextControl::Change);
        QSignalSpy moves(&in, &TextControl::PosChange);
        QVERIFY2(in.Load(path, offset, 1, false), qPrintable(in.LastError()));
        QCOMPARE(changes.count(), 0); // a loaded document is unchanged
        QVERIFY(moves.count() >= 1);  // but companions refresh
        QCOMPARE(in.Text(), out.Text());
        QVERIFY(!in.CanUndo()); // loading replaces the document, not an undo step
        QCOMPARE(in.LoadSaveAttribute(0).toInt(), 10000);
        QCOMPARE(in.verticalScrollBar()->value(), 0); // opened at the top of its first sheet
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

    void loadAndSaveFailuresChangeNothing()
    {
        TextControl tc;
        tc.setText(QStringLiteral("bleibt"));
        QVERIFY(!tc.Load(home->path() + QStringLiteral("fehlt.txt"), 0, 1, false));
        QVERIFY2(tc.LastError().contains(u"nicht geöffnet werden"), qPrintable(tc.LastError()));
        QCOMPARE(tc.Text(), QStringLiteral("bleibt"));
        // A file that cannot be written leaves the old one and no leftovers.
        const QString dir = home->path() + QStringLiteral("ordner");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(writeAll(dir + QStringLiteral("/alt.txt"), "alter Inhalt"));
        QVERIFY(!tc.Save(dir + QStringLiteral("/alt.txt"), 0, 99, false));
        QCOMPARE(tc.LastError(), QStringLiteral("Dieses Dateiformat kann nicht geschrieben werden."));
        QVERIFY(!tc.Save(home->path() + QStringLiteral("gibtsnicht/neu.txt"), 0, 1, false));
        QVERIFY2(tc.LastError().contains(QStringLiteral("Datei")), qPrintable(tc.LastError()));
        QCOMPARE(readAll(dir + QStringLiteral("/alt.txt")), QByteArray("alter Inhalt"));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("alt.txt")});
    }

private:
    std::unique_ptr<TestHome> home;
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
