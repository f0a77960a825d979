#include "platform/kernel/file_append.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include "platform/kernel/path_map.h"

namespace plat {

namespace {

bool HostPath(const char* path, char* out, size_t capacity) { return MapPathToHost(path, out, capacity) == 0; }

}  // namespace

int DeleteFileIfExists(const char* path) {
  char host[PATH_MAX];
  if (!HostPath(path, host, sizeof host)) return -1;
  if (unlink(host) == 0 || errno == ENOENT) return 0;
  return -1;
}

int CreateEmptyFile(const char* path) {
  char host[PATH_MAX];
  if (!HostPath(path, host, sizeof host)) return -1;
  const int fd = open(host, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  close(fd);
  return 0;
}

int OpenAppendFile(const char* path) {
  char host[PATH_MAX];
  if (!HostPath(path, host, sizeof host)) return -1;
  const int fd = open(host, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  return fd < 0 ? -1 : fd;
}

int AppendFileBytes(int handle, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(handle, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

void CloseAppendFile(int handle) {
  if (handle >= 0) close(handle);
}

}  // namespace plat
