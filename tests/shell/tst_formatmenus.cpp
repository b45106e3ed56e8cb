// The menu items, toolbar buttons and the right click that open the formatting,
// help and word count windows on the active document, and the colour commands.

#include "ShellFixture.h"
#include "dialogs/frmFonts.h"

#include "TestCommon.h"
#include <QImage>
#include <QMenu>
#include <QToolBar>

class TstFormatMenus : public QObject {
    Q_OBJECT

    static QAction* find(QObject* owner, const QString& name)
    {
        return owner->findChild<QAction*>(name);
    }
    // A small picture for the document, kept in `dir`.
    static QString picture(const QTemporaryDir& dir)
    {
        QImage img(10, 10, QImage::Format_RGB32);
        img.fill(Qt::blue);
        const QString png = dir.filePath(QStringLiteral("b.png"));
        return img.save(png) ? png : QString();
    }

    static void showMenu(frmMDIChild* w, const char* name)
    {
        for (QMenu* m : w->menus())
            if (m->objectName() == QLatin1String(name))
                Q_EMIT m->aboutToShow();
    }

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<ShellFixture>();
        QVERIFY(fx->startEmpty());
        w = fx->newDocument();
        s = w->surface();
    }
    void cleanup() { fx.reset(); }

    void opens_data()
    {
        addColumns<QString, bool, QString>("name", "toolbar", "dialog");
        QTest::newRow("table menu") << "mnuTable_InsertTable" << false << "frmTableDlg";
        QTest::newRow("image menu") << "mnuFormat_Image" << false << "frmImageDlg";
        QTest::newRow("header button") << "HeaderProperties" << true << "frmHeaderProperties";
        QTest::newRow("Hilfe Serienbriefe") << "mnuHelp2" << false << "frmHilfeSerienbrief";
        QTest::newRow("Anzahl Wörter") << "mnuExtras_WordCount" << false << "frmWordCount";
    }
    void opens()
    {
        QFETCH(QString, name);
        QFETCH(bool, toolbar);
        QTemporaryDir dir;
        const QString png = picture(dir);
        if (name == QLatin1String("mnuFormat_Image"))
            s->setObjectSelected(s->ObjectInsertFixed(png, 100, 100));
        showMenu(w, "mnuFormat");
        showMenu(w, "mnuTable");
        QAction* a = find(toolbar ? static_cast<QObject*>(fx->frame.get()) : w, name);
        QVERIFY(a && a->isEnabled());
        bool refreshOff = false;
        fx->prompts->answerExec([&refreshOff](QDialog*) {
            refreshOff = appState().ToolbarRefreshOff;
            return int(QDialog::Rejected);
        });
        a->trigger();
        QCOMPARE(fx->prompts->count(QStringLiteral("exec")), 1);
        QTEST(fx->prompts->last().text, "dialog");
        // The letter help screens hold the toolbar still while they are up.
        QCOMPARE(refreshOff, name == QLatin1String("mnuHelp2"));
        QVERIFY(!appState().ToolbarRefreshOff);
    }

    // The keys of the formatting bar act on the selection and, for the character formats,
    // switch off again; each press is one formatting step.
    void formatKeys_data()
    {
        // what: 0 bold, 1 italic, 2 underline, 3 alignment
        addColumns<int, int, int, int>("key", "modifiers", "what", "on");
        const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("Strg+B") << int(Qt::Key_B) << ctrl << 0 << 1;
        QTest::newRow("Strg+I") << int(Qt::Key_I) << ctrl << 1 << 1;
        QTest::newRow("Strg+U") << int(Qt::Key_U) << ctrl << 2 << 1;
        QTest::newRow("Strg+Umschalt+F") << int(Qt::Key_F) << ctrlShift << 0 << 1;
        QTest::newRow("Strg+Umschalt+K") << int(Qt::Key_K) << ctrlShift << 1 << 1;
        QTest::newRow("Strg+E centred") << int(Qt::Key_E) << ctrl << 3 << 2;
        QTest::newRow("Strg+R right") << int(Qt::Key_R) << ctrl << 3 << 1;
        QTest::newRow("Strg+J justified") << int(Qt::Key_J) << ctrl << 3 << 3;
    }
    void formatKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, what);
        fx->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fx->frame.get()));
        s->setFocus();
        QTest::keyClicks(s, QStringLiteral("Hallo Welt"));
        s->setSelStart(0);
        s->setSelLength(5);
        s->document()->clearUndoRedoStacks();
        QAction* undo = find(fx->frame.get(), QStringLiteral("Undo"));
        fx->frame->UpdateToolbar();
        QVERIFY(!undo->isEnabled());
        const auto state = [this, what] {
            const int on[] = {s->FontBold(), s->FontItalic(), s->FontUnderline(), s->Alignment()};
            return on[what];
        };
        const auto press = [&] { QTest::keyClick(s, Qt::Key(key), Qt::KeyboardModifiers(modifiers)); };
        QCOMPARE(state(), 0);
        press();
        QTEST(state(), "on");
        QCOMPARE(s->UndoKind(), 3);
        QVERIFY(w->DirtyFlag);
        QVERIFY(undo->isEnabled()); // the toolbar follows a change that kept the caret
        if (what == 3)
            return;
        // "Welt" kept its look; a second press takes the format off again.
        s->setSelStart(6);
        s->setSelLength(4);
        QCOMPARE(state(), 0);
        s->setSelStart(0);
        s->setSelLength(5);
        press();
        QCOMPARE(state(), 0);
    }

    void fontsButton()
    {
        QAction* button = fx->frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))
                              ->findChild<QAction*>(QStringLiteral("Schriften"));
        TextControl* target = nullptr;
        fx->prompts->answerExec([&target](QDialog* d) {
            if (auto* f = qobject_cast<frmFonts*>(d))
                target = f->document;
            return int(QDialog::Rejected);
        });
        button->trigger();
        QCOMPARE(target, w->surface());
    }

    void headerChangeMarksModified()
    {
        w->DirtyFlag = false;
        fx->prompts->answerExec([](QDialog* d) {
            d->findChild<QLineEdit*>(QStringLiteral("txtHeader"))->setText(QStringLiteral("30"));
            QMetaObject::invokeMethod(d, "cmdOK_Click");
            return d->result();
        });
        find(fx->frame.get(), QStringLiteral("HeaderProperties"))->trigger();
        QCOMPARE(w->surface()->HeaderFooterDistance(1), 1701);
        QVERIFY(w->DirtyFlag);
    }

    // A right click opens the edit menu; a picture is grasped by a click: "Grafik..."
    // comes on, a right click on it opens the image dialog.
    void clickOnAPicture()
    {
        Q_EMIT s->MouseDown(Qt::RightButton, QPoint(5, 5));
        QCOMPARE(fx->prompts->count(QStringLiteral("exec")), 0); // the edit menu instead
        QTRY_VERIFY(w->findChild<QMenu*>(QStringLiteral("mnuEdit"))->isVisible());
        for (QWidget* popup : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(popup))
                popup->hide();
        QTemporaryDir dir;
        s->setText(QStringLiteral("Bild: "));
        s->setSelStart(6);
        QVERIFY(s->ObjectInsertAsChar(picture(dir)) > 0);
        s->setSelStart(0);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QRect blue;
        const QImage shot = s->viewport()->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) == QColor(Qt::blue))
                    blue |= QRect(x, y, 1, 1);
        QVERIFY(!blue.isEmpty());
        showMenu(w, "mnuFormat");
        QVERIFY(!find(w, QStringLiteral("mnuFormat_Image"))->isEnabled());
        QTest::mouseClick(s->viewport(), Qt::LeftButton, {}, blue.center());
        showMenu(w, "mnuFormat");
        QVERIFY(find(w, QStringLiteral("mnuFormat_Image"))->isEnabled());
        fx->prompts->answerExec([](QDialog*) { return int(QDialog::Rejected); });
        QTest::mouseClick(s->viewport(), Qt::RightButton, {}, blue.center());
        QCOMPARE(fx->prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx->prompts->last().text, QStringLiteral("frmImageDlg"));
    }

    void colourCommands_data()
    {
        // answer: invalid: cancelled
        addColumns<QString, QColor, QColor, QColor>("item", "answer", "text", "back");
        QTest::newRow("text colour") << "mnuFormat_TextColour" << QColor(200, 10, 20)
                                     << QColor(200, 10, 20) << QColor();
        QTest::newRow("text colour cancelled") << "mnuFormat_TextColour" << QColor()
                                               << QColor(Qt::black) << QColor();
        QTest::newRow("background") << "mnuFormat_BackColour" << QColor(Qt::yellow)
                                    << QColor(Qt::black) << QColor(Qt::yellow);
    }
    void colourCommands()
    {
        QFETCH(QString, item);
        QFETCH(QColor, answer);
        s->setText(QStringLiteral("Farbe"));
        s->setSelStart(0);
        s->setSelLength(-1);
        s->setForeColor(Qt::black);
        fx->prompts->answerColour(answer.isValid() ? std::optional<QColor>(answer) : std::nullopt);
        find(w, item)->trigger();
        QCOMPARE(fx->prompts->count(QStringLiteral("colour")), 1);
        QTEST(s->ForeColor(), "text");
        if (QFETCH(QColor, back); back.isValid())
            QCOMPARE(s->TextBkColor(), back);
    }

private:
    std::unique_ptr<ShellFixture> fx;
    frmMDIChild* w = nullptr;
    TextControl* s = nullptr;
};

QTEST_MAIN(TstFormatMenus)
#include "tst_formatmenus.moc"
