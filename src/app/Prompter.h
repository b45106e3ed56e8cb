#pragma once
// Every question the program asks the user goes through the Prompter: message boxes,
// input boxes, file and colour choosers, the print dialog and modal windows. The
// program installs QtPrompter; tests install ScriptedPrompter and never block.

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

// Result of a file chooser: the path (empty when cancelled) and the 1-based index of
// the filter entry the user had chosen.
struct FileChoice {
    QString path;
    int filterIndex = 0;
    bool cancelled() const { return path.isEmpty(); }
};

// What the print dialog offers besides the printer itself.
struct PrintOptions {
    int minPage = 1;
    int maxPage = 9999;
    bool pageRange = true;  // "Seiten von ... bis"
    bool selection = false; // "Markierung"
    bool printToFile = true;
    bool collate = true;
};

class Prompter {
public:
    enum class Icon { None, Information, Question, Exclamation, Critical };
    using Buttons = QMessageBox::StandardButtons;
    using Button = QMessageBox::StandardButton;

    virtual ~Prompter() = default;

    // A message box; returns the button that was pressed (Cancel/Escape gives the
    // Cancel or No button when present).
    virtual Button message(QWidget* owner, const QString& title, const QString& text,
                           Buttons buttons = QMessageBox::Ok, Icon icon = Icon::None) = 0;

    // An input box; std::nullopt when cancelled.
    virtual std::optional<QString> input(QWidget* owner, const QString& title,
                                         const QString& prompt,
                                         const QString& defaultText = {}) = 0;

    // A password box: the typing is hidden and the answer is kept nowhere; std::nullopt
    // when cancelled.
    virtual std::optional<QString> password(QWidget* owner, const QString& title, const QString& prompt) = 0;

    // File choosers. `filter` is in the "description|pattern|description|pattern"
    // form; `defaultName` presets the name field.
    virtual FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder) = 0;
    virtual FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder, const QString& defaultName) = 0;

    // Colour chooser; std::nullopt when cancelled.
    virtual std::optional<QColor> colour(QWidget* owner, const QColor& initial) = 0;

    // The print dialog on `printer`, which takes the user's choices (printer, range,
    // copies, device settings); true when the user confirmed.
    virtual bool print(QWidget* owner, QPrinter* printer, const PrintOptions& options = {}) = 0;

    // Shows a window modally and returns its dialog result.
    virtual int exec(QDialog* dialog) = 0;
};

// The application's prompter. Never null: a QtPrompter is created on first use.
Prompter& prompter();
// Replaces the application's prompter (tests install a scripted one).
void setPrompter(std::unique_ptr<Prompter> p);

// Splits "desc|pat|desc|pat" into Qt's "desc (pat);;desc (pat)" name filter list.
QStringList qtNameFilters(const QString& filter);
