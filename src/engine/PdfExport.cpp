#include "PdfExport.h"

#include "engine/Document.h"
#include "engine/Paginator.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!exportPdf(doc, &file, error))
        return false;
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace PdfExport
