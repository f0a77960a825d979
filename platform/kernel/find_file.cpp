#include "platform/kernel/find_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "platform/kernel/path_map.h"
#include "platform/kernel/text_encoding.h"

namespace plat {

struct FindSearch {
  std::vector<FindEntry> entries;
  size_t next = 0;
};

namespace {

int Width(const char* p) { return (IsCp932Lead(static_cast<unsigned char>(*p)) && p[1] != '\0') ? 2 : 1; }
char Fold(char c, bool ignoreCase) { return (ignoreCase && c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool SameChar(const char* a, const char* b, int width, bool ignoreCase) {
  if (width == 2) return a[0] == b[0] && a[1] == b[1];
  return Fold(a[0], ignoreCase) == Fold(b[0], ignoreCase);
}

void FillEntry(const std::string& cp932Name, const struct stat& st, FindEntry* out) {
  std::memset(out, 0, sizeof *out);
  std::memcpy(out->name, cp932Name.c_str(), cp932Name.size() + 1);
  out->isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
  out->size = out->isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
  out->lastWriteTime = UnixTimeToFileTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  out->creationTime = UnixTimeToFileTime(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
}

}  // namespace

bool MatchWildcard(const char* pattern, const char* name, bool ignoreAsciiCase) {
  // Greedy scan with one resume point: the last "*" seen and the name
  // position it has swallowed up to. A mismatch lets that star take one more
  // character, which is all the backtracking a single-star pattern language
  // needs.
  const char* p = pattern;
  const char* n = name;
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*n != '\0') {
    if (*p == '*') {
      while (*p == '*') ++p;
      starPattern = p;
      starName = n;
      continue;
    }
    const int nw = Width(n);
    if (*p != '\0') {
      const int pw = Width(p);
      if (*p == '?') {
        p += 1;
        n += nw;
        continue;
      }
      if (pw == nw && SameChar(p, n, pw, ignoreAsciiCase)) {
        p += pw;
        n += nw;
        continue;
      }
    }
    if (starPattern == nullptr) return false;
    starName += Width(starName);
    n = starName;
    p = starPattern;
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

FindSearch* FindFirstFile(const char* pattern, FindEntry* out) {
  if (pattern == nullptr) return nullptr;
  // Split off the last element (the wildcard part), stepping over pairs.
  const char* last = pattern;
  for (const char* p = pattern; *p != '\0'; p += Width(p)) {
    if (*p == '\\' || *p == '/') last = p + 1;
  }
  if (*last == '\0') return nullptr;
  const size_t dirLength = static_cast<size_t>(last - pattern);
  const std::string dir = dirLength == 0 ? std::string(1, '.') : std::string(pattern, dirLength);
  char host[PATH_MAX];
  if (MapPathToHost(dir.c_str(), host, sizeof host) != 0) return nullptr;
  DIR* d = opendir(host);
  if (d == nullptr) return nullptr;
  // "*.*" is the habit for "everything", names without a point included.
  const bool everything = std::strcmp(last, "*.*") == 0;
  const bool atRoot = std::strcmp(host, "/") == 0;
  FindSearch* search = new (std::nothrow) FindSearch;
  if (search == nullptr) {
    closedir(d);
    return nullptr;
  }
  while (dirent* e = readdir(d)) {
    if (atRoot && std::strcmp(e->d_name, "..") == 0) continue;
    char cp932[kFindNameCapacity];
    if (Utf8ToCp932(e->d_name, cp932, sizeof cp932) < 0) continue;  // no CP932 form
    if (!everything && !MatchWildcard(last, cp932, true)) continue;
    std::string full = host;
    if (!atRoot) full += '/';
    full += e->d_name;
    struct stat st{};
    if (stat(full.c_str(), &st) != 0) continue;
    FindEntry entry;
    FillEntry(cp932, st, &entry);
    search->entries.push_back(entry);
  }
  closedir(d);
  // Name order, with "." and ".." sorting first by their bytes anyway.
  std::sort(search->entries.begin(), search->entries.end(),
            [](const FindEntry& a, const FindEntry& b) { return std::strcmp(a.name, b.name) < 0; });
  if (search->entries.empty()) {
    delete search;
    return nullptr;
  }
  *out = search->entries[0];
  search->next = 1;
  return search;
}

int FindNextFile(FindSearch* search, FindEntry* out) {
  if (search == nullptr || search->next >= search->entries.size()) return -1;
  *out = search->entries[search->next++];
  return 0;
}

int FindClose(FindSearch* search) {
  if (search == nullptr) return -1;
  delete search;
  return 0;
}

uint64_t UnixTimeToFileTime(int64_t seconds, int64_t nanoseconds) {
  constexpr int64_t kEpochDifference = 11644473600LL;  // 1601-01-01 to 1970-01-01
  const int64_t ticks = (seconds + kEpochDifference) * 10000000LL + nanoseconds / 100;
  return ticks < 0 ? 0 : static_cast<uint64_t>(ticks);
}

}  // namespace plat
