// The font browser: its list and caption, the sample following font and size, and
// applying font and size to a document as one step.

#include "TestFiles.h"

#include "dialogs/frmFonts.h"
#include "engine/TextControl.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// Font name and size over the whole text of a surface (mixed reads as "" and 0).
std::pair<QString, double> wholeFormat(TextControl* tc)
{
    tc->setSelStart(0);
    tc->setSelLength(-1);
    const auto r = std::make_pair(tc->FontName(), tc->FontSize());
    tc->setSelLength(0);
    return r;
}

void chooseSize(frmFonts& f, const QString& size)
{
    f.Combo1->setCurrentText(size);
    Q_EMIT f.Combo1->textActivated(size);
}

} // namespace

class TstFonts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installScriptedPrompter(); }

    void opening()
    {
        frmFonts f;
        f.Form_Load();
        f.Form_Activate();
        const int n = int(QFontDatabase::families().size());
        QCOMPARE(f.lstFonts->count(), n);
        QCOMPARE(f.windowTitle(), QStringLiteral("Anzahl der Druckerschriftarten:  %1").arg(n));
        QVERIFY(f.TXTextControl1->Text().contains(QStringLiteral("Dies ist ein Beispieltext !")));
        QCOMPARE(wholeFormat(f.TXTextControl1), std::make_pair(QStringLiteral("Arial"), 10.0));
        // The sample follows font and size.
        const QList<QListWidgetItem*> dejavu =
            f.lstFonts->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly);
        if (dejavu.isEmpty())
            QSKIP("DejaVu Sans is not installed");
        f.lstFonts->setCurrentItem(dejavu.first());
        chooseSize(f, QStringLiteral("24"));
        QCOMPARE(wholeFormat(f.TXTextControl1), std::make_pair(QStringLiteral("DejaVu Sans"), 24.0));
        chooseSize(f, QStringLiteral("gross")); // not a size: the sample stays
        QCOMPARE(wholeFormat(f.TXTextControl1).second, 24.0);
    }

    void applyIsOneUndoStep()
    {
        TextControl doc;
        doc.setText(QStringLiteral("Hallo Welt"));
        doc.setSelStart(0);
        doc.setSelLength(-1);
        doc.setFontName(QStringLiteral("Arial"));
        doc.setFontSize(11);
        doc.setSelStart(6);
        doc.setSelLength(4);

        frmFonts f;
        f.document = &doc;
        f.Form_Load();
        f.Form_Activate();
        f.lstFonts->setCurrentItem(f.lstFonts->findItems(QStringLiteral("Liberation Serif"),
                                                         Qt::MatchExactly).value(0));
        const QString font = f.TXTextControl1->FontName();
        chooseSize(f, QStringLiteral("24"));
        QTest::mouseClick(f.Command1, Qt::LeftButton);

        QCOMPARE(doc.FontName(), font);
        QCOMPARE(doc.FontSize(), 24.0);
        doc.setSelStart(0);
        doc.setSelLength(5); // "Hallo" was not selected
        QCOMPARE(doc.FontSize(), 11.0);
        doc.Undo();
        QCOMPARE(wholeFormat(&doc), std::make_pair(QStringLiteral("Arial"), 11.0));
    }
};

QTEST_MAIN(TstFonts)
#include "tst_fonts.moc"
