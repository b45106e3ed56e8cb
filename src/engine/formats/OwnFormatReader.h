#pragma once
// Reads the own format's XML body. Elements of a newer version that this reader does
// not know are skipped; a missing body or a broken file is a German error.

#include "FormatIO.h"

class OwnFormatReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
