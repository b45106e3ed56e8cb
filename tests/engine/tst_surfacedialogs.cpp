// The surface's paragraph, list, tab, style and table dialogs: OK writes exactly the
// chosen properties as one undo step, Cancel leaves the document as it was.

#include "TestCommon.h"

#include "engine/surface/TextControl.h"
#include "engine/dialogs/DialogParts.h"
#include "engine/dialogs/SurfaceDialogs.h"
#include "engine/EngineProperties.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>

#include <QListWidget>
#include <QSpinBox>
#include <QTextList>

#include <functional>

using DialogParts::LengthBox;

namespace {

using Play = std::function<void(QDialog*)>;
using Check = std::function<void(TextControl*)>;

template <typename W> W* child(QDialog* d, const char* name) {
    W* w = d->findChild<W*>(QLatin1String(name));
    if (!w)
        qWarning("no control %s", name);
    return w;
}


// The document as its formats show it (an undo leaves unused formats in the table).
QString content(TextControl* s) {
    return s->document()->toHtml();
}

} // namespace

Q_DECLARE_METATYPE(Play)
Q_DECLARE_METATYPE(Check)

class TestSurfaceDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        prompts = installScriptedPrompter();
        s = std::make_unique<TextControl>();
        s->setText(QStringLiteral("Erster Absatz\r\nZweiter Absatz"));
        s->setSelStart(2);
        s->setSelLength(0);
        s->document()->clearUndoRedoStacks();
    }
    void cleanup() { s.reset(); }

    void okWritesOneStep_data() {
        // which: 0 paragraph, 1 list, 2 tabs, 3 style, 4 table
        // changedBlockProps: block properties allowed to change
        addColumns<int, Play, QList<int>, Check>("which", "play", "changedBlockProps", "check");

        QTest::newRow("Absatz: rechts, 1 cm links") << 0 << Play([](QDialog* d) {
            child<QComboBox>(d, "alignment")->setCurrentIndex(1);
            child<LengthBox>(d, "indentLeft")->setValue(1.0);
        }) << QList<int>{QTextFormat::BlockAlignment, QTextFormat::BlockLeftMargin}
                                                    << Check([](TextControl* s) {
                                                           QCOMPARE(s->Alignment(), 1);
                                                           QCOMPARE(s->IndentL(), 567);
                                                       });
        QTest::newRow("Absatz: Silbentrennung mit der Leertaste") << 0 << Play([](QDialog* d) {
            QTest::keyClick(child<QCheckBox>(d, "hyphenate"), Qt::Key_Space);
        }) << QList<int>{EngineProperty::Hyphenate} << Check([](TextControl* s) {
            QVERIFY(s->textCursor().blockFormat().boolProperty(EngineProperty::Hyphenate));
        });
        QTest::newRow("Liste: Nummerierung a, b, c, Ebene 2")
            << 1 << Play([](QDialog* d) {
                   child<QComboBox>(d, "type")->setCurrentIndex(2);
                   child<QComboBox>(d, "style")->setCurrentIndex(2);
                   child<QSpinBox>(d, "level")->setValue(2);
               })
            << QList<int>{QTextFormat::BlockLeftMargin, QTextFormat::BlockIndent,
                          QTextFormat::TextIndent, QTextFormat::ObjectIndex}
            << Check([](TextControl* s) {
                   QCOMPARE(s->ListType(), 4);
                   QCOMPARE(s->NumberingAttribute(1), 5);
                   QCOMPARE(s->NumberingAttribute(3), 2);
               });
        QTest::newRow("Tabs: 2,5 cm rechts mit Punkten, 4 cm Linie") << 2 << Play([](QDialog* d) {
            for (const auto& [cm, type, leader] : {std::tuple{2.5, 1, 1}, {4.0, 0, 3}}) {
                child<LengthBox>(d, "position")->setValue(cm);
                child<QComboBox>(d, "type")->setCurrentIndex(type);
                child<QComboBox>(d, "leader")->setCurrentIndex(leader);
                child<QPushButton>(d, "cmdSet")->click();
            }
            QCOMPARE(child<QListWidget>(d, "tabList")->item(1)->text(), QStringLiteral("4,00 cm\tLinks, Linie"));
            // Picking the first stop shows its leader.
            child<QListWidget>(d, "tabList")->setCurrentRow(0);
            QCOMPARE(child<QComboBox>(d, "leader")->currentText(), QStringLiteral("Punkte"));
        }) << QList<int>{QTextFormat::TabPositions}
                                             << Check([](TextControl* s) {
                                                    s->setTabCurrent(1);
                                                    QCOMPARE(s->TabPos(), 1418);
                                                    QCOMPARE(s->TabType(), 2);
                                                    const auto stops = s->textCursor().blockFormat().tabPositions();
                                                    QCOMPARE((QList<QChar>{stops.value(0).delimiter, stops.value(1).delimiter}), (QList<QChar>{u'.', u'_'}));
                                                });
        QTest::newRow("Formatvorlage: Überschrift 1")
            << 3 << Play([](QDialog* d) { child<QListWidget>(d, "styleList")->setCurrentRow(1); })
            << QList<int>{} // a style sets the whole paragraph
            << Check([](TextControl* s) {
                   QCOMPARE(s->textCursor().blockFormat().headingLevel(), 1);
                   s->setSelStart(0);
                   s->setSelLength(13); // the whole first paragraph
                   QCOMPARE(s->FontSize(), 16.0);
                   QVERIFY(s->FontBold());
                   s->setSelStart(16); // the second one keeps its look
                   QVERIFY(!s->FontBold());
               });
        QTest::newRow("Tabelle: 1 pt Rahmen, zentriert") << 4 << Play([](QDialog* d) {
            child<LengthBox>(d, "borderWidth")->setValue(1);
            child<QComboBox>(d, "alignment")->setCurrentIndex(1);
        }) << QList<int>{} << Check([](TextControl* s) {
            const QTextTableFormat f = s->textCursor().currentTable()->format();
            QCOMPARE(qRound(f.border() * 15), 20);
            QVERIFY(f.alignment() & Qt::AlignHCenter);
        });
    }
    void okWritesOneStep() {
        QFETCH(int, which);
        QFETCH(Play, play);
        QFETCH(QList<int>, changedBlockProps);
        QFETCH(Check, check);
        if (which == 4) {
            s->setSelStart(0);
            s->TableInsert(2, 2);
            s->setSelStart(s->TableCellStart(1, 1, 1) - 1);
            s->document()->clearUndoRedoStacks();
        }
        const QString before = content(s.get());
        const QMap<int, QVariant> propsBefore = s->textCursor().blockFormat().properties();
        prompts->answerExec([&](QDialog* d) {
            play(d);
            return int(QDialog::Accepted);
        });
        QVERIFY(run(which));
        QCOMPARE(s->UndoKind(), 3);
        check(s.get());

        // Only the listed properties of the paragraph changed.
        const QMap<int, QVariant> propsAfter = s->textCursor().blockFormat().properties();
        QSet<int> keys(propsBefore.keyBegin(), propsBefore.keyEnd());
        keys.unite(QSet<int>(propsAfter.keyBegin(), propsAfter.keyEnd()));
        for (int key : std::as_const(keys))
            if (!changedBlockProps.contains(key) && which != 3)
                QVERIFY2(propsBefore.value(key) == propsAfter.value(key),
                         qPrintable(QString::number(key, 16)));

        // One undo takes all of it back.
        s->Undo();
        QCOMPARE(content(s.get()), before);
        QVERIFY(!s->CanUndo());

        // The same changes cancelled change nothing.
        prompts->answerExec([&](QDialog* d) {
            play(d);
            return int(QDialog::Rejected);
        });
        QVERIFY(!run(which));
        QCOMPARE(prompts->count(QStringLiteral("exec")), 2);
        QCOMPARE(content(s.get()), before);
        QVERIFY(!s->CanUndo());
    }

private:
    bool run(int which) {
        switch (which) {
        case 0: return SurfaceDialogs::paragraph(s.get());
        case 1: return SurfaceDialogs::listAttributes(s.get());
        case 2: return SurfaceDialogs::tabs(s.get());
        case 3: return SurfaceDialogs::style(s.get());
        default: return SurfaceDialogs::tableSettings(s.get());
        }
    }

    ScriptedPrompter* prompts = nullptr;
    std::unique_ptr<TextControl> s;
};

QTEST_MAIN(TestSurfaceDialogs)
#include "tst_surfacedialogs.moc"
