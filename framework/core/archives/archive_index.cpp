// The index block of an archive: directory records, file entries and name
// records, all checked against the block and the archive's size before use.
#include <cstring>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/string_helpers.h"

namespace qor {

namespace {

bool NamesAFolderItself(const char* name) {
  return name[0] == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool InIndex(const ArchiveState* s, uint64_t offset, uint64_t length) {
  return offset <= s->header.indexSize && length <= s->header.indexSize - offset;
}

// Index offset of a directory record, or -1 when it does not fit.
int64_t DirRecordAt(const ArchiveState* s, uint32_t dir) {
  const uint64_t at = static_cast<uint64_t>(s->header.dirTableOffset) + dir;
  return InIndex(s, at, kArchiveDirRecordBytes) ? static_cast<int64_t>(at) : -1;
}

// A name record is usable when its unit count, its padded key (ending in a
// zero byte) and its written name (zero-terminated within a file name's
// length) all lie inside the index, and neither the key nor the written name
// is empty, "." or "..": such a name stands for the folder that holds it (or
// its parent), and a walk of the folders would enter it without end.
bool NameRecordOk(const ArchiveState* s, uint32_t name) {
  if (!InIndex(s, name, 4)) return false;
  const uint32_t units = ReadLe16(s->index + name);
  if (units == 0 || units * 4u > static_cast<uint32_t>(kArchiveNameKeyCapacity)) return false;
  const uint64_t written = static_cast<uint64_t>(name) + 4 + units * 4u;
  if (!InIndex(s, static_cast<uint64_t>(name) + 4, units * 4u) || s->index[written - 1] != 0) return false;
  const uint64_t room = s->header.indexSize - written;
  const size_t scan = room < kFileNameCapacity ? static_cast<size_t>(room) : kFileNameCapacity;
  if (std::memchr(s->index + written, 0, scan) == nullptr) return false;
  return !NamesAFolderItself(reinterpret_cast<const char*>(s->index + name + 4)) &&
         !NamesAFolderItself(reinterpret_cast<const char*>(s->index + written));
}

bool NameMatches(const ArchiveState* s, uint32_t name, const ArchiveNameKey& key) {
  if (!InIndex(s, name, 4)) return false;
  const uint8_t* record = s->index + name;
  if (ReadLe16(record) != key.units || ReadLe16(record + 2) != key.checksum) return false;
  if (!InIndex(s, static_cast<uint64_t>(name) + 4, key.units * 4u)) return false;
  return std::memcmp(record + 4, key.bytes, key.units * 4u) == 0;
}

// Scans the current directory for an entry of the given kind and name.
int64_t FindInDir(const ArchiveState* s, const ArchiveNameKey& key, bool wantDirectory) {
  uint32_t count = 0, first = 0;
  if (ArchiveDirEntries(s, s->currentDir, &count, &first) != 0) return -1;
  const uint32_t entryBytes = ArchiveEntryBytes(s->header.version);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t entry = first + i * entryBytes;
    const bool isDirectory = (ArchiveEntryField(s, entry, kEntryAttributes) & kArchiveDirectoryAttribute) != 0;
    if (isDirectory != wantDirectory) continue;
    if (NameMatches(s, ArchiveEntryField(s, entry, kEntryName), key)) return entry;
  }
  return -1;
}

int ChangeArchiveDirStep(ArchiveState* s, const ArchiveNameKey& key) {
  const int64_t entry = FindInDir(s, key, true);
  if (entry < 0) return -1;
  const uint32_t dir = ArchiveEntryField(s, static_cast<uint32_t>(entry), kEntryDataOffset);
  if (DirRecordAt(s, dir) < 0) return -1;
  s->currentDir = dir;
  return 0;
}

}  // namespace

int MakeArchiveNameKey(const char* text, ArchiveNameKey* key) {
  std::memset(key, 0, sizeof *key);
  size_t n = 0;
  uint32_t sum = 0;
  const char* p = text;
  while (*p != '\0' && *p != '\\') {
    const int width = SjisCharWidth(p);
    if (n + static_cast<size_t>(width) >= kArchiveNameKeyCapacity) return -1;
    for (int i = 0; i < width; ++i) {
      uint8_t b = static_cast<uint8_t>(p[i]);
      if (width == 1 && b >= 'a' && b <= 'z') b = static_cast<uint8_t>(b - 'a' + 'A');
      key->bytes[n++] = b;
      sum += b;
    }
    p += width;
  }
  key->units = static_cast<uint16_t>(n / 4 + 1);
  key->checksum = static_cast<uint16_t>(sum);
  return static_cast<int>(p - text);
}

uint32_t ArchiveEntryField(const ArchiveState* s, uint32_t entry, uint32_t field) {
  const uint64_t at = static_cast<uint64_t>(s->header.fileTableOffset) + entry + field;
  return InIndex(s, at, 4) ? ReadLe32(s->index + at) : 0;
}

uint64_t ArchiveEntryTime(const ArchiveState* s, uint32_t entry, uint32_t field) {
  const uint64_t at = static_cast<uint64_t>(s->header.fileTableOffset) + entry + field;
  return InIndex(s, at, 8) ? ReadLe64(s->index + at) : 0;
}

const char* ArchiveEntryUpperName(const ArchiveState* s, uint32_t entry) {
  const uint32_t name = ArchiveEntryField(s, entry, kEntryName);
  return NameRecordOk(s, name) ? reinterpret_cast<const char*>(s->index + name + 4) : nullptr;
}

const char* ArchiveEntryWrittenName(const ArchiveState* s, uint32_t entry) {
  const uint32_t name = ArchiveEntryField(s, entry, kEntryName);
  if (!NameRecordOk(s, name)) return "";
  return reinterpret_cast<const char*>(s->index + name + 4 + ReadLe16(s->index + name) * 4u);
}

int ArchiveDirEntries(const ArchiveState* s, uint32_t dir, uint32_t* count, uint32_t* first) {
  const int64_t at = DirRecordAt(s, dir);
  if (at < 0) return -1;
  *count = ReadLe32(s->index + at + kDirEntryCount);
  *first = ReadLe32(s->index + at + kDirFirstEntry);
  const uint64_t span = static_cast<uint64_t>(*count) * ArchiveEntryBytes(s->header.version);
  return InIndex(s, static_cast<uint64_t>(s->header.fileTableOffset) + *first, span) ? 0 : -1;
}

uint32_t ArchiveDirParent(const ArchiveState* s, uint32_t dir) {
  const int64_t at = DirRecordAt(s, dir);
  return at < 0 ? kArchiveNoParent : ReadLe32(s->index + at + kDirParent);
}

int ValidateArchiveIndex(const ArchiveState* s) {
  const ArchiveHeader& h = s->header;
  const uint32_t entryBytes = ArchiveEntryBytes(h.version);
  // Every entry belongs to exactly one directory and every directory is
  // entered once; more visits than the index can hold mean shared ranges
  // or a cycle, and end the walk early.
  const uint64_t maxEntries = h.indexSize / entryBytes;
  const uint64_t maxDirs = h.indexSize / kArchiveDirRecordBytes;
  uint64_t entriesSeen = 0;
  std::vector<uint32_t> pending{0};
  for (size_t next = 0; next < pending.size(); ++next) {
    if (next >= maxDirs) return -1;
    const uint32_t dir = pending[next];
    uint32_t count = 0, first = 0;
    if (ArchiveDirEntries(s, dir, &count, &first) != 0) return -1;
    const uint32_t parent = ArchiveDirParent(s, dir);
    if (parent != kArchiveNoParent && DirRecordAt(s, parent) < 0) return -1;
    entriesSeen += count;
    if (entriesSeen > maxEntries) return -1;
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t entry = first + i * entryBytes;
      if (!NameRecordOk(s, ArchiveEntryField(s, entry, kEntryName))) return -1;
      const uint32_t dataOffset = ArchiveEntryField(s, entry, kEntryDataOffset);
      if (ArchiveEntryField(s, entry, kEntryAttributes) & kArchiveDirectoryAttribute) {
        if (DirRecordAt(s, dataOffset) < 0) return -1;
        pending.push_back(dataOffset);
        continue;
      }
      uint64_t stored = ArchiveEntryField(s, entry, kEntrySize);
      if (h.version >= 2) {
        const uint32_t compressedSize = ArchiveEntryField(s, entry, kEntryCompressedSize);
        if (compressedSize != kArchiveStoredMarker) {
          if (compressedSize < kLzHeaderBytes) return -1;
          stored = compressedSize;
        }
      }
      const uint64_t start = static_cast<uint64_t>(h.dataOffset) + dataOffset;
      if (start > s->archiveSize || stored > s->archiveSize - start) return -1;
    }
  }
  return 0;
}

