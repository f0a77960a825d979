// The core modules' reset, the scratch folder the core tests work in, and
// the log text without its time stamps.
#pragma once

#include <string>

#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/screen_log.h"
#include "support/scratch_folder.h"

namespace coretest {

inline void ResetCore() {
  qor::ResetFrameworkStatus();
  qor::ResetLog();
  qor::ResetScreenLog();
  qor::ResetAllocator();
}

// The scratch folder as the current directory, with every core module
// reset to its load state on both ends.
struct ScratchDir : testsupport::ScratchFolder {
  ScratchDir() : ScratchFolder(true) { ResetCore(); }
  ~ScratchDir() { ResetCore(); }
};

// The log text with the "<milliseconds>:" at the start of each line removed;
// a line without one is marked "<no stamp>". Lines end in CR LF.
inline std::string WithoutStamps(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    end = (end == std::string::npos) ? text.size() : end + 2;
    std::string line = text.substr(at, end - at);
    size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == ':') out += line.substr(digits + 1);
    else out += "<no stamp>" + line;
    at = end;
  }
  return out;
}

}  // namespace coretest
