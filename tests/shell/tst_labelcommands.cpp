// The label commands of the shell: the menu item and the toolbar button open the
// address picker for labels, the hidden insert item opens it modal, and a label run
// leaves a sheet titled "Etiketten" that prints with every address inside its label.

#include "PdfText.h"
#include "ShellFixture.h"

#include "addresses/AdressenAuswaehlen.h"
#include "addresses/RecordSource.h"
#include "app/CurrentPrinter.h"
#include "output/LabelTemplate.h"
#include "shell/PrintCommands.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

AdressenAuswaehlen* openPicker()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<AdressenAuswaehlen*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

struct Word {
    QString text;
    QRectF box; // points from the page's top-left corner
};

// The words of page 1 with their boxes, from pdftotext -bbox.
QList<Word> pdfWords(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                          QStringLiteral("-l"), QStringLiteral("1"), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// Label n in points.
QRectF cellPoints(int n)
{
    const QRectF t = LabelTemplate::labelCell(n);
    return QRectF(t.topLeft() / 20.0, t.size() / 20.0);
}

} // namespace

class TstLabelCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void pickerOpens_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("menu") << "mnuEtiketten";
        QTest::newRow("toolbar") << "Etiketten";
    }
    void pickerOpens()
    {
        QFETCH(QString, command);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        appState().LabelMode = true;
        appState().ToolbarRefreshOff = true;
        if (command == u"mnuEtiketten") {
            frmMDIChild* w = fx.newDocument();
            QAction* item = w->findChild<QAction*>(command);
            QVERIFY(item->isEnabled());
            item->trigger();
        } else {
            QAction* button = fx.frame->findChild<QToolBar*>()->findChild<QAction*>(command);
            QVERIFY(button->isEnabled());
            button->trigger();
        }
        AdressenAuswaehlen* picker = openPicker();
        QVERIFY(picker);
        QVERIFY(!picker->isModal());
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 0);
        QVERIFY(!appState().LabelMode);
        QVERIFY(!appState().ToolbarRefreshOff);
        picker->close();
    }

    void templateItemOpensPickerModal()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        bool wasPicker = false;
        fx.prompts->answerExec([&](QDialog* d) {
            wasPicker = qobject_cast<AdressenAuswaehlen*>(d);
            return int(QDialog::Rejected);
        });
        w->findChild<QAction*>(QStringLiteral("mnuInsert_AdresseVorlage"))->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QVERIFY(wasPicker);
    }

    // The shipped templates reach the work folder at start; a run opens one as a sheet
    // without file name; printed, each label's text lies inside its 70 x 37 mm cell.
    void printedSheet()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        for (int size : LabelTemplate::fontSizes())
            QVERIFY(QFile::exists(appState().WorkFolder + LabelTemplate::fileName(size)));
        fx.newDocument()->findChild<QAction*>(QStringLiteral("mnuEtiketten"))->trigger();
        AdressenAuswaehlen* picker = openPicker();
        QVERIFY(picker);
        picker->HomeCountry = 49;
        QVERIFY(picker->data1().findFirst(QStringLiteral("[Nachname] = 'Muster' AND [Vorname] = 'Thomas'")));
        picker->cmdMerge_Click();
        fx.flush();
        QVERIFY(!openPicker());
        frmMDIChild* sheet = fx.frame->activeDocument();
        QVERIFY(sheet);
        QCOMPARE(sheet->Title(), QStringLiteral("Etiketten"));
        QVERIFY(sheet->FilePath().isEmpty());
        QVERIFY(!appState().LabelMode);

        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString pdf = m_dir.filePath(QStringLiteral("etiketten.pdf"));
        resetCurrentPrinter();
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        int copies = 1;
        QVERIFY(PrintCommands::PrintDocument(sheet->surface(), copies, sheet->Title()));
        QCOMPARE(pdfPages(pdf), 1);
        const QList<Word> words = pdfWords(pdf);
        QSet<int> labelsWithName;
        for (const Word& w : words) {
            const QPointF centre = w.box.center();
            const int col = int(centre.x() / cellPoints(1).width());
            const int row = int((centre.y() - cellPoints(1).top()) / cellPoints(1).height());
            const int n = row * 3 + col + 1;
            QVERIFY2(n >= 1 && n <= 24, qPrintable(w.text));
            QVERIFY2(cellPoints(n).adjusted(-0.5, -0.5, 0.5, 0.5).contains(w.box),
                     qPrintable(QStringLiteral("%1 in label %2").arg(w.text).arg(n)));
            if (w.text == u"Muster")
                labelsWithName << n;
        }
        QCOMPARE(labelsWithName.size(), 24);
        // Every line of the address, also the country in capitals.
        for (const char* text : {"Lieber", "Bruder", "Thomas", "Seestraße", "CH-8002", "Zürich", "SCHWEIZ"})
            QCOMPARE(std::count_if(words.begin(), words.end(), [&](const Word& w) { return w.text == QString::fromUtf8(text); }),
                     24);
    }
};

QTEST_MAIN(TstLabelCommands)
#include "tst_labelcommands.moc"
