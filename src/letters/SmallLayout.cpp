#include "SmallLayout.h"

#include <QLayout>
#include <QWidget>

namespace SmallLayout {

void shrink(QWidget* window)
{
    QFont f = window->font();
    f.setPointSize(8);
    window->setFont(f);
    for (QLayout* l : window->findChildren<QLayout*>()) {
        l->setSpacing(l->spacing() * 4 / 5);
        const QMargins m = l->contentsMargins();
        l->setContentsMargins(m.left() * 4 / 5, m.top() * 4 / 5, m.right() * 4 / 5, m.bottom() * 4 / 5);
    }
}

} // namespace SmallLayout
