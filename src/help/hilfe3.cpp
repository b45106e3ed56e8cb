#include "hilfe3.h"

hilfe3::hilfe3(QWidget* parent)
    : HelpScreen(QStringLiteral("hilfe3"), QStringLiteral("Hilfe Kontorix"),
                 QStringLiteral(":/help/kontorix.png"), 100, parent)
{
    closeOnWindowClick();
}
