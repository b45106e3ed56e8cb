#pragma once
#include "Prompter.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <functional>

// A prompter that answers from queues and records every question. Used by tests
// (and anything headless): it never opens a window and never blocks.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString kind; // "message", "input", "password", "open", "save", "colour", "print", "exec"
        QString title;
        QString text;  // message text, input prompt, file filter, dialog class name or
                       // the print dialog's page limits ("1-3")
        Buttons buttons = QMessageBox::NoButton;
        Icon icon = Icon::None;
        QString folder;      // file choosers: initial folder
        QString defaultText; // input default or preset file name
    };

    // Everything asked so far, in order.
    QList<Asked> asked;
    // Questions that found an empty queue and got the default answer.
    int unanswered = 0;

    void answerMessage(Button b) { messages.enqueue(b); }
    void answerInput(std::optional<QString> a) { inputs.enqueue(std::move(a)); }
    void answerPassword(std::optional<QString> a) { passwords.enqueue(std::move(a)); }
    void answerOpenFile(const QString& path, int filterIndex = 1) { opens.enqueue({path, filterIndex}); }
    void answerSaveFile(const QString& path, int filterIndex = 1) { saves.enqueue({path, filterIndex}); }
    void answerColour(std::optional<QColor> c) { colours.enqueue(c); }
    void answerPrint(bool ok)
    {
        prints.enqueue([ok](QPrinter*) { return ok; });
    }
    // The function plays the user: it may change the printer (range, copies) and
    // returns whether the dialog was confirmed.
    void answerPrint(std::function<bool(QPrinter*)> f) { prints.enqueue(std::move(f)); }
    // The function gets the dialog (already constructed, not shown) and returns its result.
    void answerExec(std::function<int(QDialog*)> f) { execs.enqueue(std::move(f)); }

    const Asked& last() const { return asked.last(); }
    int count(const QString& kind) const;
    void clear();

    Button message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                   Icon icon) override;
    std::optional<QString> input(QWidget* owner, const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    // Recorded without its answer.
    std::optional<QString> password(QWidget* owner, const QString& title, const QString& prompt) override;
    FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& folder) override;
    FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& folder, const QString& defaultName) override;
    std::optional<QColor> colour(QWidget* owner, const QColor& initial) override;
    bool print(QWidget* owner, QPrinter* printer, const PrintOptions& options = {}) override;
    int exec(QDialog* dialog) override;

private:
    QQueue<Button> messages;
    QQueue<std::optional<QString>> inputs;
    QQueue<std::optional<QString>> passwords;
    QQueue<FileChoice> opens;
    QQueue<FileChoice> saves;
    QQueue<std::optional<QColor>> colours;
    QQueue<std::function<bool(QPrinter*)>> prints;
    QQueue<std::function<int(QDialog*)>> execs;
};
