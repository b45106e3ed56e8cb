#include "engine/surface/TextButtonBar.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/TextRuler.h"
#include "engine/surface/TextStatusBar.h"

#include "TestCommon.h"
#include <QToolButton>
#include <QVBoxLayout>

class TestCompanions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        window = new QWidget;
        auto* l = new QVBoxLayout(window);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
        ruler = new TextRuler;
        tc = new TextControl;
        bar = new TextButtonBar;
        status = new TextStatusBar;
        l->addWidget(bar);
        l->addWidget(ruler);
        l->addWidget(tc);
        l->addWidget(status);
        window->resize(1000, 600);
        window->show();
        QApplication::processEvents();
    }
    void cleanup() { delete window; }

    void statusBarFollowsTheInputPosition()
    {
        status->setTextControl(tc);
        tc->setText(QStringLiteral("eins\rzwei\fdrei vier"));
        tc->setSelStart(tc->document()->lastBlock().position() + 5);
        QApplication::processEvents();
        QCOMPARE(label("page") + label("line") + label("column"), QStringLiteral("Seite 2Zeile 1Spalte 6"));
        tc->setSelStart(5);
        QApplication::processEvents();
        QCOMPARE(label("page") + label("line") + label("column"), QStringLiteral("Seite 1Zeile 2Spalte 1"));
        // On a paragraph's second line the column counts from that line's start.
        QTextCursor c(tc->document());
        c.setPosition(7);
        c.insertText(QString(QChar::LineSeparator) + QStringLiteral("neu"));
        tc->setSelStart(10); // after "zw", the break and "ne"
        QApplication::processEvents();
        QCOMPARE(label("page") + label("line") + label("column"), QStringLiteral("Seite 1Zeile 3Spalte 3"));
    }

    void companionsLetGo()
    {
        // A surface that goes away unties itself.
        status->setTextControl(tc);
        bar->setTextControl(tc);
        ruler->setTextControl(tc);
        QVERIFY(button("bold")->isEnabled());
        delete tc;
        tc = nullptr;
        QApplication::processEvents();
        QCOMPARE(status->textControl(), nullptr);
        QCOMPARE(bar->textControl(), nullptr);
        QCOMPARE(ruler->textControl(), nullptr);
        QVERIFY(!button("bold")->isEnabled());
        ruler->repaint();
    }

    void buttonBarShowsAndAppliesAttributes()
    {
        bar->setTextControl(tc);
        tc->setText(QStringLiteral("fett normal"));
        tc->setSelStart(0);
        tc->setSelLength(4);
        tc->setFontBold(true);
        tc->setFontSize(14);
        tc->setAlignment(2);
        tc->setSelStart(2);
        QApplication::processEvents();
        QVERIFY(button("bold")->isChecked());
        QCOMPARE(sizeBox()->currentText(), QStringLiteral("14"));
        QVERIFY(button("alignCenter")->isChecked());
        tc->setSelStart(8);
        QApplication::processEvents();
        QVERIFY(!button("bold")->isChecked());
        // A mixed selection shows an empty size.
        tc->setSelStart(0);
        tc->setSelLength(-1);
        QApplication::processEvents();
        QCOMPARE(sizeBox()->currentText(), QString());
        // Buttons apply to the selection and hand the focus back.
        QTest::mouseClick(button("italic"), Qt::LeftButton);
        QVERIFY(tc->FontItalic());
        QCOMPARE(tc->UndoKind(), 3);
        QComboBox* size = sizeBox();
        size->setEditText(QStringLiteral("20"));
        QTest::keyClick(size, Qt::Key_Return);
        QCOMPARE(tc->FontSize(), 20.0);
        QVERIFY(tc->hasFocus());
    }

    void rulerFollowsZoomAndSetsAndMovesTabs()
    {
        ruler->setTextControl(tc);
        tc->setText(QStringLiteral("a\tb"));
        const double x0 = ruler->xForTwips(0);
        const double cm100 = ruler->xForTwips(567) - x0;
        QVERIFY(qAbs(cm100 - 567 / 15.0) < 0.01);
        // The ruler's zero is straight above the text's left edge.
        const QPoint textLeft = tc->viewport()->mapToGlobal(tc->caretRect(QTextCursor(tc->document())).topLeft());
        QVERIFY(qAbs(ruler->mapToGlobal(QPoint(qRound(x0), 0)).x() - textLeft.x()) <= 1);
        QSignalSpy view(tc, &TextControl::ViewChanged);
        tc->setZoomFactor(200);
        QVERIFY(view.count() >= 1); // what the ruler repaints on
        QApplication::processEvents();
        QVERIFY(qAbs((ruler->xForTwips(567) - ruler->xForTwips(0)) - 2 * cm100) < 0.01);

        // A click at 2 cm sets a left tab there (snapped to a quarter centimetre).
        QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(qRound(ruler->xForTwips(1140)), 10));
        QCOMPARE(tc->TabCount(), 1);
        tc->setTabCurrent(1);
        QCOMPARE(tc->TabPos(), 1136);
        // Dragging moves it.
        const QPoint from(qRound(ruler->xForTwips(1136)), 12);
        const QPoint to(qRound(ruler->xForTwips(2840)), 12);
        QTest::mousePress(ruler, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, ruler->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(ruler, &move);
        QTest::mouseRelease(ruler, Qt::LeftButton, {}, to);
        QCOMPARE(tc->TabCount(), 1);
        tc->setTabCurrent(1);
        QCOMPARE(tc->TabPos(), 2840);
    }

private:
    QString label(const char* name) const
    {
        return status->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QComboBox* sizeBox() const { return bar->findChild<QComboBox*>(QStringLiteral("fontSize")); }
    QToolButton* button(const char* name) const
    {
        return bar->findChild<QToolButton*>(QString::fromLatin1(name));
    }

    QWidget* window = nullptr;
    TextControl* tc = nullptr;
    TextRuler* ruler = nullptr;
    TextButtonBar* bar = nullptr;
    TextStatusBar* status = nullptr;
};

QTEST_MAIN(TestCompanions)
#include "tst_companions.moc"
