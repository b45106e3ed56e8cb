#pragma once
// PDF export of a Document through the Paginator (fonts embedded by QPdfWriter).

#include <QBuffer>
#include <QList>
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
    // The same for a Document::paintingCopy(), whose body is laid out in place.
    bool addCopy(Document& copy, QString* error);
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

// Many documents, each to its own PDF file, painted through one writer so that each
// font is subset and embedded once for all of them (Qt does that once per writer, and
// it cost more than the painting); the files are cut apart at the end, each with its
// own copy of the fonts it uses. Everything is held in memory until then.
class Files {
public:
    Files();
    ~Files();
    bool add(const Document& doc, QString* error);
    bool addCopy(Document& copy, QString* error);
    // One file per document added, in order. False (`files` empty) when the pages
    // could not be cut apart; the documents are then best written one by one.
    bool finish(QList<QByteArray>* files, QString* error);
    int documents() const { return int(m_pageCounts.size()); }
    qint64 bytes() const { return m_bytes.size(); }
    // Time to finish this group and start another (memory stays bounded).
    bool full() const { return documents() >= 500 || bytes() >= 32 * 1024 * 1024; }

private:
    bool counted(bool added, int pagesBefore);

    QByteArray m_bytes;
    QBuffer m_buffer;
    Stream m_stream;
    QList<int> m_pageCounts;
};

} // namespace PdfExport
