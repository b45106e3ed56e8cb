#pragma once
// Writes RTF 1.x that Word and LibreOffice read: font and colour tables, a list
// table, page settings, header/footer parts, paragraphs, tables, hyperlink fields
// and PNG/JPEG pictures. Text outside code page 1252 goes out as \uN.

#include "FormatIO.h"

class RtfWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
};
