// Ending the program on a failure it cannot go on from: an exhausted handle
// table, a record that cannot be allocated, a screen that cannot be made.
#pragma once

namespace qor {

// Writes `text` to the log and ends the process with status 255 (the -1 of
// the original exit), without any message box.
[[noreturn]] void FatalError(const char* text);

}  // namespace qor
