// The letter composer's font lists show the fonts the letter asks for, installed or
// not: the letterhead font from the database, the text font from "FontText.txt".

#include "TestFiles.h"
#include "../addresses/AddressFixture.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "letters/frmBrief.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>

class TstComposerFont : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsShowStoredFonts_data()
    {
        QTest::addColumn<QString>("headFont");
        QTest::addColumn<QString>("textFont");
        const QString installed = QFontDatabase::families().value(0);
        QTest::newRow("both missing") << "Gibtsnicht Antiqua" << "Gibtsnicht Grotesk";
        QTest::newRow("both installed") << installed << installed;
        QTest::newRow("installed in other case") << installed.toUpper() << "Gibtsnicht Grotesk";
    }
    void listsShowStoredFonts()
    {
        QFETCH(QString, headFont);
        QFETCH(QString, textFont);
        QTemporaryDir dir;
        AppState state;
        state.WorkFolder = dir.path() + QLatin1Char('/');
        state.ProgramFolder = state.WorkFolder + QStringLiteral("prog/");
        state.AddressDbPath = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeStarter(state.AddressDbPath));
        installScriptedPrompter();
        {
            RecordSource head;
            QVERIFY(head.open(state.AddressDbPath, Queries::letterheadTable()));
            head.moveFirst();
            QVERIFY(head.saveRow({{QStringLiteral("Schrift"), headFont}}));
        }
        QVERIFY(writeAll(state.WorkFolder + QStringLiteral("FontText.txt"),
                         QStringLiteral("\"%1\",\"12\"\r\n").arg(textFont).toUtf8()));

        frmBrief w(state);
        w.show();
        const int families = int(QFontDatabase::families().size());
        const BriefWidgets& c = w.controls();
        for (auto [list, name] : {std::pair{c.cboBriefKopf, headFont}, std::pair{c.cboBrieftext, textFont}}) {
            QVERIFY2(list->currentText().compare(name, Qt::CaseInsensitive) == 0, qPrintable(list->currentText()));
            const bool missing = name.startsWith(QStringLiteral("Gibtsnicht"));
            QCOMPARE(list->count(), families + (missing ? 1 : 0));
        }
    }
};

QTEST_MAIN(TstComposerFont)
#include "tst_composerfont.moc"
