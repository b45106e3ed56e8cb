#include "FailingDevice.h"
#include "TestCommon.h"
#include "ShellFixture.h"

#include "shell/DocumentFiles.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QtEndian>

using namespace DocumentFiles;

class TestDocumentFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<ShellFixture>();
        QVERIFY(fx->startEmpty());
        w = fx->newDocument();
    }
    void cleanup() { fx.reset(); }

    void saveExtension_data()
    {
        addColumns<QString, int, QString>("typed", "filter", "result");
        QTest::newRow("no extension") << "/w/brief" << 1 << "/w/brief.txm";
        QTest::newRow("html kept, htm appended") << "brief.html" << 5 << "brief.html.htm";
        QTest::newRow("fourth from end is a dot") << "a.b.c" << 6 << "a.txt";
        QTest::newRow("trailing nul") << QStringLiteral("brief.txm") + QChar(0) << 1 << "brief.txm";
        QTest::newRow("word") << "brief" << 7 << "brief.docx";
        QTest::newRow("word ending typed") << "brief.DOCX" << 7 << "brief.docx";
        QTest::newRow("other ending to word") << "brief.rtf" << 7 << "brief.docx";
        QTest::newRow("opendocument") << "brief.txm" << 8 << "brief.odt";
    }
    void saveExtension()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QTEST(withFilterExtension(typed, filter), "result");
    }

    void saveAsAsksBeforeReplacing_data()
    {
        addColumns<QString, int, int, QByteArray>("typed", "filter", "answer", "left");
        QTest::newRow("ending typed, yes") << "brief.txt" << 6 << int(QMessageBox::Yes) << QByteArray("neu");
        QTest::newRow("ending added, no") << "brief" << 6 << int(QMessageBox::No) << QByteArray("alt");
    }
    void saveAsAsksBeforeReplacing()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(int, answer);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.txt"));
        QVERIFY(writeAll(path, "alt"));
        w->surface()->setSelText(QStringLiteral("neu"));
        fx->prompts->answerSaveFile(dir.filePath(typed), filter);
        fx->prompts->answerMessage(QMessageBox::StandardButton(answer));
        SaveActiveDocumentAs(); // after "no" the chooser comes again and is cancelled
        QTEST(readAll(path), "left");
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        QVERIFY(fx->prompts->asked.at(1).text.contains(QStringLiteral("ist bereits vorhanden.\nMöchten Sie sie ersetzen?")));
        QCOMPARE(fx->prompts->count(QStringLiteral("save")), answer == QMessageBox::Yes ? 1 : 2);
    }

    // The last eight documents opened or saved, newest first, in both "Datei" menus and
    // after a restart; a file that is gone leaves the list when it is chosen.
    void recentFiles()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 1; i <= 9; ++i) {
            paths << dir.filePath(QStringLiteral("Brief %1.txt").arg(i));
            QVERIFY(writeAll(paths.last(), "Text"));
            OpenDocument(paths.last());
        }
        OpenDocument(paths[2]);
        // A file the program loads for itself (a template, a recovered copy) is no entry.
        const QString own = dir.filePath(QStringLiteral("Vorlage.txt"));
        QVERIFY(writeAll(own, "Vorlage"));
        QString ownPath = own;
        QVERIFY(LoadDocument(ownPath, 1));
        QCOMPARE(fx->frame->documents().size(), 12);
        QVERIFY(SaveDocument(dir.filePath(QStringLiteral("Neu.txm")), w));
        const QStringList expected{dir.filePath(QStringLiteral("Neu.txm")), paths[2], paths[8], paths[7],
                                   paths[6], paths[5], paths[4], paths[3]};
        const auto shown = [](QObject* owner) {
            auto* menu = owner->findChild<QMenu*>(QStringLiteral("mnuFile"));
            Q_EMIT menu->aboutToShow();
            QStringList out;
            for (QAction* a : menu->actions())
                if (a->objectName().startsWith(u"mnuRecentFile(") && !a->isSeparator())
                    out << a->text();
            return out;
        };
        QStringList captions;
        for (int i = 0; i < 8; ++i)
            captions << QStringLiteral("&%1 %2").arg(i + 1).arg(expected[i]);
        QCOMPARE(shown(w), captions);

        // A new start reads the list back into the frame's own menu.
        fx->frame.reset();
        fx->flush();
        fx->frame = std::make_unique<frmMDIParent>();
        QVERIFY(fx->startEmpty());
        QCOMPARE(shown(fx->frame.get()), captions);
        fx->frame->findChild<QAction*>(QStringLiteral("mnuRecentFile(3)"))->trigger();
        QCOMPARE(fx->frame->activeDocument()->FilePath(), paths[8]);
        QVERIFY(QFile::remove(paths[7]));
        fx->frame->findChild<QAction*>(QStringLiteral("mnuRecentFile(4)"))->trigger();
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(shown(fx->frame.get()).size(), 7);
        QVERIFY(!shown(fx->frame.get()).join(u'|').contains(QStringLiteral("Brief 8")));
    }

    void exportProposesOwnName()
    {
        ExportActiveDocument(); // untitled; the chooser is cancelled
        QCOMPARE(fx->prompts->last().title, QStringLiteral("Export"));
        QCOMPARE(fx->prompts->last().defaultText, QStringLiteral("Unbenannt.pdf"));
        QTemporaryDir dir;
        QVERIFY(SaveDocument(dir.filePath(QStringLiteral("Angebot Müller v2.1.txm")), w));
        ExportActiveDocument();
        QCOMPARE(fx->prompts->last().defaultText, QStringLiteral("Angebot Müller v2.1.pdf"));
        QCOMPARE(QDir(fx->prompts->last().folder), QDir(dir.path()));
        QCOMPARE(qtNameFilters(fx->prompts->last().text), QStringList{QStringLiteral("PDF-Dokument (*.pdf)")});
    }

    // "Grafik" offers every picture format this Qt reads, PNG included, named once.
    void pictureFilter()
    {
        w->findChild<QAction*>(QStringLiteral("mnuInsert_ImageFixed"))->trigger();
        QCOMPARE(fx->prompts->last().title, QStringLiteral("Grafik einfügen"));
        const QStringList filters = qtNameFilters(fx->prompts->last().text);
        QCOMPARE(filters.size(), 2);
        QVERIFY2(filters[0].startsWith(u"Bilder (*.") && filters[0].count(u'(') == 1, qPrintable(filters[0]));
        for (const char* ext : {"*.png", "*.jpg", "*.jpeg", "*.bmp", "*.gif", "*.ppm", "*.xpm"})
            QVERIFY2(filters[0].contains(QLatin1String(ext)), ext);
        QCOMPARE(filters[1], QStringLiteral("Alle Dateien (*)"));
    }

    void droppedFileOpensAsDocument()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notiz.txt"));
        QVERIFY(writeAll(path, "Inhalt der Notiz"));
        frmMDIChild* target = w;
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
        fx->flush();
        QCOMPARE(target->surface()->Text(), QStringLiteral("Brief"));
        QCOMPARE(fx->frame->documents().size(), 2);
        QCOMPARE(fx->frame->activeDocument()->FilePath(), path);
        QCOMPARE(fx->frame->activeDocument()->surface()->Text(), QStringLiteral("Inhalt der Notiz"));
    }

    void wordFileOpensWithItsText()
    {
        TextControl* s = w->surface();
        s->setPageMarginL(1000);
        s->setText(QStringLiteral("Hallo Word"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.docx"));
        QVERIFY(SaveDocument(path, w));
        QVERIFY(readAll(path).startsWith("PK"));
        const int asked = int(fx->prompts->asked.size());
        OpenDocument(path);
        frmMDIChild* loaded = fx->frame->activeDocument();
        QCOMPARE(loaded->FilePath(), path);
        QCOMPARE(loaded->surface()->Text(), QStringLiteral("Hallo Word"));
        QCOMPARE(loaded->surface()->PageMarginL(), 1000);
        QCOMPARE(fx->prompts->asked.size(), asked);

        // What the surface cannot show is said once, after the window is there.
        ZipPackage::Writer zip;
        zip.add(QStringLiteral("word/document.xml"),
                "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p><w:pPr>"
                "<w:tabs><w:tab w:val=\"right\" w:leader=\"dot\" w:pos=\"9000\"/></w:tabs></w:pPr>"
                "<w:r><w:t>Preis</w:t><w:tab/></w:r><w:r><w:rPr><w:vanish/></w:rPr><w:t>10,00</w:t></w:r></w:p></w:body></w:document>");
        QByteArray bytes;
        QVERIFY(zip.finish(&bytes, nullptr));
        const QString other = dir.filePath(QStringLiteral("fremd.docx"));
        QVERIFY(writeAll(other, bytes));
        OpenDocument(other);
        QCOMPARE(fx->frame->activeDocument()->surface()->Text(), QStringLiteral("Preis\t10,00"));
        QCOMPARE(fx->prompts->asked.size(), asked + 1);
        QCOMPARE(fx->prompts->last().text, QStringLiteral("Einige Bestandteile der Datei kann die Textverarbeitung "
                                                          "nicht darstellen: verborgener Text (wird angezeigt)."));
        QCOMPARE(fx->prompts->last().icon, Prompter::Icon::Information);
    }

    void ownFormatStartsWithPageHeader()
    {
        TextControl* s = w->surface();
        s->setPageMarginL(1000);
        s->setPageMarginB(700);
        s->setText(QStringLiteral("Hallo"));
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/brief.txm");
        QVERIFY(SaveDocument(path, w));
        // Margins left, top, right, bottom, then height and width, after the magic number.
        const QByteArray head = readAll(path);
        QVERIFY(head.size() > 30);
        QCOMPARE(qFromLittleEndian<qint32>(head.constData() + 4), 1000);
        QCOMPARE(qFromLittleEndian<qint32>(head.constData() + 16), 700);
        // Reading skips the header: the text comes back, the page too.
        QString p = path;
        frmMDIChild* loaded = LoadDocument(p, 3);
        QCOMPARE(loaded->surface()->Text(), QStringLiteral("Hallo"));
        QCOMPARE(loaded->surface()->PageMarginL(), 1000);
        QVERIFY(!loaded->DirtyFlag);
    }

    // A full disk: the old file, its page header included, stays byte for byte, and
    // the message says why in German.
    void saveOnFullDiskKeepsTheOldFile()
    {
        const QString name = QStringLiteral("brief.txm");
        w->surface()->setText(QStringLiteral("alte Fassung"));
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(SaveDocument(path, w));
        const QByteArray old = readAll(path);
        w->surface()->setText(QStringLiteral("neue, längere Fassung"));
        w->surface()->setPageMarginL(2000);
        w->DirtyFlag = true;
        {
            ScopedDiskFull full(30); // the own format's page header is written
            QVERIFY(!SaveDocument(path, w));
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        QVERIFY(w->DirtyFlag);
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        const QString text = fx->prompts->last().text;
        QVERIFY2(text.contains(u"nicht genug Speicherplatz") && text.contains(u"Die bisherige Datei ist unverändert"),
                 qPrintable(text));
    }

    void saveActiveDocument()
    {
        // Untitled: the chooser asks (cancelled here), nothing changes.
        QTest::keyClicks(w->surface(), QStringLiteral("x"));
        SaveActiveDocument();
        QCOMPARE(fx->prompts->count(QStringLiteral("save")), 1);
        QVERIFY(w->DirtyFlag);
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        // A window with a file overwrites it without asking.
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Notiz.txt");
        QVERIFY(writeAll(path, "alt"));
        w->surface()->setText(QString());
        w->setTitle(path, path);
        w->surface()->setSelText(QStringLiteral("neu"));
        SaveActiveDocument();
        QCOMPARE(fx->prompts->count(QStringLiteral("save")), 1);
        QCOMPARE(readAll(path), QByteArray("neu"));
        QVERIFY(!w->DirtyFlag);
    }

private:
    std::unique_ptr<ShellFixture> fx;
    frmMDIChild* w = nullptr;
};

QTEST_MAIN(TestDocumentFiles)
#include "tst_documentfiles.moc"
