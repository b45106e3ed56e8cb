#pragma once
// The frame's formatting bar for the editing surface: font family, size, bold,
// italic, underline and the four alignments. It shows the attributes at the tied
// surface's input position and applies changes to it.

#include <QPointer>
#include <QToolBar>

class QComboBox;
class QFontComboBox;
class QToolButton;
class TextControl;

class TextButtonBar : public QToolBar {
    Q_OBJECT
public:
    explicit TextButtonBar(QWidget* parent = nullptr);

    // nullptr when no document is active (the bar is then disabled).
    void setTextControl(TextControl* surface);
    TextControl* textControl() const { return m_surface; }

    void refresh();

private:
    void scheduleRefresh();
    QToolButton* addButton(const char* name, const QString& tip, const QIcon& icon, bool exclusive);
    void done();

    QPointer<TextControl> m_surface;
    QList<QMetaObject::Connection> m_connections;
    QFontComboBox* m_font;
    QComboBox* m_size;
    QToolButton* m_bold;
    QToolButton* m_italic;
    QToolButton* m_underline;
    QToolButton* m_align[4];
    bool m_pending = false;
};
