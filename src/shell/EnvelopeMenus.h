#pragma once
// The envelope command of the document windows' extras menu ("Briefkuvert drucken").

class frmMDIChild;

namespace EnvelopeMenus {

// Connects the window's envelope item.
void connect(frmMDIChild* window);

// A new "Unbenannt" document, then the envelope window on it (modal).
void mnuUmschlagStandard_Click();

} // namespace EnvelopeMenus
