#pragma once
// What the command-line modes share: an application without a display, a prompter
// that never waits, the work folder and the address database as the program finds
// them at start, and output that appears at once.

#include <QString>
#include <memory>

class QGuiApplication;
class ScriptedPrompter;

namespace HeadlessRun {

// Writes `text` to stdout or stderr at once.
void print(bool toStderr, const QString& text);

// The application the command-line modes need, offscreen unless a platform is set;
// null when one exists already. With `widgets` it is a QApplication.
std::unique_ptr<QGuiApplication> application(bool widgets);

// Installs a prompter that records every question instead of asking it: nothing may
// wait for an answer. Returned so the caller can report what was asked.
ScriptedPrompter* quietPrompter();

// Forms the work folder and sets the address database: `database` when given (it
// must exist), else the one the program would find at start. False with a German
// text (the questions the search would have asked, if any) otherwise.
bool prepareDatabase(const QString& database, const ScriptedPrompter& asked, QString* error);
// The value of --database: a server address as given, a file as an absolute path.
QString databaseArgument(const QString& value);

// Reads the value of --block into `block` (0 = none, 1 to 10); the German error text
// when it is no such number, else an empty text.
QString readBlockNumber(const QString& value, int* block);

} // namespace HeadlessRun
