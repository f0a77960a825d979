// A scratch directory that is the current directory while it lives, with
// every core module reset to its load state on both ends.
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "framework/core/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/screen_log.h"

namespace coretest {

inline void ResetCore() {
  qor::ResetFrameworkStatus();
  qor::ResetLog();
  qor::ResetScreenLog();
  qor::ResetAllocator();
}

struct ScratchDir {
  std::string path;
  std::string previous;

  ScratchDir() {
    char tmpl[] = "/tmp/orb_core_XXXXXX";
    path = mkdtemp(tmpl);
    char cwd[4096];
    previous = getcwd(cwd, sizeof cwd) ? cwd : "/";
    if (chdir(path.c_str()) != 0) std::perror("chdir");
    ResetCore();
  }
  ~ScratchDir() {
    ResetCore();
    if (chdir(previous.c_str()) != 0) std::perror("chdir");
    nftw(
        path.c_str(), [](const char* p, const struct stat*, int, FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }

  bool Exists(const std::string& name) const { return access((path + "/" + name).c_str(), F_OK) == 0; }

  std::string Read(const std::string& name) const {
    std::string out;
    std::FILE* f = std::fopen((path + "/" + name).c_str(), "rb");
    if (f == nullptr) return "<missing>";
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
  }
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
