#pragma once
// OpenDocument text files (.odt).

#include "engine/formats/FormatIO.h"

class OdtWriter : public FormatWriter {
public:
    bool write(const Document& doc, const WriteOptions& options, QByteArray* out, QString* error) override;

private:
    QString m_partStyles;
};
