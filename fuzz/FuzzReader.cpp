// libFuzzer entry for one reader; FUZZ_FORMAT is the format code the target reads.
// Every input must be read or refused with a text, laid out, and (when read) written
// again; a crash, hang or runaway allocation is what the fuzzer reports.

#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdlib>

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
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
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
