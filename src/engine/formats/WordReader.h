#pragma once
// Word documents: only the RTF kind (what this program writes under .doc) can be read.

#include "RtfReader.h"

class WordReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override { return RtfReader().sniff(data); }
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
