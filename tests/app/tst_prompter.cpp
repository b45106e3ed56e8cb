#include "app/FileDialogs.h"
#include "app/GermanUi.h"
#include "app/QtPrompter.h"
#include "app/ScriptedPrompter.h"


#include "TestCommon.h"
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>

#include <utime.h>

class TestPrompter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nameFilters()
    {
        // A description that names its patterns keeps them once; one without gets them.
        QCOMPARE(qtNameFilters(QStringLiteral("Text (*.txt)|*.txt|RTF-Format (*.rtf)|*.rtf|PDF|*.pdf|JPEG (*.jpg)|*.jpg;*.jpeg")),
                 QStringList({"Text (*.txt)", "RTF-Format (*.rtf)", "PDF (*.pdf)", "JPEG (*.jpg *.jpeg)"}));
        QCOMPARE(qtNameFilters(QStringLiteral("*.bmp; *.jpg; *.gif (Bild öffnen)|*.bmp; *.jpg; *.gif|")),
                 QStringList({"*.bmp; *.jpg; *.gif (Bild öffnen) (*.bmp *.jpg *.gif)"}));
    }

    // Qt's own texts in the standard dialogs are German once the start installed them.
    void standardDialogsInGerman()
    {
        QVERIFY(GermanUi::install());
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QFileDialog dlg(nullptr, QStringLiteral("Öffnen"));
        FileDialogs::prepare(dlg);
        QStringList labels;
        for (const QLabel* l : dlg.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY2(labels.contains(QStringLiteral("Dateiname:")) || labels.contains(QStringLiteral("Datei&name:")),
                 qPrintable(labels.join(u'|')));
        QCOMPARE(dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(),
                 QStringLiteral("Abbrechen"));
    }

    // The file chooser's list writes dates and sizes the German way, whatever the
    // system's locale ("C" here) says.
    void fileListInGerman()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("brief.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1500, 'x'));
        QVERIFY(f.flush());
        QVERIFY(f.setFileTime(QDateTime(QDate(2026, 12, 6), QTime(9, 5)), QFileDevice::FileModificationTime));
        f.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Briefe")));
        const time_t folderTime = QDateTime(QDate(2025, 3, 1), QTime(18, 30)).toSecsSinceEpoch();
        const utimbuf times{folderTime, folderTime};
        QCOMPARE(utime(QFile::encodeName(dir.filePath(QStringLiteral("Briefe"))).constData(), &times), 0);
        QFileDialog dlg(nullptr, QStringLiteral("Öffnen"), dir.path());
        FileDialogs::prepare(dlg);
        QAbstractItemModel* list = dlg.proxyModel();
        QVERIFY(list);
        auto* files = qobject_cast<QFileSystemModel*>(dlg.proxyModel()->sourceModel());
        QVERIFY(files);
        const QModelIndex folder = dlg.proxyModel()->mapFromSource(files->index(dir.path()));
        QTRY_COMPARE(list->rowCount(folder), 2);
        list->sort(0);
        QCOMPARE(list->index(1, 0, folder).data().toString(), QStringLiteral("brief.txt"));
        QTRY_COMPARE(list->index(1, 3, folder).data().toString(), QStringLiteral("06.12.26 09:05"));
        QCOMPARE(list->index(1, 1, folder).data().toString(), QStringLiteral("1,46 KiB"));
        // A folder has no size, but its date reads German too.
        QCOMPARE(list->index(0, 0, folder).data().toString(), QStringLiteral("Briefe"));
        QCOMPARE(list->index(0, 1, folder).data().toString(), QString());
        QTRY_COMPARE(list->index(0, 3, folder).data().toString(), QStringLiteral("01.03.25 18:30"));
    }

    void answersFromQueuesAndRecords()
    {
        ScriptedPrompter p;
        p.answerMessage(QMessageBox::No);
        QCOMPARE(p.message(nullptr, QStringLiteral("T"), QStringLiteral("Frage?"),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           Prompter::Icon::Exclamation),
                 QMessageBox::No);
        QCOMPARE(p.last().title, QStringLiteral("T"));
        QCOMPARE(p.last().icon, Prompter::Icon::Exclamation);
        QCOMPARE(p.unanswered, 0);

        // An empty queue answers as Escape would and counts the question.
        QCOMPARE(p.message(nullptr, {}, {}, QMessageBox::Yes | QMessageBox::No, Prompter::Icon::None),
                 QMessageBox::No);
        QCOMPARE(p.input(nullptr, {}, {}, {}), std::nullopt);
        QVERIFY(p.saveFile(nullptr, {}, {}, {}, QStringLiteral("Unbenannt")).cancelled());
        QCOMPARE(p.unanswered, 3);
        QCOMPARE(p.count(QStringLiteral("message")), 2);
        QCOMPARE(p.last().defaultText, QStringLiteral("Unbenannt"));
    }

    // A short message under a long title used to show "Adresse… ortieren" in the title bar.
    void messageBoxShowsItsWholeTitle()
    {
        const QString title = QStringLiteral("Adressen importieren: Zusammenfassung");
        QFont bold = QApplication::font();
        bold.setBold(true);
        // The title in bold and at least room for the close button.
        const int titleWidth = QFontMetrics(bold).horizontalAdvance(title) + 40;
        int shownWidth = 0;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (box) {
                shownWidth = box->width();
                box->close();
            }
        });
        QtPrompter().message(nullptr, title, QStringLiteral("Fertig."), QMessageBox::Ok,
                             Prompter::Icon::Information);
        QVERIFY2(shownWidth >= titleWidth, qPrintable(QStringLiteral("%1 < %2").arg(shownWidth).arg(titleWidth)));
    }
};

QTEST_MAIN(TestPrompter)
#include "tst_prompter.moc"
