#include "game/world/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace orb {

long ReadGameFile(const char* path, uint8_t* buffer, size_t cap) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return -1;
  const size_t n = std::fread(buffer, 1, cap, f);
  std::fclose(f);
  return static_cast<long>(n);
}

bool WriteGameFile(const char* path, const uint8_t* data, size_t size) {
  char temp[512];
  if (std::snprintf(temp, sizeof temp, "%s.tmp", path) >= static_cast<int>(sizeof temp)) return false;
  std::FILE* f = std::fopen(temp, "wb");
  if (!f) return false;
  const bool written = std::fwrite(data, 1, size, f) == size;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed || std::rename(temp, path) != 0) {
    const int why = errno;  // what the caller tells the player, not the clean-up's
    std::remove(temp);
    errno = why;
    return false;
  }
  return true;
}

bool EnsureGameFolder(const char* path) {
  if (mkdir(path, 0777) == 0 || errno == EEXIST) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
  }
  return false;
}

bool KeepDamagedFile(const char* path, char* keptAs, size_t size) {
  for (int n = 1; n < 100; ++n) {
    if (n == 1) {
      std::snprintf(keptAs, size, "%s.damaged", path);
    } else {
      std::snprintf(keptAs, size, "%s.damaged%d", path, n);
    }
    struct stat st;
    if (stat(keptAs, &st) == 0 || errno != ENOENT) continue;
    return std::rename(path, keptAs) == 0;
  }
  return false;
}

void TellPlayer(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::fprintf(stderr, "orbworld: %s\n", line);
}

const char* GameFolder() {
  static char folder[4096];
  if (!getcwd(folder, sizeof folder)) std::snprintf(folder, sizeof folder, ".");
  return folder;
}

void PutF32(uint8_t* p, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  PutU32(p, bits);
}

float GetF32(const uint8_t* p) {
  const uint32_t bits = GetU32(p);
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

}  // namespace orb
