#include "TestCommon.h"

#include "addresses/LocateAddressDatabase.h"
#include "app/AppState.h"
#include "TestHome.h"


class TestLocate : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    ScriptedPrompter* m_prompter = nullptr;
    AppState m_state;

    QString root() const { return m_dir->path() + QLatin1Char('/'); }
    QString system() const { return root() + QStringLiteral("opt/Adresskartei/"); }
    static void put(const QString& path, const QByteArray& content = "x")
    {
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(writeAll(path, content));
    }
    bool locate(bool removable = false)
    {
        return LocateAddressDatabase(m_state, removable, root() + QStringLiteral("stick"), system());
    }

private slots:
    void init()
    {
        m_dir.emplace();
        m_prompter = installScriptedPrompter();
        m_state = AppState{};
        m_state.ProgramFolder = root() + QStringLiteral("prog/");
        m_state.WorkFolder = root() + QStringLiteral("home/QX-Kontorix/");
        m_state.AddressFolder = root() + QStringLiteral("home/Adresskartei/");
        QDir().mkpath(m_state.ProgramFolder);
        QDir().mkpath(m_state.WorkFolder);
    }
    void cleanup() { m_dir.reset(); }

    void handOverIsUsedOnceUnchecked()
    {
        put(m_state.WorkFolder + "KontorixDB.txt", "\"/nirgends/weg.qxa\"\r\n");
        put(m_state.WorkFolder + "Datenbank.txt", "/nicht/da.adr,\"zweites\"\r\n");
        put(m_state.WorkFolder + "address50.adr");
        QVERIFY(locate());
        QCOMPARE(m_state.AddressDbPath, QStringLiteral("/nicht/da.adr"));
        QVERIFY(!QFile::exists(m_state.WorkFolder + "Datenbank.txt"));
        // The next start goes on with the candidates, past the missing KontorixDB file.
        QVERIFY(locate());
        QCOMPARE(m_state.AddressDbPath, m_state.WorkFolder + "address50.adr");
    }

    // A server address in KontorixDB.txt is used as it stands: it is no file to look for.
    void serverAddressHandedOver()
    {
        put(m_state.WorkFolder + "KontorixDB.txt", "\"postgresql://server:5433/adressen?user=platz1\"\r\n");
        put(m_state.WorkFolder + "address50.adr");
        QVERIFY(locate());
        QCOMPARE(m_state.AddressDbPath, QStringLiteral("postgresql://server:5433/adressen?user=platz1"));
    }

    void candidates_data()
    {
        // content: of the chosen file: what was copied or kept
        addColumns<QStringList, QString, QString>("present", "expected", "content");
        const QStringList all{"work/address50.adr", "addr/address60.qxa", "prog/Kartei.exe", "system/Kartei.exe",
                              "prog/address50.adr", "prog/address30.adr"};
        QTest::newRow("work copy first") << all << "work/address50.adr" << "work/address50.adr";
        QTest::newRow("companion file in home") << all.mid(1) << "addr/address60.qxa" << "addr/address60.qxa";
        QTest::newRow("program's database copied") << all.mid(4) << "work/address50.adr" << "prog/address50.adr";
        QTest::newRow("old database copy kept") << QStringList{"prog/address30.adr", "work/address30.adr"}
                                                << "work/address30.adr" << "work/address30.adr";
    }
    void candidates()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QFETCH(QString, content);
        auto expand = [&](QString p) {
            p.replace(QStringLiteral("work/"), m_state.WorkFolder);
            p.replace(QStringLiteral("addr/"), m_state.AddressFolder);
            p.replace(QStringLiteral("prog/"), m_state.ProgramFolder);
            p.replace(QStringLiteral("system/"), system());
            return p;
        };
        for (const QString& p : present)
            put(expand(p), p.toUtf8());
        QVERIFY(locate());
        QCOMPARE(m_state.AddressDbPath, expand(expected));
        QCOMPARE(readAll(m_state.AddressDbPath), content.toUtf8());
        QCOMPARE(m_prompter->asked.size(), 0);
    }

    void nothingFoundEndsTheProgram_data()
    {
        // text: %1: the folder searched
        addColumns<bool, QString>("removable", "text");
        QTest::newRow("installed") << false
                                   << "Datenbank [address50.adr]  unter   \r\n%1address50.adr\r\n   nicht gefunden";
        QTest::newRow("removable") << true
                                   << "Datenbank [address50.adr]  nicht gefunden\r\n Kopieren Sie die Datei "
                                      "[address50.adr]  oder  [address60.qxa] \r\nvon Ihrem Rechner nach %1";
    }
    void nothingFoundEndsTheProgram()
    {
        QFETCH(bool, removable);
        QFETCH(QString, text);
        if (removable)
            m_state.WorkFolder = m_state.ProgramFolder;
        QVERIFY(!locate(removable));
        QCOMPARE(m_prompter->asked.size(), 1);
        QCOMPARE(m_prompter->last().text, text.arg(m_state.WorkFolder));
    }

    void removableCopiesOnceAndKeepsTheCopy()
    {
        m_state.WorkFolder = m_state.ProgramFolder;
        const QString onStick = root() + QStringLiteral("stick/Adresskartei/address60.qxa");
        put(onStick, "erste");
        QVERIFY(locate(true));
        QCOMPARE(m_state.AddressDbPath, m_state.ProgramFolder + "address60.qxa");
        QCOMPARE(readAll(m_state.AddressDbPath), QByteArray("erste"));
        // The stick's file changes; the next start keeps the existing copy.
        put(onStick, "zweite");
        QVERIFY(locate(true));
        QCOMPARE(readAll(m_state.AddressDbPath), QByteArray("erste"));
    }
};

QTEST_MAIN(TestLocate)
#include "tst_locate.moc"
