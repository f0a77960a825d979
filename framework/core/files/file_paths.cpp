#include "framework/core/files/file_paths.h"

#include <cstring>

#include "framework/core/string_helpers.h"
#include "platform/kernel/find_file.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/temp_file.h"

namespace qor {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The output being built: bounded appends, and the length of the drive part
// that ".." never removes.
struct PathBuilder {
  char* out;
  size_t capacity;
  size_t length;
  bool overflow;

  void Append(const char* text, size_t n) {
    if (length + n + 1 > capacity) {
      overflow = true;
      return;
    }
    std::memcpy(out + length, text, n);
    length += n;
    out[length] = '\0';
  }

  // Removes the last element, stepping over double-byte characters so that
  // a trail byte 0x5C is not taken for the separator before it.
  void RemoveLast() {
    size_t lastSeparator = 0;
    bool found = false;
    for (size_t i = 0; i < length; i += static_cast<size_t>(SjisCharWidth(out + i))) {
      if (out[i] == '\\') {
        lastSeparator = i;
        found = true;
      }
    }
    if (!found || lastSeparator < 2) return;  // only the drive is left
    length = lastSeparator;
    out[length] = '\0';
  }

  // Handles one element; false for an empty element closed by a separator.
  bool AddElement(const char* element, size_t n, bool closed) {
    if (n == 0) return !closed;
    if (n == 1 && element[0] == '.') return true;
    if (n == 2 && element[0] == '.' && element[1] == '.') {
      RemoveLast();
      return true;
    }
    Append("\\", 1);
    Append(element, n);
    return true;
  }
};

void FillFindRecord(const plat::FindEntry& entry, FindRecord* record) {
  *record = FindRecord{};
  CopyStringN(record->name, sizeof record->name, entry.name);
  record->isDirectory = entry.isDirectory;
  record->sizeLow = static_cast<uint32_t>(entry.size);
  record->sizeHigh = static_cast<uint32_t>(entry.size >> 32);
  ConvertFileTimeToDateRecord(entry.creationTime, &record->creationTime);
  ConvertFileTimeToDateRecord(entry.lastWriteTime, &record->lastWriteTime);
}

}  // namespace

int MakeFullPath(const char* path, char* out, size_t capacity, const char* base) {
  if (out == nullptr || capacity == 0) return -1;
  out[0] = '\0';
  if (path == nullptr) return -1;
  char current[kFileNameCapacity];
  if (base == nullptr) {
    if (GetCurrentDirDispatch(current, sizeof current) <= 0) return -1;
    base = current;
  }
  PathBuilder b{out, capacity, 0, false};
  const char* rest = path;
  if (IsSeparator(path[0])) {
    b.Append(base, strnlen(base, 2));  // the base's drive
    rest = path + 1;
  } else if (path[0] != '\0' && path[1] == ':') {
    b.Append(path, 2);
    rest = IsSeparator(path[2]) ? path + 3 : path + 2;
  } else {
    size_t n = std::strlen(base);
    // One trailing separator goes (not a trail byte that looks like one).
    size_t last = 0;
    for (size_t i = 0; i < n; i += static_cast<size_t>(SjisCharWidth(base + i))) last = i;
    if (n > 0 && IsSeparator(base[last])) n = last;
    b.Append(base, n);
  }
  const char* element = rest;
  const char* p = rest;
  while (*p != '\0') {
    if (IsSeparator(*p)) {
      if (!b.AddElement(element, static_cast<size_t>(p - element), true)) return -1;
      ++p;
      element = p;
    } else {
      p += SjisCharWidth(p);
    }
  }
  if (!b.AddElement(element, static_cast<size_t>(p - element), false)) return -1;
  // A drive alone is its root.
  if (b.length == 2 && out[1] == ':') b.Append("\\", 1);
  if (b.overflow) {
    out[0] = '\0';
    return -1;
  }
  return 0;
}

int SetCurrentDir(const char* path) { return plat::SetCurrentDirectoryCp932(path); }

int GetCurrentDir(char* buffer, size_t capacity) {
  const int length = plat::GetCurrentDirectoryCp932(buffer, capacity);
  return length < 0 ? 0 : length;
}

plat::FileDesc CreateTempFile(char* outPath, size_t capacity) {
  char folder[kFileNameCapacity];
  if (plat::GetTempFolder(folder, sizeof folder) < 0) return plat::kNoFile;
  char name[kFileNameCapacity];
  if (plat::MakeTempFileName(folder, "tmp", name, sizeof name) != 0) return plat::kNoFile;
  char full[kFileNameCapacity];
  if (MakeFullPath(name, full, sizeof full, nullptr) != 0) {
    plat::DeleteFileAt(name);
    return plat::kNoFile;
  }
  // The name was made by creating the file; make it again for writing only,
  // and only if nobody took the name in between.
  plat::DeleteFileAt(full);
  const plat::FileDesc file = plat::OpenFileForWrite(full, plat::FileCreate::CreateNew);
  if (file == plat::kNoFile) return plat::kNoFile;
  if (outPath != nullptr && CopyStringN(outPath, capacity, full) != 0) {
    plat::CloseFile(file);
    plat::DeleteFileAt(full);
    return plat::kNoFile;
  }
  return file;
}

FindHandle FindFirstFileRecord(const char* pattern, FindRecord* record) {
  plat::FindEntry entry;
  plat::FindSearch* search = plat::FindFirstFile(pattern, &entry);
  if (search == nullptr) return -1;
  FillFindRecord(entry, record);
  return reinterpret_cast<FindHandle>(search);
}

int FindNextFileRecord(FindHandle find, FindRecord* record) {
  if (find == -1 || find == 0) return -1;
  plat::FindEntry entry;
  if (plat::FindNextFile(reinterpret_cast<plat::FindSearch*>(find), &entry) != 0) return -1;
  FillFindRecord(entry, record);
  return 0;
}

int FindCloseRecord(FindHandle find) {
  if (find == -1 || find == 0) return -1;
  return plat::FindClose(reinterpret_cast<plat::FindSearch*>(find));
}

}  // namespace qor
