#pragma once
// Writes the own format's XML body (format 3 after the page header, and format 10
// standing alone). docs/own-format.md describes the elements.

#include "FormatIO.h"

class OwnFormatWriter : public FormatWriter {
public:
    // 2: tab stops count from where a paragraph's first line starts.
    static constexpr int Version = 2;
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
};
