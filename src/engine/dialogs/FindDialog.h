#pragma once
// The modeless search dialog "Suchen" and its replace variant "Ersetzen" of one
// editing surface. The search itself is SearchEngine's; messages go through prompter().

#include "engine/surface/SearchEngine.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TextControl;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(TextControl* surface, bool replaceMode);

    void setReplaceMode(bool on);
    bool replaceMode() const { return m_replaceMode; }
    SearchOptions options() const;

    // The buttons' actions; each returns whether something was found or replaced.
    bool findNext();
    bool replaceCurrent();
    int replaceAll();

private:
    void updateButtons();
    void notFound();

    TextControl* m_surface;
    bool m_replaceMode = false;
    QLineEdit* m_what;
    QLabel* m_withLabel;
    QLineEdit* m_with;
    QCheckBox* m_case;
    QCheckBox* m_words;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
    QPushButton* m_replace;
    QPushButton* m_replaceAll;
    QPushButton* m_cancel;
};
