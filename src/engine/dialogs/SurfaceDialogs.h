#pragma once
// The surface's own dialogs for paragraph, list attributes, tabs, style and table
// settings. Each is shown modally through the prompter, writes its result into the
// selection as one undo step on OK and changes nothing on cancel. They return true
// when something was written.

class TextControl;
class QWidget;

namespace SurfaceDialogs {

bool paragraph(TextControl* s);
bool listAttributes(TextControl* s);
bool tabs(TextControl* s);
bool style(TextControl* s);
// Without a table at the input position it says so (German) and returns false.
bool tableSettings(TextControl* s);

} // namespace SurfaceDialogs
