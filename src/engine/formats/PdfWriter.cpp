#include "PdfWriter.h"

#include "engine/pages/PdfExport.h"

#include <QBuffer>

bool PdfWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString* error)
{
    QBuffer buffer(out);
    if (!buffer.open(QIODevice::WriteOnly)) {
        FormatErrors::set(error, QStringLiteral("Der PDF-Export konnte nicht beginnen."));
        return false;
    }
    return PdfExport::exportPdf(doc, &buffer, error);
}
