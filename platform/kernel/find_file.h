// Find-file over the drive "Z:": a pattern names a directory and a last
// element with the wildcards "*" and "?", matched without regard to ASCII
// case. Names are CP932; times are file times (100 ns units since 1601 UTC).
#pragma once

#include <cstdint>

namespace plat {

constexpr int kFindNameCapacity = 260;

struct FindEntry {
  char name[kFindNameCapacity];
  int isDirectory;
  uint64_t size;
  uint64_t creationTime;   // the host keeps no creation time: last change
  uint64_t lastWriteTime;
};

struct FindSearch;

// Starts a search and gives the first match; nullptr when nothing matches.
// Entries are given in name order, "." and ".." first (".." not at "/").
FindSearch* FindFirstFile(const char* pattern, FindEntry* out);
int FindNextFile(FindSearch* search, FindEntry* out);  // 0, or -1 at the end
int FindClose(FindSearch* search);                      // 0, or -1

// "*" matches any run of bytes (backtracking, so "*.BMP" matches
// "A.B.BMP"), "?" one character; double-byte characters compare whole.
bool MatchWildcard(const char* pattern, const char* name, bool ignoreAsciiCase);

uint64_t UnixTimeToFileTime(int64_t seconds, int64_t nanoseconds);

}  // namespace plat
