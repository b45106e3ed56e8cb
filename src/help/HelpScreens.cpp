#include "HelpScreens.h"

#include "frmAbout.h"
#include "frmHilfeEtikett.h"
#include "frmHilfeSerienbrief.h"
#include "hilfe3.h"

#include "app/Prompter.h"

// The pictures are built into this library from their sources at build time.
void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace HelpScreens {

namespace {

// Each opening starts a fresh window that is gone when it closes.
template <typename Window>
void showModal(QWidget* owner)
{
    Window w(owner);
    prompter().exec(&w);
}

} // namespace

void showKontorix(QWidget* owner) { showModal<hilfe3>(owner); }
void showSerienbrief(QWidget* owner) { showModal<frmHilfeSerienbrief>(owner); }
void showEtikett(QWidget* owner) { showModal<frmHilfeEtikett>(owner); }
void showAbout(QWidget* owner) { showModal<frmAbout>(owner); }

} // namespace HelpScreens
