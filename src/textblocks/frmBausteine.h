#pragma once
// The text block editor: shows, creates, changes and deletes the ten text blocks.
// Its block number is held as the window's tag text, so a caller can choose the
// block before showing the window.

#include "BlockWidgets.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;
class QTextEdit;
class QTimer;
struct AppState;

struct BausteineWidgets {
    BlockOptions options;
    QTextEdit* txtText;
    QListWidget* lstFonts;
    QComboBox* Combo1;     // font sizes
    QPushButton* Command1; // save
    QPushButton* Command4; // delete
    QPushButton* Command3; // close
    QTimer* Timer1;        // blinks the placeholder

    explicit BausteineWidgets(QDialog* window);
};

class frmBausteine : public QDialog {
    Q_OBJECT
public:
    static const QString Placeholder;
    static const QString BaseTitle;

    explicit frmBausteine(AppState& state, QWidget* parent = nullptr);
    ~frmBausteine() override;

    // The chosen block number as text; empty when none is chosen.
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    // The tag as a block number 1..10; 0 for none.
    int blockNumber() const;
    // Set by typing (and by a font choice), cleared by saving.
    bool changed() const { return m_changed; }
    QString blockName() const { return m_name; }
    const BausteineWidgets& controls() const { return m_w; }

public slots:
    void Form_Activate();
    void Option1_Click(int n);
    void Timer1_Timer();
    void txtText_Change();
    void lstFonts_Click();
    void Combo1_Click();
    void Command1_Click();
    void Command4_Click();
    void Command3_Click();

    // Escape and the title bar's close button go through "Schließen".
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Load();
    void loadBlock(int n);
    // Saves under the current number after asking for the name; false when nothing
    // was written.
    bool save();
    void showPlaceholder();
    void stopPlaceholder();
    void applyLetterFont();
    void setTextQuietly(const QString& text);
    void showFontChoice();
    void userChanged();

    AppState& m_state;
    BausteineWidgets m_w;
    QString m_tag;
    QString m_name;
    qint32 m_colour = 0;
    bool m_changed = false;
    bool m_suppressLoad = false;
    bool m_blinkSelected = false;
    bool m_loading = false;
    bool m_activated = false;
    bool m_closing = false;
};
