// A fresh folder under /tmp for the tests that touch the disk, removed with
// everything in it at the end. Optionally the current directory while it
// lives (restored afterwards). Paths below it come in the host's form
// ("/tmp/...", UTF-8) and the framework's ("Z:\tmp\...", CP932).
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/kernel/path_map.h"

namespace testsupport {

// The whole file, or nothing when it cannot be opened.
inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.insert(out.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return out;
}

struct ScratchFolder {
  std::string host;  // UTF-8 host path
  std::string z;     // the framework's CP932 form
  std::string savedCwd;

  explicit ScratchFolder(bool enter = false) {
    char tmpl[] = "/tmp/orb_test_XXXXXX";
    const char* made = mkdtemp(tmpl);
    host = made != nullptr ? made : "/tmp";
    char buffer[4096];
    z = plat::HostPathToCp932(host.c_str(), buffer, sizeof buffer) >= 0 ? buffer : "";
    if (enter) {
      savedCwd = getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
      if (chdir(host.c_str()) != 0) std::perror("chdir");
    }
  }
  ~ScratchFolder() {
    if (!savedCwd.empty() && chdir(savedCwd.c_str()) != 0) std::perror("chdir");
    nftw(
        host.c_str(), [](const char* p, const struct stat*, int, FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Paths below the folder: host form with "/", framework form with "\".
  std::string Host(const std::string& relative) const { return host + "/" + relative; }
  std::string Z(const std::string& relative) const {
    std::string r = relative;
    for (char& c : r) c = (c == '/') ? '\\' : c;
    return z + "\\" + r;
  }
  void MakeDir(const std::string& relative) const { mkdir(Host(relative).c_str(), 0755); }
  void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    std::FILE* f = std::fopen(Host(relative).c_str(), "wb");
    if (f == nullptr) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  void WriteText(const std::string& relative, const std::string& text) const {
    WriteFile(relative, std::vector<uint8_t>(text.begin(), text.end()));
  }
  bool Exists(const std::string& relative) const { return access(Host(relative).c_str(), F_OK) == 0; }
  // The whole file, or "<missing>".
  std::string Read(const std::string& relative) const {
    if (!Exists(relative)) return "<missing>";
    const std::vector<uint8_t> b = ReadBytes(Host(relative));
    return std::string(b.begin(), b.end());
  }
};

}  // namespace testsupport
