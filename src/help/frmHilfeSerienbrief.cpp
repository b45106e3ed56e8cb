#include "frmHilfeSerienbrief.h"

frmHilfeSerienbrief::frmHilfeSerienbrief(QWidget* parent)
    : HelpScreen(QStringLiteral("frmHilfeSerienbrief"), QStringLiteral("  Hilfe Serienbrief"),
                 QStringLiteral(":/help/serienbrief.png"), 0, parent)
{
}
