// The archive-aware file-access set: a path covered by an archive opens
// inside it, any other path opens as a plain file.
#include <algorithm>
#include <cstring>

#include "framework/core/archives/archive_tables.h"
#include "framework/core/files/file_paths.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"

namespace qor {

OpenFileSlot* GetOpenFileSlot(FileHandle file) {
  if ((file & ~static_cast<intptr_t>(0x0FFFFFFF)) != kArcFileHandleTag) return nullptr;
  const intptr_t index = file & 0x0FFFFFFF;
  if (index >= kMaxOpenFiles) return nullptr;
  return ArchiveTablesState().files[index];
}

FileHandle ArcFileOpen(const char* path, int cache, int /*third*/, int async) {
  ArchiveTables& t = ArchiveTablesState();
  if (t.fileCount >= kMaxOpenFiles) {
    LogOutput("同時に開けるファイルの数が限界を超えました\n");
    return 0;
  }
  int index = 0;
  while (t.files[index] != nullptr) ++index;
  OpenFileSlot* slot = static_cast<OpenFileSlot*>(AllocMemoryZeroed(sizeof(OpenFileSlot), __FILE__, __LINE__));
  if (slot == nullptr) {
    LogOutput("ファイルの情報を格納するメモリの確保に失敗しました\n");
    return 0;
  }
  char inner[kFileNameCapacity * 2];
  const int archive = FindArchiveForPath(path, inner, sizeof inner);
  if (archive < 0) {
    slot->kind = 0;
    slot->plain = OpenThreadFile(path, cache, 1, async);
    if (slot->plain == 0) {
      FreeMemory(slot);
      return 0;
    }
  } else {
    // A covering archive must hold the file: no fall-back to a loose one.
    slot->kind = 1;
    slot->archiveSlot = archive;
    if (OpenArchivedFile(&slot->file, &GetArchiveSlot(archive)->state, inner, async) != 0) {
      LowerArchiveUse(archive);
      FreeMemory(slot);
      return 0;
    }
  }
  t.files[index] = slot;
  ++t.fileCount;
  return static_cast<FileHandle>(index) | kArcFileHandleTag;
}

int ArcFileClose(FileHandle file) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr) return -1;
  int result = 0;
  if (slot->kind == 0) {
    result = CloseThreadFile(slot->plain);
  } else {
    CloseArchivedFile(&slot->file);
    LowerArchiveUse(slot->archiveSlot);
  }
  ArchiveTables& t = ArchiveTablesState();
  t.files[file & 0x0FFFFFFF] = nullptr;
  --t.fileCount;
  FreeMemory(slot);
  return result;
}

int64_t ArcFileTell(FileHandle file) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr) return -1;
  return slot->kind == 0 ? ThreadFileTell(slot->plain) : TellArchivedFile(&slot->file);
}

int ArcFileSeek(FileHandle file, int64_t offset, int origin) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr) return -1;
  return slot->kind == 0 ? ThreadFileSeek(slot->plain, offset, origin) : SeekArchivedFile(&slot->file, offset, origin);
}

size_t ArcFileRead(void* buffer, size_t size, size_t count, FileHandle file) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr || size == 0) return 0;
  if (slot->kind == 0) return ThreadFileRead(buffer, size, count, slot->plain);
  // Whole elements, as for plain files, so a loader reads the same way from
  // either kind of file.
  ArchivedFile* f = &slot->file;
  PollArchivedFileRead(f, 1);
  if (f->position >= f->size) {
    f->eof = 1;
    return 0;
  }
  const size_t remaining = f->size - f->position;
  count = std::min(count, remaining / size);
  if (count == 0) {
    f->eof = 1;
    return 0;
  }
  const int64_t got = ReadArchivedFile(f, buffer, static_cast<uint32_t>(count * size));
  return got <= 0 ? 0 : static_cast<size_t>(got) / size;
}

int ArcFileEof(FileHandle file) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr) return -1;
  return slot->kind == 0 ? ThreadFileEof(slot->plain) : EofArchivedFile(&slot->file);
}

int ArcFileIdle(FileHandle file) {
  OpenFileSlot* slot = GetOpenFileSlot(file);
  if (slot == nullptr) return -1;
  return slot->kind == 0 ? ThreadFileIdle(slot->plain) : IdleArchivedFile(&slot->file);
}

int ArcSetCurrentDir(const char* path) { return SetCurrentDir(path); }

int ArcGetCurrentDir(char* buffer, size_t capacity) {
  return GetCurrentDir(buffer, std::min(capacity, static_cast<size_t>(kArchivePathCapacity)));
}

}  // namespace qor