int ChangeArchiveDir(ArchiveState* s, const char* path, int restoreOnFailure, ArchiveNameKey* lastKey) {
  const uint32_t start = s->currentDir;
  if (std::strcmp(path, ".") == 0) return 0;
  if (std::strcmp(path, "\\") == 0) {
    s->currentDir = 0;
    return 0;
  }
  if (std::strcmp(path, "..") == 0) {
    const uint32_t parent = ArchiveDirParent(s, s->currentDir);
    if (parent == kArchiveNoParent || DirRecordAt(s, parent) < 0) return -1;
    s->currentDir = parent;
    return 0;
  }
  const char* p = path;
  if (*p == '\\') {
    s->currentDir = 0;
    ++p;
  }
  ArchiveNameKey key;
  while (*p != '\0') {
    const int consumed = MakeArchiveNameKey(p, &key);
    if (consumed <= 0 || ChangeArchiveDirStep(s, key) != 0) {
      if (restoreOnFailure) s->currentDir = start;
      if (lastKey != nullptr && consumed > 0) *lastKey = key;
      return -1;
    }
    p += consumed;
    if (*p == '\\') ++p;
  }
  return 0;
}

int64_t FindArchiveEntry(const char* innerPath, ArchiveState* s) {
  const uint32_t saved = s->currentDir;
  // The last backslash outside double-byte characters splits off the name.
  const char* name = innerPath;
  for (const char* p = innerPath; *p != '\0'; p += SjisCharWidth(p)) {
    if (*p == '\\') name = p + 1;
  }
  int64_t entry = -1;
  bool ok = true;
  if (name != innerPath) {
    char dir[kFileNameCapacity * 2];
    const size_t length = static_cast<size_t>(name - 1 - innerPath);
    if (length >= sizeof dir) {
      ok = false;
    } else {
      std::memcpy(dir, innerPath, length);
      dir[length] = '\0';
      ok = length == 0 || ChangeArchiveDir(s, dir, 1, nullptr) == 0;
    }
  }
  ArchiveNameKey key;
  if (ok && *name != '\0' && MakeArchiveNameKey(name, &key) > 0) entry = FindInDir(s, key, false);
  s->currentDir = saved;
  return entry;
}

}  // namespace qor
