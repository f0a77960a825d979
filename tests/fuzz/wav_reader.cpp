// The sound converter over a memory stream: the WAV chunk walk and every
// reader behind it (plain PCM, compressed WAV and its codecs, Ogg Vorbis, the
// MPEG frame walk), whole and in small blocks with a seek.
#include <cstdint>

#include "guarded_calls.h"
#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  const StreamHandle stream = OpenMemoryStream(data, size);
  if (stream == 0) return 0;
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter converter{};
  if (SetupSoundConverter(&source, &converter) == 0) {
    uint8_t block[4096];
    for (int i = 0; i < 64 && ConvertSoundData(&converter, block, sizeof block) > 0; ++i) {
    }
    SeekSoundConverter(&converter, 3);
    WAVEFORMATEX format{};
    uint8_t* whole = nullptr;
    uint32_t wholeSize = 0;
    if (GetConvertedSoundSize(&converter) <= (1u << 24) &&
        ConvertWholeSound(&converter, &format, &whole, &wholeSize) == 0) {
      FreeMemory(whole);
    }
    EndSoundConverter(&converter);
  }
  FreeMemoryStream(stream);
  return 0;
}
