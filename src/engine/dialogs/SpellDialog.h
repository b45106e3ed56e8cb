#pragma once
// "Rechtschreibung": walks the misspelt words of a document one by one, from the caret
// to the end and on from the beginning back to the caret. Each change is one undo
// step. Messages go through prompter(), so the walk runs headless as well.

#include <QDialog>
#include <QTextCursor>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SpellChecker;
class TextControl;

class SpellDialog : public QDialog {
    Q_OBJECT
public:
    // `checkerFor` gives the checker of a language ("de_DE", ...); null when none is installed.
    using CheckerSource = std::function<SpellChecker*(const QString& language)>;
    SpellDialog(TextControl* surface, CheckerSource checkerFor, QWidget* parent = nullptr);

    // Opens the dialog on the first error from the caret, or only says that there is none.
    static void run(TextControl* surface, const CheckerSource& checkerFor, QWidget* parent);

    // The word shown, and the sentence it stands in; empty once the walk is over.
    QString word() const;
    QString sentence() const { return m_sentenceText; }
    QStringList suggestions() const;
    // The replacement "Ändern" uses; a suggestion picked in the list lands here.
    void setReplacement(const QString& text);

    // The document's language, as the dialog's list offers it; a change checks again
    // from the word shown.
    void setLanguage(const QString& language);

    // Moves to the next error; false (and the closing message) when none is left.
    bool findNext();
    void change();
    void changeAll();
    void ignore();
    void ignoreAll();
    void addWord();

private:
    SpellChecker* checker() const;
    void showWord();
    void finish();
    void refreshMarks();

    TextControl* m_surface;
    CheckerSource m_checkerFor;
    QTextCursor m_word;  // selects the word shown
    QTextCursor m_from;  // where the walk goes on
    QTextCursor m_stop;  // the caret at the start; the walk ends here after wrapping
    bool m_wrapped = false;
    bool m_done = false;
    QString m_sentenceText;

    QComboBox* m_language;
    QLabel* m_sentence;
    QLineEdit* m_replacement;
    QListWidget* m_offers;
    QPushButton* m_change;
    QPushButton* m_changeAll;
};
