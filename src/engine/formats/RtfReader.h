#pragma once
// Reads RTF: a tokenizer feeds a table of control-word handlers working on a stack
// of group states. Unknown destinations marked \* are skipped; nesting is capped.

#include "FormatIO.h"

#include <memory>

class RtfReader : public FormatReader {
public:
    static constexpr int MaxDepth = 1000;
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
