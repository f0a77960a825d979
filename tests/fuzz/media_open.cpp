// The movie-player stand-in over a movie file written from the input: the
// container and stream probe, the video decoder, and a few frames converted
// into 32-bit and 16-bit sample blocks.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
      const bool wide = (size & 1) != 0;
      const plat::MediaSampleFormat format =
          wide ? plat::MediaSampleFormat{32, 0xFF0000, 0xFF00, 0xFF} : plat::MediaSampleFormat{16, 0xF800, 0x7E0, 0x1F};
      const int32_t pitch = width * (wide ? 4 : 2);
      std::vector<uint8_t> block(static_cast<size_t>(pitch) * height);
      plat::MediaSample* sample = plat::CreateMediaSample(file, format, block.data(), pitch, width, height);
      for (int i = 0; sample != nullptr && i < 4; ++i) {
        if (plat::UpdateMediaSample(sample, nullptr) != plat::kMediaUpdateOk) break;
      }
      plat::SeekMedia(file, 0);
    }
    plat::CloseMediaFile(file);
  }
  std::remove(hostPath);
  return 0;
}
