// The file-access table: twelve operations through which the framework opens
// and reads every file, so that the same loaders read loose files and files
// inside resource archives; and the six-operation stream tables that image
// and sound loaders receive inside a StreamSource.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/time_helpers.h"

namespace qor {

// A framework file handle (0 means failure) and a stream handle (a file
// handle or a MemoryStream pointer). Pointer-sized, never truncated.
using FileHandle = intptr_t;
using StreamHandle = intptr_t;
using FindHandle = intptr_t;  // -1 means failure

constexpr int kFileNameCapacity = 260;

struct FindRecord {
  char name[kFileNameCapacity];
  int32_t isDirectory;
  uint32_t sizeLow;
  uint32_t sizeHigh;
  DateTimeRecord creationTime;
  DateTimeRecord lastWriteTime;
};

struct FileAccessTable {
  FileHandle (*open)(const char* path, int cache, int third, int async);  // 0 on failure
  int (*close)(FileHandle file);                                          // 0 / -1
  int64_t (*tell)(FileHandle file);
  int (*seek)(FileHandle file, int64_t offset, int origin);  // origin 0 start, 1 current, 2 end
  size_t (*read)(void* buffer, size_t size, size_t count, FileHandle file);  // whole elements
  int (*eof)(FileHandle file);   // -1 at the end, else 0
  int (*idle)(FileHandle file);  // 1 when no request is pending
  int (*setCurrentDir)(const char* path);                  // 0 / -1
  int (*getCurrentDir)(char* buffer, size_t capacity);     // length, 0 on failure
  FindHandle (*findFirst)(const char* pattern, FindRecord* record);  // -1 when nothing matches
  int (*findNext)(FindHandle find, FindRecord* record);   // 0, -1 at the end
  int (*findClose)(FindHandle find);                      // 0 / -1
};

struct StreamFunctionTable {
  int64_t (*tell)(StreamHandle stream);
  int (*seek)(StreamHandle stream, int64_t offset, int origin);
  size_t (*read)(void* buffer, size_t size, size_t count, StreamHandle stream);
  int (*eof)(StreamHandle stream);
  int (*idle)(StreamHandle stream);
  int (*close)(StreamHandle stream);
};

struct StreamSource {
  StreamFunctionTable functions;
  StreamHandle handle;
};

// With a table, copies its slots; with none, installs the archive-aware set,
// or the plain set when the plain-files switch is on. Returns 0.
int SetFileAccessTable(const FileAccessTable* table);
const FileAccessTable* GetFileAccessTable();
// Chooses the plain set for the next SetFileAccessTable(nullptr).
int SetPlainFilesSwitch(int on);
const FileAccessTable* GetPlainFileAccessSet();
const FileAccessTable* GetArchiveFileAccessSet();

FileHandle FileOpenDispatch(const char* path, int cache, int third, int async);
int FileCloseDispatch(FileHandle file);
int64_t FileTellDispatch(FileHandle file);
int FileSeekDispatch(FileHandle file, int64_t offset, int origin);
size_t FileReadDispatch(void* buffer, size_t size, size_t count, FileHandle file);
int FileEofDispatch(FileHandle file);
int FileIdleDispatch(FileHandle file);
int SetCurrentDirDispatch(const char* path);
int GetCurrentDirDispatch(char* buffer, size_t capacity);

// Fills the two stream tables (start-up); they are filled at load as well.
void InitStreamTables();
const StreamFunctionTable* GetFileStreamTable();
const StreamFunctionTable* GetMemoryStreamTable();
StreamSource MakeStreamSource(const StreamFunctionTable* table, StreamHandle handle);

// The target of a seek on a block of `size` bytes (origin 0 start, 1
// current, 2 end), clamped to 0..size; a sum that would overflow saturates.
// -1 for an unknown origin.
int64_t ClampedSeekTarget(int64_t position, int64_t size, int64_t offset, int origin);

// Returns the table, the switch and the stream tables to their load state
// (the archive-aware set installed, both stream tables filled).
void ResetFileAccessState();

}  // namespace qor
