// Absolute paths, the current directory, temporary files and find records of
// the plain file set.
#pragma once

#include <cstddef>

#include "framework/core/files/file_access.h"
#include "platform/kernel/file_io.h"

namespace qor {

// Writes the absolute form of `path` to `out` ("Z:\a\b"); with no base the
// current directory (file-table slot 8) is the base. "." elements are
// skipped, ".." removes the last element (never the drive). Returns 0, or -1
// on an empty element, a missing base or an output that does not fit.
int MakeFullPath(const char* path, char* out, size_t capacity, const char* base);

int SetCurrentDir(const char* path);                // 0, or -1
int GetCurrentDir(char* buffer, size_t capacity);   // length, 0 on failure

// A new, empty, write-only file in the temporary folder, its name beginning
// "tmp"; its absolute path goes to `outPath` when one is given. Returns the
// descriptor, or plat::kNoFile.
plat::FileDesc CreateTempFile(char* outPath, size_t capacity);

FindHandle FindFirstFileRecord(const char* pattern, FindRecord* record);
int FindNextFileRecord(FindHandle find, FindRecord* record);
int FindCloseRecord(FindHandle find);

}  // namespace qor
