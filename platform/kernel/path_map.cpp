#include "platform/kernel/path_map.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/kernel/text_encoding.h"

namespace plat {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Finds `name` in `dir`: the exact name when it exists, else the first entry
// equal to it without regard to ASCII case, else the name as written.
std::string ResolveComponent(const std::string& dir, const std::string& name) {
  struct stat st{};
  const std::string exact = (dir == "/" ? "" : dir) + "/" + name;
  if (lstat(exact.c_str(), &st) == 0) return name;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return name;
  std::string found = name;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

}  // namespace

int GetCurrentDirectoryCp932(char* out, size_t capacity) {
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd) == nullptr) return -1;
  return HostPathToCp932(cwd, out, capacity);
}

int SetCurrentDirectoryCp932(const char* path) {
  char host[PATH_MAX];
  if (path == nullptr || MapPathToHost(path, host, sizeof host) != 0) return -1;
  return chdir(host) == 0 ? 0 : -1;
}

int HostPathToCp932(const char* utf8, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  std::string absolute = utf8;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr) return -1;
    absolute = std::string(cwd) + (absolute.empty() ? "" : "/" + absolute);
  }
  char cp932[PATH_MAX * 2];
  if (Utf8ToCp932(absolute.c_str(), cp932, sizeof cp932) < 0) return -1;
  // Slashes become backslashes; repeated slashes and a trailing one go. A
  // trail byte 0x5C of a double-byte character is not a separator.
  std::string result = "Z:";
  bool endsWithSeparator = false;
  for (const char* p = cp932; *p != '\0'; ++p) {
    if (*p == '/') {
      if (!endsWithSeparator) result += '\\';
      endsWithSeparator = true;
      continue;
    }
    result += *p;
    if (IsCp932Lead(static_cast<unsigned char>(*p)) && p[1] != '\0') result += *++p;
    endsWithSeparator = false;
  }
  if (endsWithSeparator && result.size() > 3) result.pop_back();
  if (result == "Z:") result += '\\';
  if (result.size() + 1 > capacity) return -1;
  std::memcpy(out, result.c_str(), result.size() + 1);
  return static_cast<int>(result.size());
}

int MapPathToHost(const char* path, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  const char* p = path;
  std::string base;
  if ((p[0] == 'Z' || p[0] == 'z') && p[1] == ':') {
    p += 2;
    base = "/";
  } else if (IsSeparator(p[0])) {
    base = "/";
  } else {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr) return -1;
    base = cwd;
  }
  // Split into components, stepping over double-byte characters so that a
  // trail byte 0x5C is never taken for a separator.
  std::string result = base;
  std::string component;
  auto flush = [&]() -> bool {
    if (component.empty() || component == ".") {
      component.clear();
      return true;
    }
    if (component == "..") {
      const size_t slash = result.find_last_of('/');
      result.erase(slash == 0 ? 1 : slash);
      component.clear();
      return true;
    }
    char utf8[NAME_MAX * 4 + 1];
    if (Cp932ToUtf8(component.c_str(), utf8, sizeof utf8) < 0) return false;
    const std::string name = ResolveComponent(result, utf8);
    if (result != "/") result += '/';
    result += name;
    component.clear();
    return true;
  };
  while (*p != '\0') {
    if (IsCp932Lead(static_cast<unsigned char>(*p)) && p[1] != '\0') {
      component += p[0];
      component += p[1];
      p += 2;
    } else if (IsSeparator(*p)) {
      if (!flush()) return -1;
      ++p;
    } else {
      component += *p++;
    }
  }
  if (!flush()) return -1;
  if (result.size() + 1 > capacity) return -1;
  std::memcpy(out, result.c_str(), result.size() + 1);
  return 0;
}

}  // namespace plat
