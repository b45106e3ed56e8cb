#include "frmHilfeEtikett.h"

frmHilfeEtikett::frmHilfeEtikett(QWidget* parent)
    : HelpScreen(QStringLiteral("frmHilfeEtikett"), QStringLiteral("Hilfe Etiketten"),
                 QStringLiteral(":/help/etiketten.png"), 0, parent)
{
}
