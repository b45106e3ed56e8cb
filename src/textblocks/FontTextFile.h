#pragma once
// "FontText.txt" in the work folder: the letter text's font name and size, one written
// record of two quoted texts. The composer keeps it; the block editor starts new text
// in that font.

#include <QString>

struct LetterTextFont {
    QString Name;
    QString Size; // as written; callers take its leading number
};

namespace FontTextFile {

// Nothing when the file is missing, unreadable or holds no size.
bool read(const QString& workFolder, LetterTextFont* font);
// False when the file could not be written.
bool write(const QString& workFolder, const LetterTextFont& font);

} // namespace FontTextFile
