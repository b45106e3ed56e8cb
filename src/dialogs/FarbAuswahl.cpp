#include "FarbAuswahl.h"

#include "app/Prompter.h"

#include <QColorDialog>

namespace FarbAuswahl {

int ShowColorDialog(QWidget* owner, bool fullOpen)
{
    // Qt's chooser always shows its custom colours, so full open changes nothing here;
    // they start empty at every call.
    Q_UNUSED(fullOpen);
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::white));
    const std::optional<QColor> chosen = prompter().colour(owner, QColor());
    if (!chosen || !chosen->isValid())
        return -1;
    return chosen->red() | chosen->green() << 8 | chosen->blue() << 16;
}

} // namespace FarbAuswahl
