#pragma once
// The frame's formatting bar for the editing surface: font family, size, bold,
// italic, underline and the four alignments. It shows the attributes at the tied
// surface's input position and applies changes to it.

#include <QToolBar>
#include <functional>

class SurfaceFollower;
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
    TextControl* textControl() const;

    void refresh();

private:
    QToolButton* addButton(const char* name, const QString& tip, const QIcon& icon, bool exclusive);
    void apply(const std::function<void(TextControl*)>& change);

    SurfaceFollower* m_follower;
    QFontComboBox* m_font;
    QComboBox* m_size;
    QToolButton* m_bold;
    QToolButton* m_italic;
    QToolButton* m_underline;
    QToolButton* m_align[4];
};
