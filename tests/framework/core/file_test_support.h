// The reset every file and archive test starts from, its scratch folder,
// and inputs and pack trees for the archive tests.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/core/files/file_access.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"
#include "support/scratch_folder.h"

namespace filetest {

inline void ResetFileModules() {
  qor::ResetArchiveTables();
  qor::ResetFileAccessState();
  plat::ResetFileStandIn();
  plat::ResetThreadStandIn();
}

// A scratch folder with the file modules reset on both ends (and the
// current directory restored, since the tests may change it).
struct ScratchDir : testsupport::ScratchFolder {
  ScratchDir() : ScratchFolder(false) {
    ResetFileModules();
    char cwd[4096];
    savedCwd = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "";
  }
  ~ScratchDir() { ResetFileModules(); }
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

// The qrpack program of this build: tools/qrpack beside the tests' folder.
inline std::string QrpackPath() {
  char self[4096] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return "";
  std::string path = self;
  path = path.substr(0, path.find_last_of('/'));
  return path.substr(0, path.find_last_of('/')) + "/tools/qrpack";
}

}  // namespace filetest
