// A stream sound made of the input (an image part and one converted whole),
// started looping; its play cursor is then moved by hand a quarter of the
// ring at a time and the refill run after each move, so the time goes into
// the readers that fill the ring (WAV, compressed WAV, Ogg Vorbis, MPEG),
// not into mixing.
#include <cstdint>

#include "guarded_calls.h"
#include "fuzz_support.h"

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
  if (!fuzz::StartManualSound()) return 0;
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
  SoundData* r = GetSoundData(h);
  SoundBufferSlot* slot = nullptr;
  if (r != nullptr && ClaimStreamBuffer(h, r, &slot, 0) == 0 && slot != nullptr && r->ringSize >= 4) {
    const uint32_t align = r->format.nBlockAlign != 0 ? r->format.nBlockAlign : 1;
    uint32_t cursor = 0;
    for (int i = 0; i < 40; ++i) {
      // Odd steps land between blocks, so refills start mid-block too.
      cursor = (cursor + r->ringSize / 4 + static_cast<uint32_t>(i & 1) * 3) % r->ringSize;
      slot->buffer->SetCurrentPosition(cursor - cursor % align);
      UpdateStreamSounds();
      GetSoundPositionMs(h);
    }
  }
  plat::dsound::AdvanceManual(64);  // the mixer once, briefly
  UpdateStreamSounds();
  DeleteSound(h);
  return 0;
}
