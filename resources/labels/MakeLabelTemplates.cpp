// Writes the four label templates "Etiketten_Vorlage_F10.ttx" ... "_F14.ttx" into the
// folder given as the only argument.

#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "output/LabelTemplate.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Text layout needs a GUI application; the build runs it offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: make-label-templates ZIELORDNER\n");
        return 2;
    }
    const QDir target(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (int size : LabelTemplate::fontSizes()) {
        Document doc;
        LabelTemplate::build(doc, size);
        const QString path = target.filePath(LabelTemplate::fileName(size));
        QString error;
        if (!Formats::writeFile(3, doc, nullptr, path, Formats::pageHeader(doc.page()), WriteOptions(), &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
