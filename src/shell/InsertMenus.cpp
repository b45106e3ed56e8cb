#include "InsertMenus.h"

#include "DocumentFiles.h"
#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "app/Prompter.h"
#include "engine/objects/Images.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"

#include <QDate>
#include <QDir>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QStandardPaths>

namespace InsertMenus {

namespace {

const int kPageNumberField = 3;

QString imageFolder() {
    // The pictures folder stands where the original looked at the first drive.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

// The hidden object items insert an empty object: a framed white box.
QImage emptyObject() {
    QImage img(96, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::gray);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

void insertEmptyObject(TextControl* s, bool movable) {
    QTextCursor c = s->textCursor();
    s->beginEditStep(UndoKindTracker::Typing);
    const int id = movable ? Images::insertFixed(c, emptyObject(), 1000, s->ScrollPosY() + 1000)
                           : Images::insertAsChar(c, emptyObject());
    s->endEditStep();
    if (id) {
        s->setTextCursor(c);
        s->viewport()->update();
    }
}

} // namespace

void insertImage(TextControl* s, QWidget* owner, bool movable) {
    const QString path = DocumentFiles::AskOpenName(
        owner, DocumentFiles::pictureFilter(), QStringLiteral("Grafik einfügen"), imageFolder());
    if (path.isEmpty())
        return;
    s->beginEditStep(UndoKindTracker::Typing);
    const int id = movable ? s->ObjectInsertFixed(path, 1000, s->ScrollPosY() + 1000, 100, 100)
                           : s->ObjectInsertAsChar(path, -1, 100, 100);
    s->endEditStep();
    if (!id)
        prompter().message(
            owner, QStringLiteral("Grafik einfügen"),
            QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(path) +
                QStringLiteral("\" ist kein lesbares Bild und wurde nicht eingefügt."),
            QMessageBox::Ok, Prompter::Icon::Exclamation);
}

void mnuInsert_Field_Click(TextControl* s, QWidget* owner) {
    const QString title = QStringLiteral("Felder anlegen");
    for (;;) {
        const auto name = prompter().input(
            owner, title,
            QStringLiteral(
                "Geben Sie einen Feldnamen ein!\rGültiger Feldname aus der Adressdatenbank z.B.: "
                "Vorname, Nachname usw..."));
        if (!name || name->isEmpty())
            return;
        s->beginEditStep(UndoKindTracker::Typing);
        s->FieldInsert(*name);
        s->setFieldData(s->FieldCurrent(), *name);
        s->setSelText(QStringLiteral("  "));
        s->endEditStep();
        if (prompter().message(owner, title, QStringLiteral("Wollen Sie weitere Felder anlegen?"),
                               QMessageBox::Yes | QMessageBox::No,
                               Prompter::Icon::Question) != QMessageBox::Yes)
            return;
    }
}

void mnuInsert_PageNumbers_Click(TextControl* s, QWidget* owner) {
    if (s->HeaderFooterSet() == 0) {
        prompter().message(
            owner, QStringLiteral("Seitenzahlen einfügen"),
            QStringLiteral("Seitenzahlen können nur in Kopf- und Fußzeilen eingefügt werden!\r"
                           "Siehe 'Menü - Ansicht - Kopf- und Fußzeilen'"),
            QMessageBox::Ok);
        return;
    }
    s->beginEditStep(UndoKindTracker::Typing);
    const int id = s->FieldInsert(QString());
    s->setFieldType(id, kPageNumberField);
    s->endEditStep();
}

void connect(frmMDIChild* w) {
    using MenuWiring::onTriggered;
    TextControl* s = w->surface();
    MenuWiring::onShow(w, QStringLiteral("mnuInsert"), [w] {
        MenuWiring::enable(w, QStringLiteral("mnuObject_Fixed"), true);
        MenuWiring::enable(w, QStringLiteral("mnuObject_Object"), true);
    });
    onTriggered(w, QStringLiteral("mnuInsert_ImageFixed"), [s, w] { insertImage(s, w, false); });
    onTriggered(w, QStringLiteral("mnuInsert_ImageObject"), [s, w] { insertImage(s, w, true); });
    onTriggered(w, QStringLiteral("mnuObject_Fixed"), [s] { insertEmptyObject(s, false); });
    onTriggered(w, QStringLiteral("mnuObject_Object"), [s] { insertEmptyObject(s, true); });
    onTriggered(w, QStringLiteral("mnuInsert_PageNumbers"),
                [s, w] { mnuInsert_PageNumbers_Click(s, w); });
    onTriggered(w, QStringLiteral("mnuInsert_Field"), [s, w] { mnuInsert_Field_Click(s, w); });
    onTriggered(w, QStringLiteral("mnuInsert_PageBreak"),
                [s] { s->setSelText(QString(QChar(12))); });
    onTriggered(w, QStringLiteral("mnuInsert_Date"), [s] {
        s->setSelText(QLocale().toString(QDate::currentDate(), QLocale::LongFormat));
    });
}

} // namespace InsertMenus
