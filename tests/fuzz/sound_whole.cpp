// A whole sound made from the input in memory (creation mode 0): the
// converter's set-up over every reader, the whole conversion into one
// block, the playback buffers made and filled, shared copies made from it,
// a short play and the delete.
#include <cstdint>

#include "guarded_calls.h"
#include "fuzz_support.h"

#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_system.h"
#include "platform/dsound/dsound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  if (!fuzz::StartManualSound()) return 0;
  SetSoundDataCreateMode(0);
  const int buffers = size > 0 ? 1 + data[size - 1] % 3 : 1;
  const int h = CreateSoundFromMemory(data, static_cast<uint32_t>(size), buffers, -1);
  if (h == -1) return 0;
  GetSoundLengthMs(h);
  const int shared = CreateSoundFromMemory(data, static_cast<uint32_t>(size), 1, h);
  PlaySoundHandle(h, 1, 1);
  plat::dsound::AdvanceManual(32);
  GetSoundPositionMs(h);
  if (shared != -1) DeleteSound(shared);
  DeleteSound(h);
  return 0;
}
