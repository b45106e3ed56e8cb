#pragma once
// Plain text: UTF-8, UTF-16 or UTF-32 with a byte-order mark, else UTF-8 or
// Windows-1252; CR LF, LF and CR all end a line. NUL characters are dropped (a note
// says so).

#include "FormatIO.h"

class PlainTextReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
