// libFuzzer entry for one reader; FUZZ_FORMAT is the format code the target reads.
// Every input must be read or refused with a text, laid out, and (when read) written
// again; a crash, hang or runaway allocation is what the fuzzer reports.
//
// DOCX (13) and ODT (14) are ZIP packages, whose checksums a mutation nearly always
// breaks. An input that starts like a ZIP file is read as a whole package; any other
// input holds the package's XML parts, separated by NUL bytes (DOCX: document, styles,
// numbering; ODT: content, styles), and is packed before reading, so the mutations
// reach the XML readers.

#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdlib>

namespace {

QByteArray packed(const QByteArray& input)
{
    const QList<QByteArray> parts = input.split('\0');
    const QByteArray first = parts.value(0);
    ZipPackage::Writer w;
    if (FUZZ_FORMAT == 13) {
        const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
        w.add(QStringLiteral("word/document.xml"), first);
        w.add(QStringLiteral("word/styles.xml"), parts.value(1));
        w.add(QStringLiteral("word/numbering.xml"), parts.value(2));
        w.add(QStringLiteral("word/_rels/document.xml.rels"),
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"" + rel + "styles\" Target=\"styles.xml\"/>"
              "<Relationship Id=\"rId2\" Type=\"" + rel + "numbering\" Target=\"numbering.xml\"/>"
              "</Relationships>");
    } else {
        w.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", true);
        w.add(QStringLiteral("content.xml"), first);
        w.add(QStringLiteral("styles.xml"), parts.value(1));
    }
    QByteArray out;
    QString error;
    if (!w.finish(&out, &error))
        std::abort();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text layout needs fonts and so a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "fuzz";
    static char* qtArgv[] = {name, nullptr};
    static QGuiApplication app(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if ((FUZZ_FORMAT == 13 || FUZZ_FORMAT == 14) && !ZipPackage::looksLikeZip(input))
        input = packed(input);
    Document doc;
    QString error;
    const bool ok = Formats::read(FUZZ_FORMAT, input, doc, nullptr, &error);
    if (!ok && error.isEmpty())
        std::abort(); // a refusal always says why
    doc.body()->documentLayout()->documentSize();
    if (ok) {
        QByteArray out;
        if (!Formats::write(3, doc, nullptr, &out, &error))
            std::abort();
    }
    return 0;
}
