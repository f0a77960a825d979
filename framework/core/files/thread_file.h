// Plain files, read directly or through a reader thread of their own with an
// optional 128 KB read-ahead cache. The handle of a plain file is the address
// of its FileRecord.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/files/file_access.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/threads.h"

namespace qor {

constexpr size_t kFileCacheBytes = 131072;

enum FileCommand { kFileCommandOpen = 0, kFileCommandClose, kFileCommandRead, kFileCommandSeek, kFileCommandExit };

struct FileRecord {
  plat::FileDesc direct;  // direct mode
  int threaded;           // cache or asynchronous was asked
  int cache;
  int async;
  int eof;
  int64_t position;
  int64_t size;
  plat::Thread* thread;
  plat::FileDesc threadFile;  // the reader thread's own descriptor
  plat::Event* request;       // manual reset, created not signalled
  plat::Event* done;          // manual reset, created signalled
  int command;
  int threadEnded;
  int error;
  char path[kFileNameCapacity];
  // One request: in, the wanted byte count; out, the bytes really read.
  uint8_t* requestBuffer;
  int64_t requestPosition;
  int64_t requestCount;
  int64_t seekTarget;
  // Read-ahead cache (reader thread only).
  uint8_t* cacheBuffer;
  int64_t cacheStart;
  int64_t cacheValid;
  // An asynchronous read whose result the caller has not seen yet.
  int readOutstanding;
  int64_t readStart;
  int64_t readWanted;
  int64_t lastReadBytes;
};

FileHandle OpenThreadFile(const char* path, int cache, int third, int async);
int CloseThreadFile(FileHandle file);
int64_t ThreadFileTell(FileHandle file);
int ThreadFileSeek(FileHandle file, int64_t offset, int origin);
size_t ThreadFileRead(void* buffer, size_t size, size_t count, FileHandle file);
int ThreadFileEof(FileHandle file);
int ThreadFileIdle(FileHandle file);

// Waits until no request is pending and takes in the result of an
// asynchronous read. Returns the bytes the last read really delivered.
int64_t ThreadFileSettle(FileRecord* record);

// Reads up to `count` bytes at `offset` now, on the calling thread, once the
// reader thread has finished what it was given: a caller that would only
// wait for the reader takes no hand-off. Leaves the position after the
// bytes read. The bytes read, or -1.
int64_t ThreadFileReadNow(FileRecord* record, void* buffer, size_t count, int64_t offset);

}  // namespace qor
