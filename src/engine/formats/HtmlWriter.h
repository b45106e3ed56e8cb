#pragma once
// Writes HTML in one of three style-sheet modes: inline style attributes (0), an
// embedded <style> element with classes (1) or a linked style-sheet file (2, the
// sheet goes to WriteOptions::styleSheetOut). The same rules make the CSS format.

#include "FormatIO.h"

#include <QStringList>

class HtmlWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
    // The class rules of the document, as written in modes 1 and 2.
    static QString styleSheet(const Document& doc);
};
