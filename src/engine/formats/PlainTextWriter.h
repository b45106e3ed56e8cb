#pragma once
// Plain text: UTF-8 without BOM, lines ended by CR LF. Table rows become lines with
// their cells separated by tabs; images are left out.

#include "FormatIO.h"

class PlainTextWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
               QString* error) override;
};
