#include "GermanUi.h"

#include "Folders.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace GermanUi {

bool install()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    static QTranslator* qtGerman = nullptr;
    if (qtGerman)
        return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    // Qt's copy first; an installed program also carries one in its data folder.
    if (!t->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !t->load(QStringLiteral("qtbase_de"), Folders::programFolder() + QStringLiteral("translations"))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qtGerman = t;
    return true;
}

} // namespace GermanUi
