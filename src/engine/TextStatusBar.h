#pragma once
// The frame's status bar for the editing surface: panels "Seite", "Zeile" and
// "Spalte" with the input position of the tied surface.

#include <QPointer>
#include <QStatusBar>

class QLabel;
class TextControl;

class TextStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TextStatusBar(QWidget* parent = nullptr);

    // nullptr when no document is active.
    void setTextControl(TextControl* surface);
    TextControl* textControl() const { return m_surface; }

    // Refreshes the panels now (normally done once per burst of changes).
    void refresh();

private:
    void scheduleRefresh();

    QPointer<TextControl> m_surface;
    QList<QMetaObject::Connection> m_connections;
    QLabel* m_page;
    QLabel* m_line;
    QLabel* m_column;
    bool m_pending = false;
};
