// Files by CP932 path on the drive "Z:" (see path_map.h): open, create,
// read, write, seek, size, delete, directories.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using FileDesc = int;
constexpr FileDesc kNoFile = -1;

enum class FileCreate {
  CreateNew,     // fails when the file exists
  CreateAlways,  // truncates an existing file
};

// Opens an existing regular file for reading; a directory does not open.
FileDesc OpenFileForRead(const char* path);
// Opens a file for writing only.
FileDesc OpenFileForWrite(const char* path, FileCreate how);
int CloseFile(FileDesc file);  // 0, or -1

// Reads until `count` bytes are in or the file ends. Returns the bytes read
// (fewer only at the end of the file), or -1 on an error.
int64_t ReadFileBytes(FileDesc file, void* buffer, size_t count);
// Writes all `count` bytes; the count, or -1.
int64_t WriteFileBytes(FileDesc file, const void* buffer, size_t count);
// origin 0 start, 1 current, 2 end. Returns the new position, or -1 (a
// target before the start fails and leaves the position unchanged).
int64_t SeekFile(FileDesc file, int64_t offset, int origin);
int64_t GetFileSize(FileDesc file);  // -1 on error

int DeleteFileAt(const char* path);       // 0, or -1
int CreateDirectoryAt(const char* path);  // 0, or -1 (also when it exists)
// 1 for a directory, 0 for another existing file, -1 when nothing is there.
int QueryPathKind(const char* path);

// Failure injection and counters for tests: the next N opens for reading
// fail; the number of opens that succeeded since the last reset.
void FailNextFileOpens(int count);
int FileOpenCount();
void ResetFileStandIn();

}  // namespace plat
