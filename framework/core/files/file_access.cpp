#include "framework/core/files/file_access.h"

#include "framework/core/archives/archive.h"
#include "framework/core/files/file_paths.h"
#include "framework/core/files/memory_stream.h"
#include "framework/core/files/thread_file.h"

namespace qor {

namespace {

constexpr FileAccessTable kArchiveSet = {
    ArcFileOpen, ArcFileClose, ArcFileTell, ArcFileSeek, ArcFileRead, ArcFileEof,
    ArcFileIdle, ArcSetCurrentDir, ArcGetCurrentDir, ArcFindFirst, ArcFindNext, ArcFindClose,
};

constexpr FileAccessTable kPlainSet = {
    OpenThreadFile, CloseThreadFile, ThreadFileTell, ThreadFileSeek, ThreadFileRead, ThreadFileEof,
    ThreadFileIdle, SetCurrentDir, GetCurrentDir, FindFirstFileRecord, FindNextFileRecord, FindCloseRecord,
};

constexpr StreamFunctionTable kFileStreams = {
    FileTellDispatch, FileSeekDispatch, FileReadDispatch, FileEofDispatch, FileIdleDispatch, FileCloseDispatch,
};

constexpr StreamFunctionTable kMemoryStreams = {
    MemStreamTell, MemStreamSeek, MemStreamRead, MemStreamEof, MemStreamIdle, FreeMemoryStream,
};

struct FileAccessState {
  FileAccessTable table = kArchiveSet;
  int plainFiles = 0;
  StreamFunctionTable fileStreams = kFileStreams;
  StreamFunctionTable memoryStreams = kMemoryStreams;
};

FileAccessState g_access;

}  // namespace

void ResetFileAccessState() { g_access = FileAccessState{}; }

int SetFileAccessTable(const FileAccessTable* table) {
  if (table != nullptr) {
    g_access.table = *table;
  } else {
    g_access.table = g_access.plainFiles ? kPlainSet : kArchiveSet;
  }
  return 0;
}

const FileAccessTable* GetFileAccessTable() { return &g_access.table; }
const FileAccessTable* GetPlainFileAccessSet() { return &kPlainSet; }
const FileAccessTable* GetArchiveFileAccessSet() { return &kArchiveSet; }

int SetPlainFilesSwitch(int on) {
  g_access.plainFiles = on ? 1 : 0;
  return 0;
}

FileHandle FileOpenDispatch(const char* path, int cache, int third, int async) {
  return g_access.table.open(path, cache, third, async);
}
int FileCloseDispatch(FileHandle file) { return g_access.table.close(file); }
int64_t FileTellDispatch(FileHandle file) { return g_access.table.tell(file); }
int FileSeekDispatch(FileHandle file, int64_t offset, int origin) { return g_access.table.seek(file, offset, origin); }
size_t FileReadDispatch(void* buffer, size_t size, size_t count, FileHandle file) {
  return g_access.table.read(buffer, size, count, file);
}
int FileEofDispatch(FileHandle file) { return g_access.table.eof(file); }
int FileIdleDispatch(FileHandle file) { return g_access.table.idle(file); }
int SetCurrentDirDispatch(const char* path) { return g_access.table.setCurrentDir(path); }
int GetCurrentDirDispatch(char* buffer, size_t capacity) { return g_access.table.getCurrentDir(buffer, capacity); }

void InitStreamTables() {
  g_access.fileStreams = kFileStreams;
  g_access.memoryStreams = kMemoryStreams;
}

const StreamFunctionTable* GetFileStreamTable() { return &g_access.fileStreams; }
const StreamFunctionTable* GetMemoryStreamTable() { return &g_access.memoryStreams; }

int64_t ClampedSeekTarget(int64_t position, int64_t size, int64_t offset, int origin) {
  if (origin < 0 || origin > 2) return -1;
  const int64_t base = origin == 0 ? 0 : origin == 1 ? position : size;
  int64_t target = 0;
  if (__builtin_add_overflow(base, offset, &target)) target = offset < 0 ? 0 : size;
  return target < 0 ? 0 : target > size ? size : target;
}

StreamSource MakeStreamSource(const StreamFunctionTable* table, StreamHandle handle) {
  return StreamSource{*table, handle};
}

}  // namespace qor
