#include "ScriptedStart.h"

#include "frmMDIChild.h"
#include "frmMDIParent.h"
#include "app/ScriptedPrompter.h"
#include "engine/surface/TextControl.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>

namespace ScriptedStart {

QList<QMessageBox::StandardButton> answersFrom(const QString& list)
{
    QList<QMessageBox::StandardButton> out;
    for (const QString& word : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString w = word.trimmed().toLower();
        if (w == u"ja")
            out << QMessageBox::Yes;
        else if (w == u"nein")
            out << QMessageBox::No;
        else if (w == u"abbrechen")
            out << QMessageBox::Cancel;
        else if (w == u"ok")
            out << QMessageBox::Ok;
    }
    return out;
}

static void typeInto(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        const int key = c == QLatin1Char('\n') ? int(Qt::Key_Return) : int(c.toUpper().unicode());
        const QString t = c == QLatin1Char('\n') ? QStringLiteral("\r") : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, t);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, t);
        QCoreApplication::sendEvent(target, &release);
    }
}

void install()
{
    if (qEnvironmentVariableIsSet("QX_TEXT_SCRIPTED_ANSWERS")) {
        auto p = std::make_unique<ScriptedPrompter>();
        for (auto b : answersFrom(qEnvironmentVariable("QX_TEXT_SCRIPTED_ANSWERS")))
            p->answerMessage(b);
        setPrompter(std::move(p));
    }
    const QString text = qEnvironmentVariable("QX_TEXT_SCRIPTED_TYPING");
    if (text.isEmpty())
        return;
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
        frmMDIParent* frame = frmMDIParent::instance();
        frmMDIChild* w = frame && frame->firstActivationDone() ? frame->activeDocument() : nullptr;
        if (!w)
            return;
        poll->stop();
        poll->deleteLater();
        typeInto(w->surface(), text);
        // The test waits for this line before it acts on the typed text.
        std::fputs("QX_TEXT_SCRIPTED_TYPING: fertig\n", stdout);
        std::fflush(stdout);
    });
    poll->start(100);
}

} // namespace ScriptedStart
