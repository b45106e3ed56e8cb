#pragma once
// The counts of the statistics window, computed from a plain-text image of the
// document: one line per paragraph (every paragraph of a table cell is a line of its
// own), paragraphs separated by a line feed, manual line breaks written as a carriage
// return. The image is text, not bytes, so umlauts and ß are one character each.

#include <QString>

class QTextDocument;
class TextControl;

namespace DocumentStatistics {

struct Counts {
    int pages = 0;
    int words = 0;
    int charsNoSpaces = 0; // "Zeichen (ohne Leerzeichen):"
    int chars = 0;         // "Zeichen mit Leerzeichen):"
    int paragraphs = 0;
    int lines = 0;
};

// The image of `doc` (objects such as images are left out).
QString plainImage(const QTextDocument& doc);

// Words of an image: a word starts with a character from the blank (32) up that follows
// a blank, a carriage return or a line feed. A tab is no separator, so a word behind a
// tab belongs to the word before it.
int countWords(const QString& image);

// Characters as the engine counts them: everything in the image but carriage returns.
int engineCharacters(const QString& image);

// Words, characters and paragraphs of the image; pages and lines come from the layout.
Counts fromImage(const QString& image, int pages, int lines);

// Laid-out lines of a document's body, table cells included.
int layoutLines(const QTextDocument& doc);

// Every count of the surface: pages and lines as printed.
Counts of(TextControl& surface);

} // namespace DocumentStatistics
