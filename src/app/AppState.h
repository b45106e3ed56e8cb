#pragma once
// Application-wide values: set at start or by one window, read by many. They live
// for the whole run and are not persisted.

#include <QString>
#include <array>

struct AppState {
    // Folders, each ending in "/".
    QString ProgramFolder;
    QString WorkFolder;
    QString AddressFolder;
    QString AddressDbPath;

    QString StartOption; // first item of "Kontorix.txt"; empty without the file
    QString CommandFile; // the command line without double quotes
    QString DefaultFileName; // name offered by the save dialogs

    bool RunsFromRemovable = false;
    // While set, editing-surface notifications do not refresh the toolbar.
    bool ToolbarRefreshOff = false;
    // The next document load makes a label sheet.
    bool LabelMode = false;

    // The one letter input record.
    std::array<QString, 42> LetterText;
    std::array<bool, 15> LetterFlags{};
    bool LetterCancelled = false;
    bool UseOwnTemplate = false;

    // Print settings written by the print setup.
    int PrintCopies = 1;
    int PrintFromPage = 1;
    int PrintToPage = 1;
    int PrintPage = 1;
    bool PrintCancelled = false;
};

AppState& appState();
