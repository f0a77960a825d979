// Opening archives: the header and index read through the archive file's
// reader thread, descrambled and checked before anything else uses them.
#include <cstring>

#include "framework/core/archives/archive.h"
#include "framework/core/memory.h"

namespace qor {

namespace {

// Hands one read of bytes as they are stored to the archive's reader, once
// the read before it has finished; the reader seeks only when its position
// differs (the files of one archive share it).
int PostArchiveRead(ArchiveState* s, void* buffer, size_t count, uint64_t fileOffset) {
  if (s->file == nullptr || count == 0) return -1;
  if (s->inFlight != nullptr) PollArchivedFileRead(s->inFlight, 1);
  FileRecord* f = s->file;
  const FileHandle handle = reinterpret_cast<FileHandle>(f);
  ThreadFileSettle(f);
  if (f->position != static_cast<int64_t>(fileOffset) &&
      ThreadFileSeek(handle, static_cast<int64_t>(fileOffset), 0) != 0) {
    return -1;
  }
  return ThreadFileRead(buffer, count, 1, handle) == 1 ? 0 : -1;
}

// Reads stored bytes now, on the calling thread; every byte asked for must
// come.
int ReadArchiveRaw(ArchiveState* s, void* buffer, size_t count, uint64_t fileOffset) {
  if (count == 0) return 0;
  if (s->file == nullptr) return -1;
  if (s->inFlight != nullptr) PollArchivedFileRead(s->inFlight, 1);
  const int64_t got = ThreadFileReadNow(s->file, buffer, count, static_cast<int64_t>(fileOffset));
  return got == static_cast<int64_t>(count) ? 0 : -1;
}

bool HeaderMagicOk(const uint8_t* raw, const uint8_t* key) {
  return (raw[0] ^ key[0]) == kArchiveMagic0 && (raw[1] ^ key[1]) == kArchiveMagic1;
}

// Opens the archive file, finds the key that reads its header, and reads
// and checks the header and the index.
int OpenHeaderAndIndex(ArchiveState* s, const char* path, const char* keyString) {
  std::memset(s, 0, sizeof *s);
  s->file = reinterpret_cast<FileRecord*>(OpenThreadFile(path, 0, 1, 1));
  if (s->file == nullptr) return -1;
  if (s->file->size < static_cast<int64_t>(kArchiveHeaderBytes) || s->file->size > 0xFFFFFFFFLL) return -1;
  s->archiveSize = static_cast<uint32_t>(s->file->size);

  uint8_t raw[kArchiveHeaderBytes];
  if (ReadArchiveRaw(s, raw, sizeof raw, 0) != 0) return -1;
  ExpandArchiveKey(keyString, s->key);
  if (!HeaderMagicOk(raw, s->key)) MakeFallbackArchiveKey(s->key);
  if (!HeaderMagicOk(raw, s->key)) return -1;
  ScrambleArchiveBytes(raw, sizeof raw, 0, s->key);

  ArchiveHeader& h = s->header;
  h.version = ReadLe16(raw + kHeaderVersion);
  h.indexSize = ReadLe32(raw + kHeaderIndexSize);
  h.dataOffset = ReadLe32(raw + kHeaderDataOffset);
  h.indexOffset = ReadLe32(raw + kHeaderIndexOffset);
  h.fileTableOffset = ReadLe32(raw + kHeaderFileTable);
  h.dirTableOffset = ReadLe32(raw + kHeaderDirTable);
  if (h.version >= kArchiveVersionLimit) return -1;
  // The index must lie inside the file and hold at least the root record;
  // the tables start inside it; the data area starts inside the file.
  const uint64_t indexEnd = static_cast<uint64_t>(h.indexOffset) + h.indexSize;
  if (indexEnd > s->archiveSize || h.fileTableOffset > h.indexSize || h.dataOffset > s->archiveSize) return -1;
  if (static_cast<uint64_t>(h.dirTableOffset) + kArchiveDirRecordBytes > h.indexSize) return -1;

  s->index = static_cast<uint8_t*>(AllocMemory(h.indexSize, __FILE__, __LINE__));
  if (s->index == nullptr) return -1;
  if (ReadArchiveRaw(s, s->index, h.indexSize, h.indexOffset) != 0) return -1;
  ScrambleArchiveBytes(s->index, h.indexSize, h.indexOffset, s->key);
  if (ValidateArchiveIndex(s) != 0) return -1;
  s->currentDir = 0;
  return 0;
}

}  // namespace

int OpenArchiveStreamed(ArchiveState* state, const char* path, const char* keyString) {
  if (OpenHeaderAndIndex(state, path, keyString) != 0) {
    CloseArchive(state);
    return -1;
  }
  return 0;
}

int OpenArchiveInMemory(ArchiveState* state, const char* path, const char* keyString, int wait) {
  if (OpenHeaderAndIndex(state, path, keyString) != 0) {
    CloseArchive(state);
    return -1;
  }
  state->memory = static_cast<uint8_t*>(AllocMemory(state->archiveSize, __FILE__, __LINE__));
  if (state->memory == nullptr) {
    CloseArchive(state);
    return -1;
  }
  FileRecord* f = state->file;
  if (ThreadFileSeek(reinterpret_cast<FileHandle>(f), 0, 0) != 0 ||
      ThreadFileRead(state->memory, state->archiveSize, 1, reinterpret_cast<FileHandle>(f)) != 1) {
    CloseArchive(state);
    return -1;
  }
  state->inMemory = 1;
  state->loading = 1;
  state->loader = f;
  state->file = nullptr;
  if (wait) PollArchiveLoad(state, 1);
  return 0;
}

void PollArchiveLoad(ArchiveState* state, int wait) {
  if (!state->loading) return;
  if (!wait && !ThreadFileIdle(reinterpret_cast<FileHandle>(state->loader))) return;
  const int64_t got = ThreadFileSettle(state->loader);
  CloseThreadFile(reinterpret_cast<FileHandle>(state->loader));
  state->loader = nullptr;
  state->loading = 0;
  if (got != static_cast<int64_t>(state->archiveSize)) {
    // A short whole-archive read leaves nothing to read from.
    FreeMemory(state->memory);
    state->memory = nullptr;
    return;
  }
  ScrambleArchiveBytes(state->memory, state->archiveSize, 0, state->key);
}

void CloseArchive(ArchiveState* state) {
  if (state->loading) PollArchiveLoad(state, 1);
  if (state->file != nullptr) CloseThreadFile(reinterpret_cast<FileHandle>(state->file));
  if (state->memory != nullptr) FreeMemory(state->memory);
  if (state->index != nullptr) FreeMemory(state->index);
  std::memset(state, 0, sizeof *state);
}

int ReadArchiveData(ArchiveState* state, void* buffer, size_t count, uint64_t fileOffset) {
  if (state->inMemory) {
    PollArchiveLoad(state, 1);
    if (state->memory == nullptr || fileOffset > state->archiveSize || count > state->archiveSize - fileOffset) return -1;
    if (count != 0) std::memcpy(buffer, state->memory + fileOffset, count);
    return 0;
  }
  if (ReadArchiveRaw(state, buffer, count, fileOffset) != 0) return -1;
  ScrambleArchiveBytes(buffer, count, fileOffset, state->key);
  return 0;
}

int StartArchiveRead(ArchiveState* state, ArchivedFile* file, void* buffer, size_t count, uint64_t fileOffset) {
  if (PostArchiveRead(state, buffer, count, fileOffset) != 0) return -1;
  state->inFlight = file;
  return 0;
}

}  // namespace qor
