#include "FrameStart.h"

#include "DocumentFiles.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "addresses/LocateAddressDatabase.h"
#include "app/AppState.h"
#include "app/Folders.h"
#include "app/SafeSave.h"

#include <QDir>
#include <QFileInfo>

namespace FrameStart {

bool prepare(AppState& app)
{
    const QString programFolder = Folders::programFolder();
    const bool removable = Folders::isOnRemovableDevice(programFolder);
    Folders::prepare(app, programFolder, removable, Folders::homeFolder());
    // A save the last run did not finish may have left a temporary or half-written file.
    SafeSave::setJournalFile(QDir(app.WorkFolder).filePath(QStringLiteral(".speichern-offen")));
    SafeSave::cleanUpInterruptedSaves();
    return LocateAddressDatabase(app, app.RunsFromRemovable, QString());
}

void openFirstDocument(frmMDIParent* frame, const QString& commandLine, const QString& startFolder)
{
    AppState& app = appState();
    if (!commandLine.isEmpty()) {
        app.CommandFile = Folders::commandFileFrom(commandLine);
        // A relative path names a file of the folder the program was started in.
        QString file = app.CommandFile;
        if (QFileInfo(file).isRelative())
            file = QDir(startFolder).filePath(file);
        if (Folders::fileExists(file)) {
            frmMDIChild::NewDocument();
            DocumentFiles::OpenDocument(file);
            return;
        }
    }
    QDir::setCurrent(app.WorkFolder);
    app.StartOption = Folders::readStartOption(app.WorkFolder, app.ProgramFolder);
    if (app.StartOption != QLatin1String("noBrief"))
        frame->sharedWindow()->mnuBrief_Click();
    else
        frmMDIChild::NewDocument();
}

} // namespace FrameStart
