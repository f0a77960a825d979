#include "platform/kernel/temp_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/kernel/path_map.h"
#include "platform/kernel/text_encoding.h"

namespace plat {

int GetTempFolder(char* out, size_t capacity) {
  const char* tmp = getenv("TMPDIR");
  if (tmp == nullptr || tmp[0] != '/') tmp = "/tmp";
  char cp932[PATH_MAX * 2];
  const int length = HostPathToCp932(tmp, cp932, sizeof cp932);
  if (length < 0) return -1;
  std::string folder = cp932;
  if (folder.size() != 3) folder += '\\';  // "Z:\" alone already ends with one
  if (folder.size() + 1 > capacity) return -1;
  std::memcpy(out, folder.c_str(), folder.size() + 1);
  return static_cast<int>(folder.size());
}

int MakeTempFileName(const char* folder, const char* prefix, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  char hostFolder[PATH_MAX];
  if (MapPathToHost(folder, hostFolder, sizeof hostFolder) != 0) return -1;
  char utf8Prefix[64];
  if (Cp932ToUtf8(prefix, utf8Prefix, sizeof utf8Prefix) < 0) return -1;
  std::string templ = std::string(hostFolder) + (std::strcmp(hostFolder, "/") == 0 ? "" : "/") + utf8Prefix +
                      "XXXXXX.tmp";
  const int fd = mkstemps(templ.data(), 4);
  if (fd < 0) return -1;
  close(fd);
  if (HostPathToCp932(templ.c_str(), out, capacity) < 0) {
    unlink(templ.c_str());
    return -1;
  }
  return 0;
}

}  // namespace plat
