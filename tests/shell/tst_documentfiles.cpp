#include "FailingDevice.h"
#include "TestFiles.h"
#include "ShellFixture.h"

#include "shell/DocumentFiles.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QTemporaryDir>
#include <QtEndian>

using namespace DocumentFiles;


class TestDocumentFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("result");
        QTest::newRow("no extension") << "/w/brief" << 1 << "/w/brief.txm";
        QTest::newRow("replaced by rtf") << "/w/brief.txm" << 4 << "/w/brief.rtf";
        QTest::newRow("html kept, htm appended") << "brief.html" << 5 << "brief.html.htm";
        QTest::newRow("template") << "a.doc" << 2 << "a.ttx";
        QTest::newRow("word") << "a" << 3 << "a.doc";
        QTest::newRow("fourth from end is a dot") << "a.b.c" << 6 << "a.txt";
        QTest::newRow("blanks trimmed") << "  brief  " << 6 << "brief.txt";
        QTest::newRow("trailing nul") << QStringLiteral("brief.txm") + QChar(0) << 1 << "brief.txm";
        QTest::newRow("unknown filter") << "brief.abc" << 0 << "brief.abc";
    }
    void saveExtension()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QTEST(withFilterExtension(typed, filter), "result");
    }

    // Margins left, top, right, bottom, then height and width, after the magic number.
    void pageHeaderBytes()
    {
        const QByteArray h = pageHeader(1134, 1418, 850, 567, 16837, 11906);
        QCOMPARE(h.size(), 30);
        QList<qint32> values;
        for (int offset = 4; offset < 28; offset += 4)
            values << qFromLittleEndian<qint32>(h.constData() + offset);
        QCOMPARE(values, (QList<qint32>{1134, 1418, 850, 567, 16837, 11906}));
    }

    void dialogsTitlesFiltersFolder()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        const QString work = appState().WorkFolder;

        fx.prompts->answerSaveFile(work + QStringLiteral("brief.txm"), 4);
        QCOMPARE(AskSaveAsName(w), work + QStringLiteral("brief.rtf"));
        const ScriptedPrompter::Asked save = fx.prompts->last();
        QCOMPARE(save.kind, QStringLiteral("save"));
        QCOMPARE(save.title, QStringLiteral("Speichern unter"));
        QCOMPARE(save.text, QStringLiteral(
            "Textverarbeitung (*.txm)|*.txm|Vorlagen (*.ttx)|*.ttx|Microsoft Word (*.doc)|*.doc|"
            "Rich Text Format (*.rtf)|*.rtf|Hypertext Markup Language (*.htm)|*.htm|"
            "Text Documents (*.txt)|*.txt"));
        QCOMPARE(save.folder, work);
        QCOMPARE(save.defaultText, QStringLiteral("Unbenannt"));

        QCOMPARE(AskExportName(), QString());
        const ScriptedPrompter::Asked exp = fx.prompts->last();
        QCOMPARE(exp.title + exp.text + exp.defaultText + exp.folder,
                 QStringLiteral("Export*.pdf (PDF)|*.pdfUnbenannt.pdf") + work);

        OpenDocument();
        const ScriptedPrompter::Asked open = fx.prompts->last();
        QCOMPARE(open.kind + open.title + open.text + open.folder, QStringLiteral("openÖffnen") + openSaveFilter() + work);
        QCOMPARE(fx.frame->documents().size(), 1); // cancelled: nothing opened

        InsertTextFile();
        QCOMPARE(fx.prompts->last().title, QStringLiteral("Öffnen"));
        QCOMPARE(fx.prompts->last().text, QStringLiteral("Text (*.txt)|*.txt|RTF Format (*.rtf)|*.rtf"));

        item(w, "mnuInsert_Vorlage")->trigger();
        QCOMPARE(fx.prompts->last().title, QStringLiteral("Textvorlage öffnen"));
        QCOMPARE(fx.prompts->last().text, QStringLiteral("*.ttx (Textvorlage)|*.ttx"));
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 0);
    }

    void saveAsOffersNameOfExistingFile()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        const QString path = appState().WorkFolder + QStringLiteral("rechnung.txm");
        writeFile(path, "x");
        w->setTitle(path.toUpper(), path);
        AskSaveAsName(w);
        QCOMPARE(fx.prompts->last().defaultText, QStringLiteral("rechnung"));
        // A window whose file is gone offers the default name again.
        w->setTitle(QStringLiteral("/GONE/X.TXM"), QStringLiteral("/gone/x.txm"));
        AskSaveAsName(w);
        QCOMPARE(fx.prompts->last().defaultText, QStringLiteral("Unbenannt"));
    }

    void saveAsAsksBeforeReplacing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("ending typed, yes") << "brief.txt" << 6 << int(QMessageBox::Yes) << QByteArray("neu");
        QTest::newRow("ending added, yes") << "brief" << 6 << int(QMessageBox::Yes) << QByteArray("neu");
        QTest::newRow("ending added, no") << "brief" << 6 << int(QMessageBox::No) << QByteArray("alt");
        QTest::newRow("other ending, no") << "brief.rtf" << 6 << int(QMessageBox::No) << QByteArray("alt");
    }
    void saveAsAsksBeforeReplacing()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(int, answer);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.txt"));
        writeFile(path, "alt");
        frmMDIChild* w = fx.newDocument();
        w->surface()->setSelText(QStringLiteral("neu"));
        fx.prompts->answerSaveFile(dir.filePath(typed), filter);
        fx.prompts->answerMessage(QMessageBox::StandardButton(answer));
        SaveActiveDocumentAs(); // after "no" the chooser comes again and is cancelled
        QTEST(readAll(path), "left");
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        const auto question = fx.prompts->asked.at(1);
        QCOMPARE(question.title, QStringLiteral("Speichern unter"));
        QCOMPARE(question.text, QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nMöchten Sie sie ersetzen?").arg(path));
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(fx.prompts->count(QStringLiteral("save")), answer == QMessageBox::Yes ? 1 : 2);
    }

    void droppedFileOpensAsDocument()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notiz.txt"));
        writeFile(path, "Inhalt der Notiz");
        frmMDIChild* target = fx.newDocument();
        target->surface()->setSelText(QStringLiteral("Brief"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(QUrl::fromLocalFile(path).toString());
        // As a real drag: the entry picks the target the drop then goes to.
        QWidget* vp = target->surface()->viewport();
        const QPoint at(vp->width() / 2, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vp, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(vp, &drop);
        fx.flush();
        QCOMPARE(target->surface()->Text(), QStringLiteral("Brief"));
        QCOMPARE(fx.frame->documents().size(), 2);
        QCOMPARE(fx.frame->activeDocument()->FilePath(), path);
        QCOMPARE(fx.frame->activeDocument()->surface()->Text(), QStringLiteral("Inhalt der Notiz"));
    }

    void ownFormatStartsWithPageHeader()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        s->setPageMarginL(1000);
        s->setPageMarginB(700);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/brief.txm");
        QVERIFY(SaveDocument(path, w));
        QCOMPARE(readAll(path).left(30), pageHeader(*s));
        QCOMPARE(w->Title(), path.toUpper());
        QCOMPARE(w->FilePath(), path);

        // Reading skips the header: the text comes back, the page too.
        s->setText(QStringLiteral("Hallo"));
        QVERIFY(SaveDocument(path, w));
        QString p = path;
        frmMDIChild* loaded = LoadDocument(p, 3);
        QVERIFY(loaded);
        QCOMPARE(loaded->surface()->Text(), QStringLiteral("Hallo"));
        QCOMPARE(loaded->surface()->PageMarginL(), 1000);
        QVERIFY(!loaded->DirtyFlag);
    }

    // A full disk: the old file, its page header included, stays byte for byte, and
    // the message says why in German.
    void saveOnFullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("budget");
        QTest::newRow("own format, nothing written") << "brief.txm" << qint64(0);
        QTest::newRow("own format, header written") << "brief.txm" << qint64(30);
        QTest::newRow("rtf") << "brief.rtf" << qint64(100);
        QTest::newRow("pdf export") << "brief.pdf" << qint64(100);
    }
    void saveOnFullDiskKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(qint64, budget);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setText(QStringLiteral("alte Fassung"));
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(name.endsWith(u".pdf") ? ExportDocument(path) : SaveDocument(path, w));
        const QByteArray old = readAll(path);
        w->surface()->setText(QStringLiteral("neue, längere Fassung"));
        w->surface()->setPageMarginL(2000);
        w->DirtyFlag = true;
        {
            ScopedDiskFull full(budget);
            QVERIFY(!(name.endsWith(u".pdf") ? ExportDocument(path) : SaveDocument(path, w)));
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        QVERIFY(w->DirtyFlag);
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        const QString text = fx.prompts->last().text;
        QVERIFY2(text.contains(u"nicht genug Speicherplatz") && text.contains(u"Die bisherige Datei ist unverändert"),
                 qPrintable(text));
    }

    void failedSaveKeepsTitleAndDirtyFlag_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("own format") << "brief.txm";
        QTest::newRow("plain text") << "brief.txt";
        QTest::newRow("rtf") << "brief.rtf";
    }
    void failedSaveKeepsTitleAndDirtyFlag()
    {
        QFETCH(QString, name);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        QTest::keyClicks(w->surface(), QStringLiteral("x"));
        QVERIFY(!SaveDocument(QStringLiteral("/nonexistent-folder/") + name, w));
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        QVERIFY(w->DirtyFlag);
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QVERIFY(!QApplication::overrideCursor());
    }

    void saveActiveDocument()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        // Untitled: the chooser asks (cancelled here), nothing changes.
        frmMDIChild* w = fx.newDocument();
        QTest::keyClicks(w->surface(), QStringLiteral("x"));
        SaveActiveDocument();
        QCOMPARE(fx.prompts->count(QStringLiteral("save")), 1);
        QVERIFY(w->DirtyFlag);
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        // A label sheet goes into the current folder without asking.
        w->setTitle(QStringLiteral("Etiketten"));
        SaveActiveDocument();
        QCOMPARE(fx.prompts->count(QStringLiteral("save")), 1);
        QVERIFY(QFile::exists(QDir::current().filePath(QStringLiteral("Etiketten.txm"))));
        // A window with a file overwrites it without asking.
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Notiz.txt");
        writeFile(path, "alt");
        w->surface()->setText(QString());
        w->setTitle(path.toUpper(), path);
        w->surface()->setSelText(QStringLiteral("neu"));
        SaveActiveDocument();
        QCOMPARE(fx.prompts->count(QStringLiteral("save")), 1);
        QCOMPARE(readAll(path), QByteArray("neu"));
        QVERIFY(!w->DirtyFlag);
        // The close check now names the document by its upper-case path.
        w->surface()->setSelText(QStringLiteral("!"));
        fx.prompts->answerMessage(QMessageBox::Cancel);
        QVERIFY(!w->close());
        QCOMPARE(fx.prompts->last().text,
                 QStringLiteral("Der Inhalt von [") + path.toUpper() +
                     QStringLiteral("] wurde verändert.\r\nWollen Sie die Änderungen speichern?"));
    }

    void labelModeTitlesEtiketten()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/etiketten.txt");
        writeFile(path, "Anschrift\r\n");
        appState().LabelMode = true;
        QString p = path;
        frmMDIChild* w = LoadDocument(p, 1);
        QVERIFY(w);
        QCOMPARE(w->Title(), QStringLiteral("Etiketten"));
        QVERIFY(p.isEmpty());
        appState().LabelMode = false;
        QString q = path;
        frmMDIChild* v = LoadDocument(q, 1);
        QCOMPARE(v->Title(), path.toUpper());
        QCOMPARE(q, path);
        QVERIFY(!v->DirtyFlag);
        QCOMPARE(fx.frame->activeDocument(), v);
    }

    void failedLoadClosesWindowAndShowsError()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QString p = QStringLiteral("/nonexistent-folder/x.txt");
        QVERIFY(!LoadDocument(p, 1));
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 0);
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    static QAction* item(QObject* w, const char* name)
    {
        return w->findChild<QAction*>(QLatin1String(name));
    }
};

QTEST_MAIN(TestDocumentFiles)
#include "tst_documentfiles.moc"
