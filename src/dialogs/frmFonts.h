#pragma once
// The font browser: every installed font on a sample text, in the chosen size; the
// chosen font and size go to the selection of the document it was opened for.

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;
class TextControl;

class frmFonts : public QDialog {
    Q_OBJECT
public:
    explicit frmFonts(QWidget* parent = nullptr);

    // Shows the browser modally for the document's surface (may be null: then
    // "Schrift ... übernehmen" has nothing to apply to).
    static void browse(TextControl* document, QWidget* parent = nullptr);

    // The surface whose selection receives the font.
    TextControl* document = nullptr;

    QListWidget* lstFonts;
    QComboBox* Combo1;
    TextControl* TXTextControl1; // the sample
    QPushButton* Command1;
    QPushButton* Command2;

    // The sample's four lines.
    static QString sampleText();

public Q_SLOTS:
    void Form_Load();
    void Form_Activate();
    void lstFonts_Click();
    void Combo1_Click();
    void TXTextControl1_MouseDown(Qt::MouseButton button);
    void Command1_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // Applies `apply` to the whole sample and collapses the selection again.
    template <typename F>
    void formatWholeSample(F apply);

    bool m_activated = false;
};
