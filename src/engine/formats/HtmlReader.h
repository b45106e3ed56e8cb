#pragma once
// Reads HTML through Qt's importer (inline styles and embedded <style> rules);
// pictures given as data: URLs become image resources of the document.

#include "FormatIO.h"

#include <QString>

class HtmlReader : public FormatReader {
public:
    // Folder that relative links (a linked style sheet, picture files) are taken from.
    void setBaseFolder(const QString& folder) { m_baseFolder = folder; }
    bool sniff(const QByteArray& data) const override;
    bool read(const QByteArray& data, Document& into, QString* error) override;

private:
    QString m_baseFolder;
};
