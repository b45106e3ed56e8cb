#pragma once
// PDF is drawn page by page by the paginator; this writer only collects the bytes.

#include "FormatIO.h"

class PdfWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
};
