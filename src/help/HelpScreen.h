#pragma once
// A help screen: one picture of help text in a window the size of the picture. It
// closes on a click on the picture and on Escape; other keys do nothing.

#include <QDialog>

class QLabel;
class QScrollArea;

class HelpScreen : public QDialog {
    Q_OBJECT
public:
    // `picture` is a resource path; `border` widens the window around the picture, in
    // twips on each of the right and bottom sides.
    HelpScreen(const QString& objectName, const QString& caption, const QString& picture,
               int borderTwips, QWidget* parent = nullptr);

    QLabel* Picture1;

    // Sizes the window to the picture and puts the picture at the top left corner.
    void Form_Activate();

public Q_SLOTS:
    void Picture1_Click();

protected:
    // A click anywhere in the window, not only on the picture, closes it.
    void closeOnWindowClick();
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QScrollArea* m_scroll;
    int m_border;
    bool m_closeOnWindowClick = false;
};
