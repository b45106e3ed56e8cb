#pragma once
// Controls both text block windows share: the frame "Textbausteine" with the option
// buttons Option1(0..10), and showing a block in the text box in its own font.

#include "TextBlockFile.h"

#include <QFont>
#include <QList>
#include <functional>

class QGroupBox;
class QObject;
class QRadioButton;
class QTextEdit;
class QWidget;

struct BlockOptions {
    QGroupBox* frame;
    QList<QRadioButton*> Option1; // 0 = no text block, 1..10 the blocks

    BlockOptions();
    // Captions of 1..10 from the block files in `workFolder`.
    void setCaptions(const QString& workFolder);
    // The first chosen button among 1..10; 0 when none is.
    int firstChosen() const;
    // Calls `chosen(n)` whenever button n becomes the chosen one, by a click or by
    // the program.
    void onChosen(QObject* context, const std::function<void(int)>& chosen) const;
};

namespace BlockView {

// The text box of both windows: plain text only, so its one font is the block's font.
QTextEdit* makeText(QWidget* owner);
// The font a block is shown in; an empty name gives Arial.
QFont fontOf(const TextBlock& b);
// Shows font, colour and text of `b` (text as the file keeps it).
void show(QTextEdit* box, const TextBlock& b);
void setFont(QTextEdit* box, const QFont& f);
void setColour(QTextEdit* box, qint32 number);

} // namespace BlockView
