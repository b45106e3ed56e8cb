#pragma once
// PDF export of a Document through the Paginator (fonts embedded by QPdfWriter).

#include <QString>

class Document;
class QIODevice;

namespace PdfExport {

bool exportPdf(const Document& doc, QIODevice* device, QString* error);
bool exportPdf(const Document& doc, const QString& path, QString* error);

} // namespace PdfExport
