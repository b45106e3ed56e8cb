#pragma once
// Plain text: UTF-8 with or without BOM, else Windows-1252; CR LF, LF and CR all end
// a line. Binary data (NUL bytes) is refused.

#include "FormatIO.h"

class PlainTextReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
