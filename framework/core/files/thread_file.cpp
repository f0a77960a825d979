#include "framework/core/files/thread_file.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"

namespace qor {

namespace {

FileRecord* RecordOf(FileHandle file) { return reinterpret_cast<FileRecord*>(file); }

// The reader thread's idle work: fill the cache tail while nobody asks.
void ReadAhead(FileRecord* r) {
  if (r->threadFile == plat::kNoFile || r->cacheValid >= static_cast<int64_t>(kFileCacheBytes)) return;
  if (plat::SeekFile(r->threadFile, r->cacheStart + r->cacheValid, 0) < 0) return;
  const int64_t got = plat::ReadFileBytes(r->threadFile, r->cacheBuffer + r->cacheValid,
                                          kFileCacheBytes - static_cast<size_t>(r->cacheValid));
  if (got > 0) r->cacheValid += got;
}

void ServeRead(FileRecord* r) {
  uint8_t* out = r->requestBuffer;
  int64_t position = r->requestPosition;
  int64_t wanted = r->requestCount;
  int64_t delivered = 0;
  if (r->cache && r->cacheValid > 0 && position == r->cacheStart) {
    const int64_t n = wanted < r->cacheValid ? wanted : r->cacheValid;
    std::memcpy(out, r->cacheBuffer, static_cast<size_t>(n));
    out += n;
    position += n;
    delivered += n;
    wanted -= n;
    r->cacheStart += n;
    r->cacheValid -= n;
    std::memmove(r->cacheBuffer, r->cacheBuffer + n, static_cast<size_t>(r->cacheValid));
  }
  if (wanted > 0) {
    int64_t got = 0;
    if (plat::SeekFile(r->threadFile, position, 0) >= 0) got = plat::ReadFileBytes(r->threadFile, out, static_cast<size_t>(wanted));
    if (got < 0) got = 0;
    delivered += got;
    if (r->cache) {
      r->cacheStart = position + got;
      r->cacheValid = 0;
    }
  }
  // The count covers the cache bytes as well as the file bytes.
  r->requestCount = delivered;
}

void FileAccessThreadProc(void* argument) {
  FileRecord* r = static_cast<FileRecord*>(argument);
  for (;;) {
    if (r->cache) {
      if (plat::WaitEvent(r->request, 100) != 0) {
        ReadAhead(r);
        continue;
      }
    } else {
      plat::WaitEvent(r->request, -1);
    }
    plat::ResetEvent(r->request);
    plat::ResetEvent(r->done);
    switch (r->command) {
      case kFileCommandOpen:
        r->threadFile = plat::OpenFileForRead(r->path);
        if (r->threadFile == plat::kNoFile) {
          r->error = 1;
          r->threadEnded = 1;
          plat::SetEvent(r->done);
          return;
        }
        break;
      case kFileCommandClose:
        plat::CloseFile(r->threadFile);
        r->threadFile = plat::kNoFile;
        break;
      case kFileCommandRead:
        ServeRead(r);
        break;
      case kFileCommandSeek:
        if (r->cache) {
          r->cacheStart = r->seekTarget;
          r->cacheValid = 0;
        }
        break;
      case kFileCommandExit:
        if (r->threadFile != plat::kNoFile) plat::CloseFile(r->threadFile);
        r->threadFile = plat::kNoFile;
        r->threadEnded = 1;
        plat::SetEvent(r->done);
        return;
      default:
        break;
    }
    plat::SetEvent(r->done);
  }
}

// Hands one command to the reader thread once the previous one is done.
void PostCommand(FileRecord* r, int command) {
  ThreadFileSettle(r);
  r->command = command;
  plat::ResetEvent(r->done);
  plat::SetEvent(r->request);
}

void FreeThreadParts(FileRecord* r) {
  if (r->cacheBuffer != nullptr) FreeMemory(r->cacheBuffer);
  plat::CloseEvent(r->request);
  plat::CloseEvent(r->done);
  r->cacheBuffer = nullptr;
  r->request = r->done = nullptr;
}

}  // namespace

int64_t ThreadFileSettle(FileRecord* r) {
  if (!r->threaded) return r->lastReadBytes;
  plat::WaitEvent(r->done, -1);
  if (r->readOutstanding) {
    r->readOutstanding = 0;
    r->lastReadBytes = r->requestCount;
    // The position moved ahead by what was asked; pull it back to what came.
    if (r->requestCount < r->readWanted && r->position == r->readStart + r->readWanted) {
      r->position = r->readStart + r->requestCount;
    }
  }
  return r->lastReadBytes;
}

int64_t ThreadFileReadNow(FileRecord* r, void* buffer, size_t count, int64_t offset) {
  ThreadFileSettle(r);
  // The reader's cache holds bytes the file position has not reached; only
  // the reader may hand them out.
  if (r->cache) {
    if (ThreadFileSeek(reinterpret_cast<FileHandle>(r), offset, 0) != 0) return -1;
    ThreadFileRead(buffer, count, 1, reinterpret_cast<FileHandle>(r));
    return ThreadFileSettle(r);
  }
  // The reader thread is idle and seeks before each of its own reads, so
  // its descriptor is ours until the next command.
  const plat::FileDesc file = r->threaded ? r->threadFile : r->direct;
  if (file == plat::kNoFile || offset < 0 || plat::SeekFile(file, offset, 0) < 0) return -1;
  const int64_t got = plat::ReadFileBytes(file, buffer, count);
  if (got < 0) return -1;
  r->position = offset + got;
  r->eof = 0;
  r->lastReadBytes = got;
  return got;
}

FileHandle OpenThreadFile(const char* path, int cache, int /*third*/, int async) {
  FileRecord* r = static_cast<FileRecord*>(AllocMemoryZeroed(sizeof(FileRecord), __FILE__, __LINE__));
  if (r == nullptr) return 0;
  r->direct = plat::kNoFile;
  r->threadFile = plat::kNoFile;
  r->threaded = (cache || async) ? 1 : 0;
  r->cache = cache ? 1 : 0;
  r->async = async ? 1 : 0;
  if (path == nullptr || CopyStringN(r->path, sizeof r->path, path) != 0) {
    FreeMemory(r);
    return 0;
  }
  const plat::FileDesc probe = plat::OpenFileForRead(path);
  if (probe == plat::kNoFile) {
    const int threaded = r->threaded;
    FreeMemory(r);
    // A missing file is silent only in direct mode; a reader thread would
    // have reported the open it could not make.
    if (threaded) LogOutput("ファイルのオープンに失敗しました\n");
    return 0;
  }
  r->size = plat::GetFileSize(probe);
  if (r->size < 0) {
    plat::CloseFile(probe);
    FreeMemory(r);
    return 0;
  }
  if (!r->threaded) {
    r->direct = probe;
    return reinterpret_cast<FileHandle>(r);
  }
  plat::CloseFile(probe);
  if (r->cache) {
    r->cacheBuffer = static_cast<uint8_t*>(AllocMemory(kFileCacheBytes, __FILE__, __LINE__));
    if (r->cacheBuffer == nullptr) {
      FreeMemory(r);
      LogOutput("ファイル読み込みキャッシュ用メモリの確保に失敗しました\n");
      return 0;
    }
  }
  r->request = plat::CreateEvent(true, false);
  r->done = plat::CreateEvent(true, true);
  if (r->request != nullptr && r->done != nullptr) r->thread = plat::CreateThread(FileAccessThreadProc, r);
  if (r->thread == nullptr) {
    FreeThreadParts(r);
    FreeMemory(r);
    LogOutput("ファイルアクセス専用スレッドの作成に失敗しました\n");
    return 0;
  }
  PostCommand(r, kFileCommandOpen);
  plat::WaitEvent(r->done, -1);
  if (r->error) {
    plat::JoinThread(r->thread);
    FreeThreadParts(r);
    FreeMemory(r);
    LogOutput("ファイルのオープンに失敗しました\n");
    return 0;
  }
  return reinterpret_cast<FileHandle>(r);
}

int CloseThreadFile(FileHandle file) {
  FileRecord* r = RecordOf(file);
  if (r == nullptr) return -1;
  int result = 0;
  if (!r->threaded) {
    result = plat::CloseFile(r->direct);
  } else {
    PostCommand(r, kFileCommandExit);
    plat::WaitEvent(r->done, -1);
    plat::JoinThread(r->thread);
    FreeThreadParts(r);
  }
  FreeMemory(r);
  return result;
}

int64_t ThreadFileTell(FileHandle file) {
  FileRecord* r = RecordOf(file);
  return r == nullptr ? -1 : r->position;
}

int ThreadFileSeek(FileHandle file, int64_t offset, int origin) {
  FileRecord* r = RecordOf(file);
  if (r == nullptr) return -1;
  if (r->threaded) ThreadFileSettle(r);
  int64_t base = 0;
  if (origin == 1) {
    base = r->position;
  } else if (origin == 2) {
    base = r->size;
  } else if (origin != 0) {
    return -1;
  }
  // A target before the start is refused; one past the end is kept and
  // reads there return nothing.
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) return -1;
  if (!r->threaded) {
    if (plat::SeekFile(r->direct, target, 0) < 0) return -1;
  } else {
    r->seekTarget = target;
    PostCommand(r, kFileCommandSeek);
  }
  r->position = target;
  r->eof = 0;
  return 0;
}

