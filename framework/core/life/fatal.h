// Ending the program on a failure it cannot go on from: an exhausted handle
// table, a record that cannot be allocated, a screen that cannot be made.
#pragma once

namespace qor {

// Writes `text` and a line feed to the log, shuts the framework down, closes
// the API lock and ends the process with status 255 (the -1 of the original
// exit), without any message box. A fatal failure inside shut-down, or
// inside another fatal exit, ends the process at once.
[[noreturn]] void FatalError(const char* text);
// Formats into 1,024 bytes (cut to fit), then FatalError.
[[noreturn]] void FatalErrorf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace qor
