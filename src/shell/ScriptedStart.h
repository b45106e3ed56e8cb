#pragma once
// Hooks for tests that run the whole program as a child process, where nothing can reach
// into it: QX_TEXT_SCRIPTED_ANSWERS ("Ja,Nein,Abbrechen,OK") answers the message boxes
// in that order without showing them; QX_TEXT_SCRIPTED_TYPING types its text key by key
// into the active document window once the first one is open and then prints
// "QX_TEXT_SCRIPTED_TYPING: fertig" on standard output. Without the variables
// nothing changes.

#include <QList>
#include <QMessageBox>
#include <QString>

namespace ScriptedStart {

void install();

// "Ja,Nein" gives Yes, No; unknown words are skipped.
QList<QMessageBox::StandardButton> answersFrom(const QString& list);

} // namespace ScriptedStart
