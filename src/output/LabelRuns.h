#pragma once
// The three label runs of the address picker: the current address on all 24 labels of
// a template, one label per chosen address from the start position, and the editable
// label table without template. Opening documents belongs to the shell, which hands
// its operations in.

#include "addresses/AdressenAuswaehlen.h"
#include "output/LabelFill.h"

#include <functional>

class TextControl;
struct AppState;

namespace LabelRuns {

struct ShellOps {
    // Opens an own-format file as a new document window; its surface, null on failure.
    std::function<TextControl*(QString& path)> loadDocument;
    // The surface of the active document window; null without one.
    std::function<TextControl*()> activeSurface;
    // A new empty "Unbenannt" window's surface.
    std::function<TextControl*()> newDocument;
};

// The picker's current address.
LabelAddress currentAddress(AdressenAuswaehlen& picker);

// Opens `file` from the work folder as a label sheet titled "Etiketten" without file
// name. A missing template is reported; then nothing is opened. Returns the surface of
// the new window, null when none was opened.
TextControl* openLabelTemplate(AppState& app, const QString& file, QWidget* owner, const ShellOps& shell);

// Runs `run` for the picker's current state. The picker closes itself afterwards.
void run(AdressenAuswaehlen& picker, AdressenAuswaehlen::LabelRun run, AppState& app, const ShellOps& shell);

} // namespace LabelRuns
