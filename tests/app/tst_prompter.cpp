#include "app/ScriptedPrompter.h"

#include <QTest>

class TestPrompter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nameFilters()
    {
        QCOMPARE(qtNameFilters(QStringLiteral("Text (*.txt)|*.txt|RTF Format (*.rtf)|*.rtf")),
                 QStringList({"Text (*.txt) (*.txt)", "RTF Format (*.rtf) (*.rtf)"}));
        QCOMPARE(qtNameFilters(QStringLiteral("*.bmp; *.jpg; *.gif (Bild öffnen)|*.bmp; *.jpg; *.gif|")),
                 QStringList({"*.bmp; *.jpg; *.gif (Bild öffnen) (*.bmp *.jpg *.gif)"}));
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
};

QTEST_MAIN(TestPrompter)
#include "tst_prompter.moc"
