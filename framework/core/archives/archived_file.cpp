// Files inside archives: stored entries are read in place, compressed ones
// are decompressed whole at open; reads never go past the entry's size.
#include <cstring>

#include "framework/core/archives/archive.h"
#include "framework/core/archives/lz_codec.h"
#include "framework/core/memory.h"

namespace qor {

namespace {

// The most output one input byte of the code can give: a four-byte copy
// code yields at most 8195 bytes.
constexpr uint64_t kLzMaxExpansion = 2049;

void FreeBuffers(ArchivedFile* f) {
  if (f->decompressed != nullptr) FreeMemory(f->decompressed);
  if (f->compressedData != nullptr) FreeMemory(f->compressedData);
  f->decompressed = nullptr;
  f->compressedData = nullptr;
}

bool Decompress(ArchivedFile* f, const uint8_t* source) {
  return DecompressLz(source, f->storedSize, f->decompressed, f->size) == static_cast<int64_t>(f->size);
}

}  // namespace

int OpenArchivedFile(ArchivedFile* f, ArchiveState* s, const char* innerPath, int async) {
  std::memset(f, 0, sizeof *f);
  PollArchiveLoad(s, 1);
  const int64_t found = FindArchiveEntry(innerPath, s);
  if (found < 0) return -1;
  const uint32_t entry = static_cast<uint32_t>(found);
  f->archive = s;
  f->entry = entry;
  f->async = async ? 1 : 0;
  f->size = ArchiveEntryField(s, entry, kEntrySize);
  const uint32_t compressedSize = s->header.version >= 2 ? ArchiveEntryField(s, entry, kEntryCompressedSize)
                                                         : kArchiveStoredMarker;
  f->compressed = compressedSize != kArchiveStoredMarker;
  f->storedSize = f->compressed ? compressedSize : f->size;
  f->dataStart = static_cast<uint64_t>(s->header.dataOffset) + ArchiveEntryField(s, entry, kEntryDataOffset);
  // Checked again here, not only when the archive opened.
  if (f->dataStart > s->archiveSize || f->storedSize > s->archiveSize - f->dataStart) return -1;
  if (!f->compressed) return 0;

  if (f->storedSize < kLzHeaderBytes || f->size > (f->storedSize - kLzHeaderBytes) * kLzMaxExpansion) return -1;
  f->decompressed = static_cast<uint8_t*>(AllocMemory(f->size, __FILE__, __LINE__));
  if (f->decompressed == nullptr) return -1;
  if (s->inMemory) {
    if (s->memory == nullptr || !Decompress(f, s->memory + f->dataStart)) {
      FreeBuffers(f);
      return -1;
    }
    return 0;
  }
  f->compressedData = static_cast<uint8_t*>(AllocMemory(f->storedSize, __FILE__, __LINE__));
  if (f->compressedData == nullptr) {
    FreeBuffers(f);
    return -1;
  }
  if (f->async) {
    if (StartArchiveRead(s, f, f->compressedData, f->storedSize, f->dataStart) != 0) {
      FreeBuffers(f);
      return -1;
    }
    f->pending = kPendingDecompress;
    f->pendingOffset = f->dataStart;
    f->pendingBuffer = f->compressedData;
    f->pendingSize = f->storedSize;
    return 0;
  }
  const bool ok = ReadArchiveData(s, f->compressedData, f->storedSize, f->dataStart) == 0 &&
                  Decompress(f, f->compressedData);
  FreeMemory(f->compressedData);
  f->compressedData = nullptr;
  if (!ok) {
    FreeBuffers(f);
    return -1;
  }
  return 0;
}

int PollArchivedFileRead(ArchivedFile* f, int wait) {
  if (f->pending == kPendingNone) return 1;
  ArchiveState* s = f->archive;
  FileRecord* reader = s->file;
  if (!wait && !ThreadFileIdle(reinterpret_cast<FileHandle>(reader))) return 0;
  const int64_t got = ThreadFileSettle(reader);
  s->inFlight = nullptr;
  if (got != static_cast<int64_t>(f->pendingSize)) {
    f->failed = 1;
  } else {
    ScrambleArchiveBytes(f->pendingBuffer, f->pendingSize, f->pendingOffset, s->key);
    if (f->pending == kPendingDecompress && !Decompress(f, f->compressedData)) f->failed = 1;
  }
  if (f->compressedData != nullptr) FreeMemory(f->compressedData);
  f->compressedData = nullptr;
  f->pending = kPendingNone;
  return 1;
}

int64_t ReadArchivedFile(ArchivedFile* f, void* buffer, uint32_t count) {
  PollArchivedFileRead(f, 1);
  if (f->failed) return -1;
  if (f->eof) return 0;
  if (f->position >= f->size) {
    f->eof = 1;
    return 0;
  }
  const uint32_t n = count < f->size - f->position ? count : f->size - f->position;
  ArchiveState* s = f->archive;
  if (f->decompressed != nullptr) {
    std::memcpy(buffer, f->decompressed + f->position, n);
  } else if (s->inMemory) {
    if (ReadArchiveData(s, buffer, n, f->dataStart + f->position) != 0) return -1;
  } else if (f->async && n > 0) {
    const uint64_t offset = f->dataStart + f->position;
    if (StartArchiveRead(s, f, buffer, n, offset) != 0) return -1;
    f->pending = kPendingRead;
    f->pendingOffset = offset;
    f->pendingBuffer = static_cast<uint8_t*>(buffer);
    f->pendingSize = n;
  } else if (ReadArchiveData(s, buffer, n, f->dataStart + f->position) != 0) {
    return -1;  // a short read of the archive is a failed read
  }
  f->position += n;
  f->eof = 0;
  return n;
}

int SeekArchivedFile(ArchivedFile* f, int64_t offset, int origin) {
  const int64_t target = ClampedSeekTarget(f->position, f->size, offset, origin);
  if (target < 0) return -1;
  f->position = static_cast<uint32_t>(target);
  f->eof = 0;
  return 0;
}

int64_t TellArchivedFile(const ArchivedFile* f) { return f->position; }
int EofArchivedFile(const ArchivedFile* f) { return f->eof ? -1 : 0; }
int IdleArchivedFile(ArchivedFile* f) { return PollArchivedFileRead(f, 0); }

void CloseArchivedFile(ArchivedFile* f) {
  PollArchivedFileRead(f, 1);
  FreeBuffers(f);
  std::memset(f, 0, sizeof *f);
}

}  // namespace qor
