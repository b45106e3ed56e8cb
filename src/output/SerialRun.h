#pragma once
// The three runs of the mail merge, without the window: every chosen letter as a
// document window of its own, all letters printed one after the other through one
// document, or every letter on the letterhead template. The document windows belong
// to the shell, which hands its operations over as a SerialHost.

#include "SerialLetter.h"

#include <QList>
#include <QString>
#include <functional>

class TextControl;
struct AppState;

struct SerialDocument {
    TextControl* surface = nullptr;
    QString caption;
};

struct SerialHost {
    // A new empty "Unbenannt" document window that becomes the active one.
    std::function<SerialDocument()> newDocument;
    // Loads `path` as a new document window captioned "Unbenannt". When it cannot be
    // loaded, the letter goes into the active document window (a new one without).
    std::function<SerialDocument(const QString& path)> openTemplate;
    // The frame's print setup: shows the print dialog and sets PrintCancelled.
    std::function<void()> printSetup;
    // Prints page 1 of the document, one copy, under its caption.
    std::function<bool(const SerialDocument&)> printFirstPage;
};

class SerialRun {
public:
    // Makes the address of left-list entry `row` the current one and returns what its
    // letter is written from.
    using InputFor = std::function<ComposerInput(int row)>;

    SerialRun(AppState& app, SerialHost host, SerialLetter::CommonText text, SerialLetter::Options options,
              InputFor inputFor);

    void openAsDocuments(const QList<int>& rows);
    // One document for the run; the print dialog comes once, before the first letter
    // is printed. The document is emptied between letters and ends with the last one.
    // `pause` is called with `seconds` after every letter but the last; when it
    // returns false the run stops there.
    void print(const QList<int>& rows, int seconds, const std::function<bool(int)>& pause);
    void onTemplate(const QList<int>& rows, const QString& templatePath);

    int printed() const { return m_printed; }

private:
    AppState& m_app;
    SerialHost m_host;
    SerialLetter::CommonText m_text;
    SerialLetter::Options m_options;
    InputFor m_inputFor;
    int m_printed = 0;
};
