#include "shell/BatchConvert.h"
#include "shell/BatchPrint.h"
#include "shell/LetterCommand.h"
#include "shell/frmMDIParent.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

int main(int argc, char** argv)
{
    // Batch conversion and letters need no display: they run before any window system
    // is touched. A letter call names --letter somewhere among its options.
    if (argc > 1 && QByteArray(argv[1]).startsWith("--")) {
        QStringList args;
        bool letter = false;
        for (int i = 1; i < argc; ++i) {
            args << QString::fromLocal8Bit(argv[i]);
            letter = letter || args.last() == u"--letter";
        }
        if (letter)
            return runLetterCommand(args);
        if (args.first() == u"--convert-to")
            return runBatchConvert(args);
        if (args.first() == u"--print")
            return runBatchPrint(args);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Textverarbeitung"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    // The command line is one document path; a path with blanks may arrive split.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    frmMDIParent frame(commandLine);
    if (frame.startAborted())
        return 1;
    frame.show();
    return app.exec();
}
