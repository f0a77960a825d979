// The few file operations the log needs: replace a file by an empty one and
// append bytes to it. Paths are the framework's (CP932, "Z:\..." or relative
// to the current directory) and are mapped to the host here.
#pragma once

#include <cstddef>

namespace plat {

// 0 when the file is gone afterwards (also when there was none), else -1.
int DeleteFileIfExists(const char* path);

// Creates an empty file; -1 when it already exists or cannot be made.
int CreateEmptyFile(const char* path);

// Opens a file for appending, creating it when missing. Returns a handle
// (>= 0) or -1.
int OpenAppendFile(const char* path);
// Writes all `size` bytes at the end of the file; 0, or -1 on failure.
int AppendFileBytes(int handle, const void* data, size_t size);
void CloseAppendFile(int handle);

}  // namespace plat
