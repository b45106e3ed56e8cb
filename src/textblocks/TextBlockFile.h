#pragma once
// The ten stored text blocks: "bst" + N + ".ndr" in the work folder, one written
// record of nine fields each (text, font, size, four styles, colour, name).

#include <QString>
#include <optional>

struct TextBlock {
    QString Text;
    QString FontName;
    double FontSize = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethru = false;
    qint32 Colour = 0; // red + 256 * green + 65536 * blue
    QString Name;
};

namespace TextBlockFile {

constexpr int Count = 10;

// The file of block `n` in `workFolder`; empty for a number outside 1..10 (block 0
// means "no text block" and never has a file).
QString path(const QString& workFolder, int n);
bool exists(const QString& workFolder, int n);
// Missing, unreadable or incomplete files give no block.
std::optional<TextBlock> read(const QString& workFolder, int n);
// Replaces the file of block `n`; false when it could not be written.
bool write(const QString& workFolder, int n, const TextBlock& block);
bool remove(const QString& workFolder, int n);

// The caption of option button `n`: the block's name, or "Textbaustein N" when the
// block is missing, unreadable or unnamed.
QString caption(const QString& workFolder, int n);

// Surface colour number from a QColor and back (system colours are not kept).
qint32 colourNumber(int red, int green, int blue);
void colourParts(qint32 number, int* red, int* green, int* blue);

} // namespace TextBlockFile
