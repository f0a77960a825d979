// Find over archives: a pattern covered by an archive lists the archive's
// directory of the pattern; any other pattern lists the folder on disk.
#include <cstring>

#include "framework/core/archives/archive_tables.h"
#include "framework/core/files/file_paths.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"
#include "platform/kernel/find_file.h"

namespace qor {

namespace {

ArchiveFindHandle* HandleOf(FindHandle find) {
  return (find == -1 || find == 0) ? nullptr : reinterpret_cast<ArchiveFindHandle*>(find);
}

// Gives the next candidate that matches, or -1 when none is left.
int NextMatch(ArchiveFindHandle* h, FindRecord* record) {
  const ArchiveState* s = &GetArchiveSlot(h->archiveSlot)->state;
  uint32_t count = 0, first = 0;
  if (ArchiveDirEntries(s, h->dir, &count, &first) != 0) return -1;
  const uint32_t entryBytes = ArchiveEntryBytes(s->header.version);
  for (; h->candidate < count + 2; ++h->candidate) {
    *record = FindRecord{};
    if (h->candidate < 2) {
      if (h->candidate == 1 && h->dir == 0) continue;  // the root has no parent
      const char* name = h->candidate == 0 ? "." : "..";
      if (!MatchWildcard(h->pattern, name)) continue;
      CopyStringN(record->name, sizeof record->name, name);
      record->isDirectory = 1;
      ++h->candidate;
      return 0;
    }
    const uint32_t entry = first + (h->candidate - 2) * entryBytes;
    // The key bytes are the upper-cased name, zero-terminated by the padding.
    const char* upper = ArchiveEntryUpperName(s, entry);
    if (upper == nullptr || !MatchWildcard(h->pattern, upper)) continue;
    CopyStringN(record->name, sizeof record->name, ArchiveEntryWrittenName(s, entry));
    record->isDirectory = (ArchiveEntryField(s, entry, kEntryAttributes) & kArchiveDirectoryAttribute) ? 1 : 0;
    record->sizeLow = record->isDirectory ? 0 : ArchiveEntryField(s, entry, kEntrySize);
    ConvertFileTimeToDateRecord(ArchiveEntryTime(s, entry, kEntryCreationTime), &record->creationTime);
    ConvertFileTimeToDateRecord(ArchiveEntryTime(s, entry, kEntryWriteTime), &record->lastWriteTime);
    ++h->candidate;
    return 0;
  }
  return -1;
}

}  // namespace

bool MatchWildcard(const char* pattern, const char* name) { return plat::MatchWildcard(pattern, name, false); }

int ArchiveFindFirst(ArchiveFindHandle* find, const char* innerPattern, FindRecord* record) {
  const char* last = innerPattern;
  for (const char* p = innerPattern; *p != '\0'; p += SjisCharWidth(p)) {
    if (*p == '\\') last = p + 1;
  }
  if (*last == '\0' || CopyStringN(find->pattern, sizeof find->pattern, last) != 0) return -1;
  ArchiveState* s = &GetArchiveSlot(find->archiveSlot)->state;
  const uint32_t saved = s->currentDir;
  int result = 0;
  if (last != innerPattern) {
    char dir[kFileNameCapacity * 2];
    // "\NAME" has the root for its folder: its backslash is the folder part.
    size_t length = static_cast<size_t>(last - 1 - innerPattern);
    if (length == 0) length = 1;
    if (length >= sizeof dir) return -1;
    std::memcpy(dir, innerPattern, length);
    dir[length] = '\0';
    result = ChangeArchiveDir(s, dir, 1, nullptr);
  }
  find->dir = s->currentDir;
  find->candidate = 0;
  s->currentDir = saved;
  if (result != 0) return -1;
  return NextMatch(find, record);
}

FindHandle ArcFindFirst(const char* pattern, FindRecord* record) {
  ArchiveFindHandle* h =
      static_cast<ArchiveFindHandle*>(AllocMemoryZeroed(sizeof(ArchiveFindHandle), __FILE__, __LINE__));
  if (h == nullptr) return -1;
  char inner[kFileNameCapacity * 2];
  h->archiveSlot = FindArchiveForPath(pattern, inner, sizeof inner);
  if (h->archiveSlot < 0) {
    h->plain = FindFirstFileRecord(pattern, record);
    if (h->plain == -1) {
      FreeMemory(h);
      return -1;
    }
    return reinterpret_cast<FindHandle>(h);
  }
  if (ArchiveFindFirst(h, inner, record) != 0) {
    LowerArchiveUse(h->archiveSlot);
    FreeMemory(h);
    return -1;
  }
  return reinterpret_cast<FindHandle>(h);
}

int ArcFindNext(FindHandle find, FindRecord* record) {
  ArchiveFindHandle* h = HandleOf(find);
  if (h == nullptr) return -1;
  if (h->archiveSlot < 0) return FindNextFileRecord(h->plain, record);
  return NextMatch(h, record);
}

int ArcFindClose(FindHandle find) {
  ArchiveFindHandle* h = HandleOf(find);
  if (h == nullptr) return -1;
  int result = 0;
  if (h->archiveSlot < 0) {
    result = FindCloseRecord(h->plain);
  } else {
    LowerArchiveUse(h->archiveSlot);
  }
  FreeMemory(h);
  return result;
}

}  // namespace qor
