// The temporary folder and unique temporary file names on the drive "Z:".
#pragma once

#include <cstddef>

namespace plat {

// The temporary folder ($TMPDIR, else /tmp) as "Z:\tmp\", with a trailing
// backslash. Returns the length, or -1 when it does not fit.
int GetTempFolder(char* out, size_t capacity);

// Makes a new empty file "<prefix>XXXXXX.tmp" in `folder` (a CP932 path)
// and writes its CP932 path. Returns 0, or -1.
int MakeTempFileName(const char* folder, const char* prefix, char* out, size_t capacity);

}  // namespace plat
