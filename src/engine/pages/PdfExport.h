#pragma once
// PDF export of a Document through the Paginator (fonts embedded by QPdfWriter).

#include <QString>

#include <memory>

class Document;
class QIODevice;
class QPainter;
class QPdfWriter;
class Paginator;

namespace PdfExport {

bool exportPdf(const Document& doc, QIODevice* device, QString* error);
bool exportPdf(const Document& doc, const QString& path, QString* error);

// Many documents into one PDF, one after the other, each starting on a new page.
// Pages go to the device as they are painted, so a long run does not grow in memory;
// fonts are embedded once for the whole file.
class Stream {
public:
    explicit Stream(QIODevice* device);
    ~Stream();
    // Paints every page of `doc`; false when the device cannot be written.
    bool add(const Document& doc, QString* error);
    // The same through a paginator that has the document laid out already (a
    // surface's own in layout view), so nothing is laid out twice.
    bool add(Paginator& pages, QString* error);
    // Writes the end of the file; the stream takes no more documents.
    bool finish(QString* error);
    int pageCount() const { return m_pages; }

private:
    QIODevice* m_device;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

} // namespace PdfExport
