#include "framework/core/fatal.h"

#include <cstdlib>

#include "framework/core/log.h"

namespace qor {

void FatalError(const char* text) {
  LogOutput(text);
  std::exit(255);
}

}  // namespace qor
