#pragma once
// The main frame's start: the folders and the address database when it loads, and the
// first document when it is first activated.

#include <QString>

struct AppState;
class frmMDIParent;

namespace FrameStart {

// Sets the folders, cleans up saves an earlier run left unfinished and locates the
// address database. False when there is none: the message has been shown and the
// program must end.
bool prepare(AppState& app);

// The document named on `commandLine` (a relative path is taken in `startFolder`);
// else the letter composer in `WorkFolder`, or an empty window when "Kontorix.txt"
// says "noBrief".
void openFirstDocument(frmMDIParent* frame, const QString& commandLine, const QString& startFolder);

} // namespace FrameStart