size_t ThreadFileRead(void* buffer, size_t size, size_t count, FileHandle file) {
  FileRecord* r = RecordOf(file);
  if (r == nullptr || size == 0) return 0;
  if (r->threaded) ThreadFileSettle(r);
  if (r->position >= r->size) {
    r->eof = 1;
    return 0;
  }
  const uint64_t remaining = static_cast<uint64_t>(r->size - r->position);
  if (count > remaining / size) count = static_cast<size_t>(remaining / size);
  if (count == 0) {
    r->eof = 1;
    return 0;
  }
  const size_t bytes = size * count;
  if (!r->threaded) {
    const int64_t got = plat::ReadFileBytes(r->direct, buffer, bytes);
    if (got <= 0) return 0;
    r->position += got;
    r->lastReadBytes = got;
    return static_cast<size_t>(got) / size;
  }
  r->requestBuffer = static_cast<uint8_t*>(buffer);
  r->requestPosition = r->position;
  r->requestCount = static_cast<int64_t>(bytes);
  r->readStart = r->position;
  r->readWanted = static_cast<int64_t>(bytes);
  PostCommand(r, kFileCommandRead);
  r->readOutstanding = 1;
  r->position += static_cast<int64_t>(bytes);
  if (r->async) return count;
  return static_cast<size_t>(ThreadFileSettle(r)) / size;
}

int ThreadFileEof(FileHandle file) {
  FileRecord* r = RecordOf(file);
  return (r != nullptr && r->eof) ? -1 : 0;
}

int ThreadFileIdle(FileHandle file) {
  FileRecord* r = RecordOf(file);
  if (r == nullptr) return 1;
  if (!r->threaded) return 1;
  if (plat::WaitEvent(r->done, 0) != 0) return 0;
  ThreadFileSettle(r);
  return 1;
}

}  // namespace qor
