// The movie-player stand-in over a movie file written from the input: the
// container and stream probe, the video decoder, and a few frames converted
// into 32-, 24- and 16-bit sample blocks of exactly pitch x height bytes,
// with guard bytes after them (and after every block swscale writes).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "guarded_calls.h"
#include "platform/kernel/path_map.h"
#include "platform/media/media_player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static char hostPath[64] = {};
  static char path[256] = {};
  if (hostPath[0] == '\0') {
    std::snprintf(hostPath, sizeof hostPath, "/tmp/fuzz_media_%d.bin", static_cast<int>(getpid()));
    if (plat::HostPathToCp932(hostPath, path, sizeof path) < 0) return 0;
  }
  FILE* f = std::fopen(hostPath, "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);

  plat::MediaFile* file = plat::OpenMediaFile(path);
  if (file != nullptr) {
    int32_t width = 0, height = 0;
    plat::GetMediaVideoSize(file, &width, &height);
    if (width <= 2048 && height <= 2048) {
      static const plat::MediaSampleFormat kFormats[] = {
          {32, 0xFF0000, 0xFF00, 0xFF}, {24, 0xFF0000, 0xFF00, 0xFF}, {16, 0xF800, 0x7E0, 0x1F}};
      const plat::MediaSampleFormat& format = kFormats[size % 3];
      const int32_t pitch = width * (format.bitsPerPixel / 8);
      const size_t bytes = static_cast<size_t>(pitch) * height;
      std::vector<uint8_t> block(bytes + fuzz::kGuardBytes);
      for (size_t i = 0; i < fuzz::kGuardBytes; ++i) block[bytes + i] = fuzz::GuardByte(i);
      plat::MediaSample* sample = plat::CreateMediaSample(file, format, block.data(), pitch, width, height);
      for (int i = 0; sample != nullptr && i < 4; ++i) {
        const int result = plat::UpdateMediaSample(sample, nullptr);
        for (size_t g = 0; g < fuzz::kGuardBytes; ++g) {
          if (block[bytes + g] != fuzz::GuardByte(g)) {
            std::fprintf(stderr, "guard: the movie player wrote past its %zu-byte sample block\n", bytes);
            std::abort();
          }
        }
        if (result != plat::kMediaUpdateOk) break;
      }
      plat::SeekMedia(file, 0);
    }
    plat::CloseMediaFile(file);
  }
  std::remove(hostPath);
  return 0;
}
