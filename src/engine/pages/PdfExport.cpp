#include "PdfExport.h"

#include "app/SafeSave.h"
#include "engine/Document.h"
#include "Paginator.h"
#include "engine/spelling/AutoHyphens.h"
#include "PdfSplitter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace PdfExport {

namespace {

bool cannotWrite(QString* error)
{
    if (error)
        *error = QStringLiteral("Die PDF-Datei kann nicht geschrieben werden.");
    return false;
}

QPageSize pageSize(const PageGeometry& g)
{
    return QPageSize(QSizeF(g.width / 20.0, g.height / 20.0), QPageSize::Point);
}

} // namespace

Stream::Stream(QIODevice* device) : m_device(device) {}

Stream::~Stream()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool Stream::add(const Document& doc, QString* error)
{
    // The paginator only reads the document; it needs a non-const one for its signals.
    Paginator pages(const_cast<Document*>(&doc), Paginator::DoesNotChange);
    return add(pages, error);
}

bool Stream::addCopy(Document& copy, QString* error)
{
    Paginator pages(&copy, Paginator::PaintingCopy);
    return add(pages, error);
}

bool Stream::add(Paginator& pages, QString* error)
{
    if (!m_device || !m_device->isWritable())
        return cannotWrite(error);
    pages.document()->hyphens()->settle();
    const PageGeometry g = pages.pageGeometry(1);
    if (!m_writer) {
        m_writer = std::make_unique<QPdfWriter>(m_device);
        m_writer->setCreator(QStringLiteral("Textverarbeitung"));
        m_writer->setPageSize(pageSize(g));
        m_writer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        m_writer->setResolution(1200);
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_writer.get()))
            return cannotWrite(error);
    } else if (!m_painter->isActive()) {
        return cannotWrite(error);
    } else {
        // A page size set before newPage() applies to the page it starts.
        m_writer->setPageSize(pageSize(g));
    }
    const double scale = m_writer->resolution() / 96.0;
    const int count = pages.pageCount();
    for (int page = 1; page <= count; ++page) {
        // Sections bring pages of their own size and orientation.
        if (page > 1)
            m_writer->setPageSize(pageSize(pages.pageGeometry(page)));
        if (m_pages > 0)
            m_writer->newPage();
        m_painter->save();
        m_painter->scale(scale, scale);
        pages.paintPage(m_painter.get(), page);
        m_painter->restore();
        ++m_pages;
    }
    return true;
}

bool Stream::finish(QString* error)
{
    if (!m_painter)
        return cannotWrite(error);
    if (m_painter->isActive())
        m_painter->end();
    return true;
}

bool exportPdf(const Document& doc, QIODevice* device, QString* error)
{
    Stream stream(device);
    return stream.add(doc, error) && stream.finish(error);
}

bool exportPdf(const Document& doc, const QString& path, QString* error)
{
    // The PDF writer does not report failed device writes, so the file is made in
    // memory and saved in one checked step.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!exportPdf(doc, &buffer, error))
        return false;
    buffer.close();
    return SafeSave::saveFile(path, bytes, error);
}

Files::Files() : m_buffer(&m_bytes), m_stream(&m_buffer)
{
    m_buffer.open(QIODevice::WriteOnly);
}

Files::~Files() = default;

bool Files::add(const Document& doc, QString* error)
{
    const int before = m_stream.pageCount();
    return counted(m_stream.add(doc, error), before);
}

bool Files::addCopy(Document& copy, QString* error)
{
    const int before = m_stream.pageCount();
    return counted(m_stream.addCopy(copy, error), before);
}

bool Files::counted(bool added, int before)
{
    if (added)
        m_pageCounts.append(m_stream.pageCount() - before);
    return added;
}

bool Files::finish(QList<QByteArray>* files, QString* error)
{
    files->clear();
    if (m_pageCounts.isEmpty())
        return true;
    if (!m_stream.finish(error))
        return false;
    m_buffer.close();
    if (PdfSplitter::split(m_bytes, m_pageCounts, files))
        return true;
    if (error)
        *error = QStringLiteral("Die PDF-Dateien konnten nicht getrennt werden.");
    return false;
}

} // namespace PdfExport
