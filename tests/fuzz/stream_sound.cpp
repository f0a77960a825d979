// A stream sound made of the input (an image part and one converted whole),
// played looping on the manual sink with the refill run between mixes.
#include <cstdint>

#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_system.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/stream_sound.h"
#include "platform/dsound/dsound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  static bool started = [] {
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    return InitDirectSound() == 0;
  }();
  if (!started) return 0;
  SetSoundDataCreateMode(2);
  const int h = CreateSoundFromMemory(data, static_cast<uint32_t>(size), 1, -1);
  SetSoundDataCreateMode(0);
  if (h == -1) return 0;
  const StreamHandle stream = OpenMemoryStream(data, size);
  if (stream != 0) {
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    int owns = 0;
    AddSreamSound(&source, 1, h, 0, &owns, -1);
    FreeMemoryStream(stream);
  }
  PlaySoundHandle(h, 3, 1);
  for (int i = 0; i < 40; ++i) {
    plat::dsound::AdvanceManual(11025);
    UpdateStreamSounds();
    GetSoundPositionMs(h);
  }
  DeleteSound(h);
  return 0;
}
