// Copies of changed documents: when they go away again, and what the next start does
// with those a crash left behind.

#include "ShellFixture.h"
#include "TestCommon.h"

#include "app/RecoveryStore.h"
#include "shell/CrashRecovery.h"
#include "shell/DocumentFiles.h"


class TestRecovery : public QObject {
    Q_OBJECT
    QTemporaryDir m_data;

    static CrashRecovery* recovery(ShellFixture& fx) { return fx.frame->findChild<CrashRecovery*>(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    }
    void cleanup() { QDir(RecoveryStore::defaultFolder()).removeRecursively(); }

    void copyFollowsTheWindow_data()
    {
        addColumns<QString, bool>("how", "kept");
        QTest::newRow("Nein beim Schließen") << "nein" << false;
        QTest::newRow("gespeichert, Fenster bleibt") << "gespeichert" << false;
        QTest::newRow("Schließen abgebrochen") << "abbrechen" << true;
    }
    void copyFollowsTheWindow()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        CrashRecovery* r = recovery(fx);
        QVERIFY(r);
        frmMDIChild* w = fx.newDocument();
        QTest::keyClicks(w->surface(), QStringLiteral("Hallo Welt"));
        r->saveChangedAndWait();
        QList<RecoveryEntry> e = r->store().entries();
        QCOMPARE(e.size(), 1);
        QVERIFY(e[0].content.contains("Hallo Welt"));

        const QString saved = fx.home.path() + QStringLiteral("brief.txm");
        if (how == u"gespeichert") {
            QVERIFY(DocumentFiles::SaveDocument(saved, w));
            r->saveChanged();
        } else {
            fx.prompts->answerMessage(how == u"nein" ? QMessageBox::No : QMessageBox::Cancel);
            w->close();
        }
        fx.flush();
        r->store().waitForDone();
        QCOMPARE(r->store().entries().size(), kept ? 1 : 0);
    }

    void restoreAtStart_data()
    {
        addColumns<QMessageBox::StandardButton, QMessageBox::StandardButton, int>("answer", "sure", "copiesLeft");
        QTest::newRow("Ja") << QMessageBox::Yes << QMessageBox::NoButton << 1;
        QTest::newRow("Nein, dann wirklich löschen") << QMessageBox::No << QMessageBox::Yes << 0;
        QTest::newRow("Nein, dann doch behalten") << QMessageBox::No << QMessageBox::No << 1;
    }
    void restoreAtStart()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QMessageBox::StandardButton, sure);
        QFETCH(int, copiesLeft);
        // The copy a crash left behind.
        {
            TextControl t;
            t.insertPlainText(QStringLiteral("Gerettet: Grüße"));
            RecoveryStore store(RecoveryStore::defaultFolder());
            store.save({QStringLiteral("alt"), QStringLiteral("/TMP/BRIEF.TXM"), QStringLiteral("/tmp/brief.txm"),
                        DocumentFiles::pageHeader(t) + t.SaveToMemory(3)});
        }
        ShellFixture fx;
        QVERIFY(writeAll(fx.home.path() + QStringLiteral("QX-Kontorix/Kontorix.txt"), "\"noBrief\"\n"));
        fx.prompts->answerMessage(answer);
        if (sure != QMessageBox::NoButton)
            fx.prompts->answerMessage(sure);
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), sure == QMessageBox::NoButton ? 1 : 2);
        QCOMPARE(fx.prompts->asked[0].title, QStringLiteral("Dokumente wiederherstellen"));
        QVERIFY(fx.prompts->asked[0].text.contains(QStringLiteral("/TMP/BRIEF.TXM")));

        frmMDIChild* restored = nullptr;
        for (frmMDIChild* w : fx.frame->documents())
            if (w->Title() == u"/TMP/BRIEF.TXM")
                restored = w;
        CrashRecovery* r = recovery(fx);
        r->store().waitForDone();
        const QList<RecoveryEntry> left = r->store().entries();
        QCOMPARE(left.size(), copiesLeft);
        if (answer == QMessageBox::No) {
            QVERIFY(!restored);
            QCOMPARE(fx.prompts->asked[1].text, QStringLiteral("Die ungespeicherten Änderungen gehen damit endgültig "
                                                               "verloren.\n\nSollen die Kopien wirklich gelöscht werden?"));
            if (copiesLeft)
                QCOMPARE(left[0].id, QStringLiteral("alt"));
            return;
        }
        QVERIFY(restored);
        QVERIFY(restored->DirtyFlag);
        QCOMPARE(restored->FilePath(), QStringLiteral("/tmp/brief.txm"));
        QVERIFY(restored->surface()->toPlainText().contains(QStringLiteral("Gerettet: Grüße")));
        // The restored window keeps a copy of its own in place of the old one.
        QVERIFY(left[0].id != u"alt");
        QCOMPARE(left[0].title, QStringLiteral("/TMP/BRIEF.TXM"));
    }

    void brokenCopiesAreSkipped_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = RecoveryStore::encode({{}, QStringLiteral("T"), {}, QByteArray(40, 'x')});
        QTest::newRow("leer") << QByteArray();
        QTest::newRow("fremd") << QByteArray("{\\rtf1 kein Wiederherstellungsstand}");
        QTest::newRow("abgeschnitten") << good.left(good.size() - 10);
        QTest::newRow("ohne Inhalt") << RecoveryStore::encode({{}, QStringLiteral("T"), {}, {}});
    }
    void brokenCopiesAreSkipped()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        QVERIFY(writeAll(store.pathOf(QStringLiteral("kaputt")), bytes));
        store.save({QStringLiteral("gut"), QStringLiteral("Gut"), {}, QByteArray(40, 'x')});
        store.waitForDone();
        const QList<RecoveryEntry> e = store.entries();
        QCOMPARE(e.size(), 1);
        QCOMPARE(e[0].id, QStringLiteral("gut"));
        QCOMPARE(e[0].title, QStringLiteral("Gut"));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
