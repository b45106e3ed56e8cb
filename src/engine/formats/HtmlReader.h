#pragma once
// Reads HTML through Qt's importer (inline styles and embedded <style> rules);
// pictures given as data: URLs become image resources of the document.

#include "FormatIO.h"

class HtmlReader : public FormatReader {
public:
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;
};
