#pragma once
// What a mail-merge run asks before it starts and how it paces printed letters: the
// messages when no address is chosen or no common text exists, and the wait between
// two letters on the system's tick counter, during which the window stays usable.

#include <functional>

class QWidget;

namespace SerialChecks {

// Tells the user what is missing; true when the run may start.
bool readyToRun(QWidget* owner, bool nothingChosen, bool noCommonText);
// Waits `seconds` while events are handled; false when `stopRequested` said so meanwhile.
bool waitSeconds(int seconds, const std::function<bool()>& stopRequested);

} // namespace SerialChecks
