// The menu items, toolbar buttons and the right click that open the formatting,
// help and word count windows on the active document, and the colour commands.

#include "ShellFixture.h"
#include "dialogs/frmFonts.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
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
    void opens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("toolbar");
        QTest::addColumn<QString>("dialog");
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
        QFETCH(QString, dialog);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        QTemporaryDir dir;
        const QString png = picture(dir);
        TextControl* s = w->surface();
        if (name == QLatin1String("mnuFormat_Image"))
            s->setObjectSelected(s->ObjectInsertFixed(png, 100, 100));
        showMenu(w, "mnuFormat");
        showMenu(w, "mnuTable");
        QAction* a = find(toolbar ? static_cast<QObject*>(fx.frame.get()) : w, name);
        QVERIFY(a && a->isEnabled());
        bool refreshOff = false;
        fx.prompts->answerExec([&refreshOff](QDialog*) {
            refreshOff = appState().ToolbarRefreshOff;
            return int(QDialog::Rejected);
        });
        a->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.prompts->last().text, dialog);
        // The letter help screens hold the toolbar still while they are up.
        QCOMPARE(refreshOff, name == QLatin1String("mnuHelp2"));
        QVERIFY(!appState().ToolbarRefreshOff);
    }

    // The keys of the formatting bar act on the selection and, for the character formats,
    // switch off again; each press is one formatting step.
    void formatKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("format");
        const int ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("Strg+B") << int(Qt::Key_B) << ctrl << "bold";
        QTest::newRow("Strg+I") << int(Qt::Key_I) << ctrl << "italic";
        QTest::newRow("Strg+U") << int(Qt::Key_U) << ctrl << "underline";
        QTest::newRow("Strg+Umschalt+F") << int(Qt::Key_F) << ctrlShift << "bold";
        QTest::newRow("Strg+Umschalt+K") << int(Qt::Key_K) << ctrlShift << "italic";
        QTest::newRow("Strg+E") << int(Qt::Key_E) << ctrl << "centred";
        QTest::newRow("Strg+R") << int(Qt::Key_R) << ctrl << "right";
        QTest::newRow("Strg+J") << int(Qt::Key_J) << ctrl << "justified";
    }
    void formatKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, format);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        fx.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fx.frame.get()));
        s->setFocus();
        QTest::keyClicks(s, QStringLiteral("Hallo Welt"));
        s->setSelStart(0);
        s->setSelLength(5);
        s->document()->clearUndoRedoStacks();
        QAction* undo = find(fx.frame.get(), QStringLiteral("Undo"));
        fx.frame->UpdateToolbar();
        QVERIFY(!undo->isEnabled());
        const auto state = [s, &format]() -> QString {
            if (format == u"bold")
                return s->FontBold() ? QStringLiteral("an") : QStringLiteral("aus");
            if (format == u"italic")
                return s->FontItalic() ? QStringLiteral("an") : QStringLiteral("aus");
            if (format == u"underline")
                return s->FontUnderline() ? QStringLiteral("an") : QStringLiteral("aus");
            return QString::number(s->Alignment());
        };
        const bool alignment = !format.startsWith(u"bold") && format != u"italic" && format != u"underline";
        const QString expected = format == u"centred" ? QStringLiteral("2")
                               : format == u"right"   ? QStringLiteral("1")
                               : format == u"justified" ? QStringLiteral("3")
                                                        : QStringLiteral("an");
        QCOMPARE(state(), alignment ? QStringLiteral("0") : QStringLiteral("aus"));
        QTest::keyClick(s, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(state(), expected);
        QCOMPARE(s->UndoKind(), 3);
        QVERIFY(w->DirtyFlag);
        QVERIFY(undo->isEnabled()); // the toolbar follows a change that kept the caret
        if (alignment)
            return;
        // "Welt" kept its look; a second press takes the format off again.
        s->setSelStart(6);
        s->setSelLength(4);
        QCOMPARE(state(), QStringLiteral("aus"));
        s->setSelStart(0);
        s->setSelLength(5);
        QTest::keyClick(s, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(state(), QStringLiteral("aus"));
    }

    void fontsButton()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        QAction* button = fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))
                              ->findChild<QAction*>(QStringLiteral("Schriften"));
        TextControl* target = nullptr;
        fx.prompts->answerExec([&target](QDialog* d) {
            if (auto* f = qobject_cast<frmFonts*>(d))
                target = f->document;
            return int(QDialog::Rejected);
        });
        button->trigger();
        QCOMPARE(target, w->surface());
    }

    void headerChangeMarksModified()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->DirtyFlag = false;
        fx.prompts->answerExec([](QDialog* d) {
            d->findChild<QLineEdit*>(QStringLiteral("txtHeader"))->setText(QStringLiteral("30"));
            QMetaObject::invokeMethod(d, "cmdOK_Click");
            return d->result();
        });
        find(fx.frame.get(), QStringLiteral("HeaderProperties"))->trigger();
        QCOMPARE(w->surface()->HeaderFooterDistance(1), 1701);
        QVERIFY(w->DirtyFlag);
    }

    // A right click opens the edit menu, on a selected image the image dialog.
    void rightClick()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        QTemporaryDir dir;
        const QString png = picture(dir);
        Q_EMIT s->MouseDown(Qt::RightButton, QPoint(5, 5));
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 0); // the edit menu instead
        QTRY_VERIFY(w->findChild<QMenu*>(QStringLiteral("mnuEdit"))->isVisible());
        s->setObjectSelected(s->ObjectInsertFixed(png, 100, 100));
        Q_EMIT s->MouseDown(Qt::RightButton, QPoint(5, 5));
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        for (QWidget* popup : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(popup))
                popup->hide();
    }

    // A picture is grasped by a click: "Grafik..." comes on, a right click on it opens
    // the image dialog.
    void clickOnAPicture()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
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
        fx.prompts->answerExec([](QDialog*) { return int(QDialog::Rejected); });
        QTest::mouseClick(s->viewport(), Qt::RightButton, {}, blue.center());
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.prompts->last().text, QStringLiteral("frmImageDlg"));
    }

    void colourCommands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QColor>("answer"); // invalid: cancelled
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("back");
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
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        s->setText(QStringLiteral("Farbe"));
        s->setSelStart(0);
        s->setSelLength(-1);
        s->setForeColor(Qt::black);
        fx.prompts->answerColour(answer.isValid() ? std::optional<QColor>(answer) : std::nullopt);
        find(w, item)->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("colour")), 1);
        QTEST(s->ForeColor(), "text");
        if (QFETCH(QColor, back); back.isValid())
            QCOMPARE(s->TextBkColor(), back);
    }
};

QTEST_MAIN(TstFormatMenus)
#include "tst_formatmenus.moc"
