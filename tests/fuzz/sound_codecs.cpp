// The sound converter's compressed readers over a memory stream: the
// compressed-WAV walk and its codecs (ADPCM, G.711, MPEG in WAV), the Ogg
// Vorbis glue and the MPEG frame walk. The input is converted in uneven
// blocks with seeks back and forth, then whole.
#include <cstdint>

#include "framework/core/memory.h"
#include "framework/core/memory_stream.h"
#include "framework/sound/sound_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  const StreamHandle stream = OpenMemoryStream(data, size);
  if (stream == 0) return 0;
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter converter{};
  if (SetupSoundConverter(&source, &converter) == 0) {
    static uint8_t block[8192];
    const uint32_t sizes[] = {1, 4093, 8192, 17};
    for (int i = 0; i < 32; ++i) {
      if (ConvertSoundData(&converter, block, sizes[i % 4]) <= 0) break;
      if (i == 9) SeekSoundConverter(&converter, 1);
      if (i == 13) SeekSoundConverter(&converter, 5000);
    }
    SeekSoundConverter(&converter, 0);
    WAVEFORMATEX format{};
    uint8_t* whole = nullptr;
    uint32_t wholeSize = 0;
    if (GetConvertedSoundSize(&converter) <= (1u << 25) &&
        ConvertWholeSound(&converter, &format, &whole, &wholeSize) == 0) {
      FreeMemory(whole);
    }
    EndSoundConverter(&converter);
  }
  FreeMemoryStream(stream);
  return 0;
}
