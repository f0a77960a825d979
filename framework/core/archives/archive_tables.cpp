// Archive slots, settings and the lookup of the archive that covers a path.
#include "framework/core/archives/archive_tables.h"

#include <cstring>

#include "framework/core/files/file_paths.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"

namespace qor {

namespace {

ArchiveTables g_tables;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char* Extension() { return g_tables.extension[0] != '\0' ? g_tables.extension : "QRA"; }

void ClearCache() {
  g_tables.cacheName[0] = '\0';
  g_tables.cachePrefixLength = 0;
  g_tables.cacheSlot = -1;
}

void CloseSlot(int index) {
  ArchiveSlot* slot = g_tables.archives[index];
  CloseArchive(&slot->state);
  FreeMemory(slot);
  g_tables.archives[index] = nullptr;
  --g_tables.archiveCount;
}

// Tries the archive standing for the folder prefix full[0..length).
int ProbeArchive(const char* full, size_t length, int hint) {
  char name[kArchivePathCapacity];
  if (length + 1 >= sizeof name) return -1;
  std::memcpy(name, full, length);
  name[length] = '\0';
  if (AppendStringN(name, sizeof name, ".") != 0 || AppendStringN(name, sizeof name, Extension()) != 0) return -1;
  return OpenArchiveByPath(hint, name, 0, 0);
}

}  // namespace

ArchiveTables& ArchiveTablesState() { return g_tables; }

int SetArchiveExtension(const char* text) {
  if (text != nullptr && text[0] != '\0' && std::strlen(text) < kArchiveExtensionCapacity) {
    CopyStringN(g_tables.extension, sizeof g_tables.extension, text);
  } else {
    g_tables.extension[0] = '\0';
  }
  ClearCache();
  return 0;
}

int SetArchiveKey(const char* text) {
  // An empty key string has nothing to expand: it counts as no key.
  if (text == nullptr || text[0] == '\0') {
    g_tables.keySet = 0;
    g_tables.keyString[0] = '\0';
  } else {
    g_tables.keySet = 1;
    const size_t n = strnlen(text, kArchiveKeyStringCapacity - 1);
    std::memcpy(g_tables.keyString, text, n);
    g_tables.keyString[n] = '\0';
  }
  ClearCache();
  return 0;
}

void ResetArchiveTables() {
  for (int i = 0; i < kMaxOpenFiles; ++i) {
    OpenFileSlot* slot = g_tables.files[i];
    if (slot == nullptr) continue;
    if (slot->kind == 0) {
      CloseThreadFile(slot->plain);
    } else {
      CloseArchivedFile(&slot->file);
    }
    FreeMemory(slot);
    g_tables.files[i] = nullptr;
  }
  for (int i = 0; i < kMaxArchives; ++i) {
    if (g_tables.archives[i] != nullptr) CloseSlot(i);
  }
  std::memset(&g_tables, 0, sizeof g_tables);
  ClearCache();
}

void ReleaseUnusedArchives() {
  for (int i = 0; i < kMaxArchives; ++i) {
    if (g_tables.archives[i] != nullptr && g_tables.archives[i]->useCount < 1) CloseSlot(i);
  }
}

ArchiveSlot* GetArchiveSlot(int index) {
  return (index >= 0 && index < kMaxArchives) ? g_tables.archives[index] : nullptr;
}

void LowerArchiveUse(int index) {
  ArchiveSlot* slot = GetArchiveSlot(index);
  if (slot != nullptr && slot->useCount > 0) --slot->useCount;
}

int OpenArchiveCount() { return g_tables.archiveCount; }
int OpenFileCount() { return g_tables.fileCount; }

int OpenArchiveByPath(int hint, const char* path, int mode, int async) {
  ArchiveSlot* hinted = GetArchiveSlot(hint);
  if (hinted != nullptr && std::strcmp(hinted->path, path) == 0) {
    ++hinted->useCount;
    return hint;
  }
  for (int i = 0; i < kMaxArchives; ++i) {
    ArchiveSlot* slot = g_tables.archives[i];
    if (slot != nullptr && std::strcmp(slot->path, path) == 0) {
      ++slot->useCount;
      return i;
    }
  }
  if (std::strlen(path) >= kArchivePathCapacity) return -1;
  if (g_tables.archiveCount >= kMaxArchives) ReleaseUnusedArchives();
  if (g_tables.archiveCount >= kMaxArchives) return -1;
  int index = 0;
  while (g_tables.archives[index] != nullptr) ++index;
  ArchiveSlot* slot = static_cast<ArchiveSlot*>(AllocMemoryZeroed(sizeof(ArchiveSlot), __FILE__, __LINE__));
  if (slot == nullptr) return -1;
  const char* key = g_tables.keySet ? g_tables.keyString : nullptr;
  const int opened = mode == 0 ? OpenArchiveStreamed(&slot->state, path, key)
                               : OpenArchiveInMemory(&slot->state, path, key, async ? 0 : 1);
  if (opened != 0) {
    FreeMemory(slot);
    return -1;
  }
  slot->useCount = 1;
  CopyStringN(slot->path, sizeof slot->path, path);
  g_tables.archives[index] = slot;
  ++g_tables.archiveCount;
  return index;
}

int MakeArchivePath(const char* path, char* out, size_t capacity) {
  if (path == nullptr) return -1;
  int result = 0;
  if (IsSeparator(path[0]) && IsSeparator(path[1])) {
    // A network path: the double separator stays the start of every prefix.
    result = MakeFullPath(path + 2, out, capacity, "\\\\");
  } else {
    result = MakeFullPath(path, out, capacity, nullptr);
  }
  if (result != 0) return -1;
  UpperCaseAsciiSjis(out);
  return 0;
}

int FindArchiveForPath(const char* path, char* innerPath, size_t innerCapacity) {
  char full[kFileNameCapacity * 2];
  if (MakeArchivePath(path, full, sizeof full) != 0) return -1;

  const size_t cached = g_tables.cachePrefixLength;
  if (cached != 0 && std::strncmp(full, g_tables.cacheName, cached) == 0 && IsSeparator(full[cached])) {
    const int slot = OpenArchiveByPath(g_tables.cacheSlot, g_tables.cacheName, 0, 0);
    if (slot >= 0) {
      g_tables.cacheSlot = slot;
      if (CopyStringN(innerPath, innerCapacity, full + cached + 1) == 0) return slot;
      LowerArchiveUse(slot);
      return -1;
    }
  }

  // Each folder from the root down may have an archive; the first that
  // opens must hold the rest of the path.
  size_t at = (full[0] == '\\' && full[1] == '\\') ? 2 : 0;
  for (;;) {
    size_t end = at;
    while (full[end] != '\0' && !IsSeparator(full[end])) end += static_cast<size_t>(SjisCharWidth(full + end));
    if (end == at || full[end] == '\0') return -1;  // an empty element, or the file name
    const bool drive = full[end - 1] == ':' && end == 2;
    const int slot = drive ? -1 : ProbeArchive(full, end, -1);
    if (slot >= 0) {
      if (CopyStringN(innerPath, innerCapacity, full + end + 1) != 0) {
        LowerArchiveUse(slot);
        return -1;
      }
      CopyStringN(g_tables.cacheName, sizeof g_tables.cacheName, g_tables.archives[slot]->path);
      g_tables.cachePrefixLength = end;
      g_tables.cacheSlot = slot;
      return slot;
    }
    at = end + 1;
  }
}

}  // namespace qor
