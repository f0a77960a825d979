// An archive file on disk, opened through the archive-aware file access:
// found, walked with the find operations and read with seeks and element
// sizes. The first input byte chooses no key, a key, or the in-memory mode.
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/files/file_access.h"
#include "fuzz_support.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/threads.h"

namespace {

// Each folder level takes at least a directory record of the input, so a
// walk deeper than that has found a folder that leads back into itself.
size_t g_deepestPossible = 0;

size_t ReadEverything(const std::string& folder, size_t depth) {
  if (depth > g_deepestPossible) __builtin_trap();
  size_t total = 0;
  qor::FindRecord r;
  const qor::FindHandle h = qor::ArcFindFirst((folder + "\\*").c_str(), &r);
  if (h == -1) return 0;
  std::vector<std::pair<std::string, bool>> entries;
  do {
    if (std::strcmp(r.name, ".") != 0 && std::strcmp(r.name, "..") != 0) entries.emplace_back(r.name, r.isDirectory != 0);
  } while (qor::ArcFindNext(h, &r) == 0 && entries.size() < 256);
  qor::ArcFindClose(h);
  for (const auto& [name, isDirectory] : entries) {
    const std::string path = folder + "\\" + name;
    if (isDirectory) {
      total += ReadEverything(path, depth + 1);
      continue;
    }
    const qor::FileHandle f = qor::FileOpenDispatch(path.c_str(), 0, 1, 0);
    if (f == 0) continue;
    uint8_t buffer[256];
    for (size_t got; (got = qor::FileReadDispatch(buffer, 3, 50, f)) > 0 && total < (1u << 22);) total += got * 3;
    qor::FileSeekDispatch(f, -7, 2);
    total += qor::FileReadDispatch(buffer, 1, sizeof buffer, f);
    qor::FileSeekDispatch(f, 5, 0);
    total += qor::FileReadDispatch(buffer, 8, 4, f) * 8;
    qor::FileCloseDispatch(f);
  }
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  if (!fuzz::WriteScratchFile("c.dat", data + 1, size - 1)) return 0;
  qor::ResetArchiveTables();
  qor::ResetFileAccessState();
  qor::SetArchiveExtension("dat");
  qor::SetArchiveKey((mode & 1) != 0 ? "k" : nullptr);
  const std::string folder = fuzz::GetScratch().z + "\\c";
  char inner[512];
  const int slot = qor::FindArchiveForPath((folder + "\\x").c_str(), inner, sizeof inner);
  if (slot >= 0) qor::LowerArchiveUse(slot);
  if ((mode & 2) != 0) {
    const int memorySlot = qor::OpenArchiveByPath(-1, (fuzz::GetScratch().z + "\\c.dat").c_str(), 1, 0);
    if (memorySlot >= 0) qor::LowerArchiveUse(memorySlot);
  }
  g_deepestPossible = size / 16 + 1;
  ReadEverything(folder, 0);
  qor::ResetArchiveTables();
  return 0;
}
