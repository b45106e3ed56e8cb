#include "CssWriter.h"

#include "HtmlWriter.h"

bool CssWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString*)
{
    *out = HtmlWriter::styleSheet(doc).toUtf8();
    return true;
}
