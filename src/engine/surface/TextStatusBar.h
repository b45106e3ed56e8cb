#pragma once
// The frame's status bar for the editing surface: panels "Seite", "Zeile" and
// "Spalte" with the input position of the tied surface.

#include <QStatusBar>

class QLabel;
class SurfaceFollower;
class TextControl;

class TextStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TextStatusBar(QWidget* parent = nullptr);

    // nullptr when no document is active.
    void setTextControl(TextControl* surface);
    TextControl* textControl() const;

    // Refreshes the panels now (normally done once per burst of changes).
    void refresh();

private:
    SurfaceFollower* m_follower;
    QLabel* m_page;
    QLabel* m_line;
    QLabel* m_column;
};
