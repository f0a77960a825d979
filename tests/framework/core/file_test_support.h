// Scratch folders on the real disk for the file and archive tests, and the
// reset that every such test starts from.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "framework/core/archive.h"
#include "framework/core/archive_writer.h"
#include "framework/core/file_access.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"

namespace filetest {

inline void ResetFileModules() {
  qor::ResetArchiveTables();
  qor::ResetFileAccessState();
  plat::ResetFileStandIn();
  plat::ResetThreadStandIn();
}

// A fresh folder under /tmp, removed with everything in it at the end; the
// current directory is restored as well.
struct ScratchDir {
  std::string host;  // UTF-8 host path
  std::string z;     // the framework's CP932 form
  char savedCwd[4096] = {};

  ScratchDir() {
    ResetFileModules();
    if (getcwd(savedCwd, sizeof savedCwd) == nullptr) savedCwd[0] = '\0';
    char tmpl[] = "/tmp/orb_files_XXXXXX";
    host = mkdtemp(tmpl);
    char buffer[4096];
    plat::HostPathToCp932(host.c_str(), buffer, sizeof buffer);
    z = buffer;
  }
  ~ScratchDir() {
    ResetFileModules();
    if (savedCwd[0] != '\0' && chdir(savedCwd) != 0) std::perror("chdir");
    std::system(("rm -rf '" + host + "'").c_str());
  }

  // Paths below the folder: host form with "/" and framework form with "\".
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
};

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

// Bytes that compress: short runs and repeated phrases with some noise.
inline std::vector<uint8_t> CompressibleBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v;
  v.reserve(n);
  const std::string words[] = {"stage", "enemy", "block", "\xFF\xFF", "item ", std::string("\x00\x01\x02", 3), "boss"};
  while (v.size() < n) {
    if (rng() % 5 == 0) {
      v.push_back(static_cast<uint8_t>(rng()));
    } else {
      const std::string& w = words[rng() % 7];
      v.insert(v.end(), w.begin(), w.end());
    }
  }
  v.resize(n);
  return v;
}

inline qor::PackNode FileNode(const std::string& name, std::vector<uint8_t> data) {
  qor::PackNode n;
  n.name = name;
  n.data = std::move(data);
  n.writeTime = 132000000000000000ull;  // 2019
  n.creationTime = n.writeTime;
  return n;
}

inline qor::PackNode DirNode(const std::string& name, std::vector<qor::PackNode> children) {
  qor::PackNode n;
  n.name = name;
  n.isDirectory = true;
  n.children = std::move(children);
  return n;
}

// Reads a whole file through the current file-access table; empty and
// false when it does not open.
inline bool ReadThroughTable(const std::string& path, std::vector<uint8_t>* out, size_t chunk = 4096) {
  out->clear();
  const qor::FileHandle f = qor::FileOpenDispatch(path.c_str(), 0, 1, 0);
  if (f == 0) return false;
  std::vector<uint8_t> buffer(chunk);
  for (;;) {
    const size_t got = qor::FileReadDispatch(buffer.data(), 1, buffer.size(), f);
    if (got == 0) break;
    out->insert(out->end(), buffer.begin(), buffer.begin() + static_cast<long>(got));
  }
  qor::FileCloseDispatch(f);
  return true;
}

}  // namespace filetest
