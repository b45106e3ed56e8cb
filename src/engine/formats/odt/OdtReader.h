#pragma once
// OpenDocument text files (.odt).

#include "engine/formats/FormatIO.h"

class OdtReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
