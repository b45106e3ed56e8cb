// The label commands of the shell: the menu item and the toolbar button open the
// address picker for labels, and a label run leaves a sheet titled "Etiketten" that prints with every address inside its label.

#include "PdfText.h"
#include "ShellFixture.h"

#include "addresses/AdressenAuswaehlen.h"
#include "addresses/RecordSource.h"
#include "app/CurrentPrinter.h"
#include "output/LabelTemplate.h"
#include "shell/PrintCommands.h"

#include <QAction>
#include "TestCommon.h"
#include <QPrinter>
#include <QToolBar>

namespace {

AdressenAuswaehlen* openPicker()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<AdressenAuswaehlen*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

// Label n in points: 3 x 8 labels of 70 x 37 mm, the first row 1.4 pt below the top edge.
QRectF cellPoints(int n)
{
    const double width = 70 * 72 / 25.4, height = 37 * 72 / 25.4;
    return QRectF((n - 1) % 3 * width, 1.4 + (n - 1) / 3 * height, width, height);
}

} // namespace

class TstLabelCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void toolbarOpensPicker()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        appState().LabelMode = true;
        appState().ToolbarRefreshOff = true;
        QAction* a = fx.frame->findChild<QToolBar*>()->findChild<QAction*>(QStringLiteral("Etiketten"));
        QVERIFY(a->isEnabled());
        a->trigger();
        AdressenAuswaehlen* picker = openPicker();
        QVERIFY(picker && !picker->isModal());
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 0);
        QVERIFY(!appState().LabelMode);
        QVERIFY(!appState().ToolbarRefreshOff);
        picker->close();
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
        QCOMPARE(sheet->Title(), QStringLiteral("Etiketten"));
        QVERIFY(sheet->FilePath().isEmpty());

        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString pdf = m_dir.filePath(QStringLiteral("etiketten.pdf"));
        resetCurrentPrinter();
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        int copies = 1;
        QVERIFY(PrintCommands::PrintDocument(sheet->surface(), copies, sheet->Title()));
        QCOMPARE(pdfPages(pdf), 1);
        const QList<PdfWord> words = pdfWordBoxes(pdf).value(0).words;
        QSet<int> labelsWithName;
        for (const PdfWord& w : words) {
            const QRectF box(QPointF(w.xMin, w.yMin), QPointF(w.xMax, w.yMax));
            const QPointF centre = box.center();
            const int col = int(centre.x() / cellPoints(1).width());
            const int row = int((centre.y() - cellPoints(1).top()) / cellPoints(1).height());
            const int n = row * 3 + col + 1;
                QVERIFY2(cellPoints(n).adjusted(-0.5, -0.5, 0.5, 0.5).contains(box),
                     qPrintable(QStringLiteral("%1 in label %2").arg(w.text).arg(n)));
            if (w.text == u"Muster")
                labelsWithName << n;
        }
        QCOMPARE(labelsWithName.size(), 24);
        // Every line of the address, also the country in capitals.
        for (const char* text : {"Lieber", "Bruder", "Thomas", "Seestraße", "CH-8002", "Zürich", "SCHWEIZ"})
            QCOMPARE(std::count_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == QString::fromUtf8(text); }),
                     24);
    }
};

QTEST_MAIN(TstLabelCommands)
#include "tst_labelcommands.moc"
