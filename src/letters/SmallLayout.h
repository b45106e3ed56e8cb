#pragma once
// Windows built for a 1024-pixel screen shrink on an 800-pixel one: 8-point text and
// spacing and margins a fifth smaller.

class QWidget;

namespace SmallLayout {

void shrink(QWidget* window);

} // namespace SmallLayout
