#include "shell/frmMDIParent.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Textverarbeitung"));

    // Batch modes that run without windows go here, before the frame is built.

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);

    // The command line is one document path; a path with blanks may arrive split.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    frmMDIParent frame(commandLine);
    frame.show();
    return app.exec();
}
