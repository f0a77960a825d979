// The file system as the framework sees it: one drive "Z:" whose root is
// "/", backslash or slash as separators, names in CP932, letter case of
// ASCII letters not significant.
#pragma once

#include <cstddef>

namespace plat {

// Maps a CP932 path (absolute "Z:\a\b", rooted "\a\b", or relative to the
// current directory) to a UTF-8 host path. Each existing component is
// matched exactly first, then without regard to ASCII case; components that
// do not exist are kept as written, so the result also names files about to
// be created. Returns 0, or -1 when the path cannot be converted or does not
// fit in `capacity`.
int MapPathToHost(const char* path, char* out, size_t capacity);

// The current directory in the framework's form ("Z:\home\me"), CP932.
// Returns the length, or -1 when it does not fit.
int GetCurrentDirectoryCp932(char* out, size_t capacity);

// Changes the current directory to a CP932 path (resolved as above).
// Returns 0, or -1 when it does not name a directory.
int SetCurrentDirectoryCp932(const char* path);

// The framework's form of a UTF-8 host path ("/a/b" becomes "Z:\a\b"); a
// relative host path is taken from the current directory. Returns the
// length, or -1 when it cannot be converted or does not fit.
int HostPathToCp932(const char* utf8, char* out, size_t capacity);

}  // namespace plat
