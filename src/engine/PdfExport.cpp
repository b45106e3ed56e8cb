#include "PdfExport.h"

#include "app/SafeSave.h"
#include "engine/Document.h"
#include "engine/Paginator.h"

#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>

namespace PdfExport {

bool exportPdf(const Document& doc, QIODevice* device, QString* error)
{
    if (!device || !device->isWritable()) {
        if (error)
            *error = QStringLiteral("Die PDF-Datei kann nicht geschrieben werden.");
        return false;
    }
    // The paginator only reads the document; it needs a non-const one for its signals.
    Paginator pages(const_cast<Document*>(&doc));
    const PageGeometry& g = doc.page();
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("Textverarbeitung"));
    writer.setPageSize(QPageSize(QSizeF(g.width / 20.0, g.height / 20.0), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    writer.setResolution(1200);
    QPainter p;
    if (!p.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Die PDF-Datei kann nicht geschrieben werden.");
        return false;
    }
    const double scale = writer.resolution() / 96.0;
    const int count = pages.pageCount();
    for (int page = 1; page <= count; ++page) {
        if (page > 1)
            writer.newPage();
        p.save();
        p.scale(scale, scale);
        pages.paintPage(&p, page);
        p.restore();
    }
    p.end();
    return true;
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

} // namespace PdfExport
