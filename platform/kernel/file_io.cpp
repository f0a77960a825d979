#include "platform/kernel/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>

#include "platform/kernel/path_map.h"

namespace plat {

namespace {

// Reader threads open files too, so the counters are atomic.
struct FileStandIn {
  std::atomic<int> failOpens{0};
  std::atomic<int> openCount{0};
};
FileStandIn g_files;

bool MapPath(const char* path, char* out, size_t capacity) {
  return path != nullptr && MapPathToHost(path, out, capacity) == 0;
}

}  // namespace

FileDesc OpenFileForRead(const char* path) {
  char host[PATH_MAX];
  if (!MapPath(path, host, sizeof host)) return kNoFile;
  int failures = g_files.failOpens.load();
  while (failures > 0) {
    if (g_files.failOpens.compare_exchange_weak(failures, failures - 1)) return kNoFile;
  }
  const int fd = open(host, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kNoFile;
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return kNoFile;
  }
  ++g_files.openCount;
  return fd;
}

FileDesc OpenFileForWrite(const char* path, FileCreate how) {
  char host[PATH_MAX];
  if (!MapPath(path, host, sizeof host)) return kNoFile;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  flags |= (how == FileCreate::CreateNew) ? O_EXCL : O_TRUNC;
  const int fd = open(host, flags, 0644);
  return fd < 0 ? kNoFile : fd;
}

int CloseFile(FileDesc file) { return (file >= 0 && close(file) == 0) ? 0 : -1; }

int64_t ReadFileBytes(FileDesc file, void* buffer, size_t count) {
  char* out = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = read(file, out + done, count - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}

int64_t WriteFileBytes(FileDesc file, const void* buffer, size_t count) {
  const char* in = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t put = write(file, in + done, count - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    done += static_cast<size_t>(put);
  }
  return static_cast<int64_t>(done);
}

int64_t SeekFile(FileDesc file, int64_t offset, int origin) {
  const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) return -1;
  const off_t at = lseek(file, static_cast<off_t>(offset), whence);
  return at < 0 ? -1 : static_cast<int64_t>(at);
}

int64_t GetFileSize(FileDesc file) {
  struct stat st{};
  if (fstat(file, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int DeleteFileAt(const char* path) {
  char host[PATH_MAX];
  if (!MapPath(path, host, sizeof host)) return -1;
  return unlink(host) == 0 ? 0 : -1;
}

int CreateDirectoryAt(const char* path) {
  char host[PATH_MAX];
  if (!MapPath(path, host, sizeof host)) return -1;
  return mkdir(host, 0755) == 0 ? 0 : -1;
}

int QueryPathKind(const char* path) {
  char host[PATH_MAX];
  if (!MapPath(path, host, sizeof host)) return -1;
  struct stat st{};
  if (stat(host, &st) != 0) return -1;
  return S_ISDIR(st.st_mode) ? 1 : 0;
}

void FailNextFileOpens(int count) { g_files.failOpens = count; }
int FileOpenCount() { return g_files.openCount; }
void ResetFileStandIn() {
  g_files.failOpens = 0;
  g_files.openCount = 0;
}

}  // namespace plat
