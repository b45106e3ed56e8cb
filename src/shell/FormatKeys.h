#pragma once
// The formatting keys every word processor has, for the formats of the formatting
// bar: Strg+B bold, Strg+I italic, Strg+U underline (also Strg+Umschalt+F, K and U,
// as German office programs have them), and Strg+L, Strg+E, Strg+R, Strg+J for left,
// centred, right and justified paragraphs.

class QWidget;
class frmMDIChild;

namespace FormatKeys {

// Adds the keys to the document window `w`; they act on its surface while the
// focus is anywhere inside the window.
void install(frmMDIChild* w);

// Names the keys in the tooltips of the formatting bar's buttons.
void describe(QWidget* formattingBar);

} // namespace FormatKeys
