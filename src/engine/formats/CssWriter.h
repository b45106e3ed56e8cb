#pragma once
// The document's styles as a style sheet: the same class rules the HTML writer
// embeds or links.

#include "FormatIO.h"

class CssWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
};
