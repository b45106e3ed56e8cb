#pragma once
#include "Prompter.h"

// The real prompter: Qt's message boxes, input dialogs and standard choosers.
class QtPrompter : public Prompter {
public:
    Button message(QWidget* owner, const QString& title, const QString& text, Buttons buttons,
                   Icon icon) override;
    std::optional<QString> input(QWidget* owner, const QString& title, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> password(QWidget* owner, const QString& title, const QString& prompt) override;
    FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& folder) override;
    FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& folder, const QString& defaultName) override;
    std::optional<QColor> colour(QWidget* owner, const QColor& initial) override;
    bool print(QWidget* owner, QPrinter* printer, const PrintOptions& options = {}) override;
    int exec(QDialog* dialog) override;
};
