// The program as a user meets a crash: text typed into a document, the process killed,
// the next start restoring the document. Runs the real executable as a child process
// with its own HOME and data folders.

#include "TestPaths.h"
#include "TestCommon.h"

#include "app/RecoveryStore.h"

#include <QProcess>

namespace {

const QString kProgram = qxBinaryDir() + QStringLiteral("/qx-text");

} // namespace

class TestRecoveryCrash : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;

    QString recoveryFolder() const { return m_root.path() + QStringLiteral("/data/Textverarbeitung/Wiederherstellung"); }

    void start(QProcess& p, const QStringList& args, const QString& answers, const QString& typing)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_root.path() + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_root.path() + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QX_TEXT_RECOVERY_INTERVAL_MS"), QStringLiteral("200"));
        env.insert(QStringLiteral("QX_TEXT_SCRIPTED_ANSWERS"), answers);
        env.insert(QStringLiteral("QX_TEXT_SCRIPTED_TYPING"), typing);
        for (const char* name : {"HomeDrive", "HomePath", "HOMEDRIVE", "HOMEPATH"})
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(kProgram, args);
    }

    QList<RecoveryEntry> copies() const { return RecoveryStore(recoveryFolder()).entries(); }

private Q_SLOTS:
    void init() { QDir(recoveryFolder()).removeRecursively(); }

    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir().mkpath(m_root.path() + QStringLiteral("/home/QX-Kontorix")));
        // Without a file to open the start would build a letter; one empty window is enough.
        QVERIFY(writeAll(m_root.path() + QStringLiteral("/home/QX-Kontorix/Kontorix.txt"), "\"noBrief\"\n"));
        QVERIFY(writeAll(m_root.path() + QStringLiteral("/brief.txt"), "Sehr geehrte Damen und Herren,\n"));
    }

    void typedTextSurvivesAKill()
    {
        const QString doc = m_root.path() + QStringLiteral("/brief.txt");
        QProcess first;
        start(first, {doc}, {}, QStringLiteral("Hallo Welt "));
        QVERIFY(first.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] {
            const auto c = copies();
            return c.size() == 1 && c[0].content.contains("Hallo Welt");
        }, 30000));
        const RecoveryEntry before = copies().first();
        QCOMPARE(before.title, doc);
        QCOMPARE(before.filePath, doc);
        first.kill();
        QVERIFY(first.waitForFinished());
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);

        // The next start asks, restores, and keeps its own copy of the restored window.
        QProcess second;
        start(second, {}, QStringLiteral("Ja"), {});
        QVERIFY(second.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] {
            const auto c = copies();
            return c.size() == 1 && c[0].id != before.id;
        }, 30000));
        // SIGTERM writes the changed documents once more before the program ends.
        second.terminate();
        QVERIFY(second.waitForFinished());
        const QList<RecoveryEntry> after = copies();
        QCOMPARE(after.size(), 1);
        QCOMPARE(after[0].title, before.title);
        QCOMPARE(after[0].filePath, doc);
        QVERIFY(after[0].content.contains("Hallo Welt Sehr geehrte Damen und Herren,"));
    }
};

QTEST_GUILESS_MAIN(TestRecoveryCrash)
#include "tst_recoverycrash.moc"
