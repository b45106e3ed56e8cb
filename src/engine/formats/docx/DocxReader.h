#pragma once
// Word documents (WordprocessingML packages, .docx).

#include "engine/formats/FormatIO.h"

class DocxReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
