#include "EditorCommands.h"

#include "FormatMenus.h"
#include "InsertMenus.h"
#include "Magnifier.h"
#include "TableMenus.h"
#include "ViewCommands.h"

namespace EditorCommands {

void connect(frmMDIChild* w) {
    InsertMenus::connect(w);
    FormatMenus::connect(w);
    TableMenus::connect(w);
    ViewCommands::connect(w);
    new Magnifier(w); // owned by the window
}

} // namespace EditorCommands
