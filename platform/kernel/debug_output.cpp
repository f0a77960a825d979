#include "platform/kernel/debug_output.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/kernel/text_encoding.h"

namespace plat {

void OutputDebugText(const char* cp932) {
  const char* listen = std::getenv("ORB_DEBUG_OUTPUT");
  if (listen == nullptr || listen[0] == '\0' || cp932 == nullptr) return;
  char utf8[4096];
  // Text that does not convert (or is too long to) goes out as it is.
  const char* out = Cp932ToUtf8(cp932, utf8, sizeof utf8) >= 0 ? utf8 : cp932;
  const ssize_t ignored = write(STDERR_FILENO, out, std::strlen(out));
  (void)ignored;
}

}  // namespace plat
