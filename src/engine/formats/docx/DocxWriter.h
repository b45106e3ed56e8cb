#pragma once
// Word documents (WordprocessingML packages, .docx).

#include "engine/formats/FormatIO.h"

class DocxWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out, QString* error) override;
};
