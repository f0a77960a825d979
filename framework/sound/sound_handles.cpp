#include "framework/sound/sound_handles.h"

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"

namespace qor {

namespace {

// The slot a value names when it is a sound handle, or -1.
int SlotOf(int handle) {
  if (handle < 0 || (handle & kHandleKindMask) != kSoundHandleTag) return -1;
  const int index = HandleSlotIndex(handle);
  return index < kMaxSounds ? index : -1;
}

// Re-creates a record in an earlier handle's slot with that handle's check
// number. Only an empty slot can take it back: a value that names a live
// record must keep naming that record.
int ReAddSoundData(int handle) {
  SoundState& s = GetSoundState();
  const int index = SlotOf(handle);
  if (index < 0 || s.slots[index] != nullptr) return -1;
  SoundData* record = static_cast<SoundData*>(AllocMemoryZeroed(sizeof(SoundData), "", 0));
  if (record == nullptr) return LogOutput("メモリ領域の確保に失敗しました in AddSoundData");
  record->check = (static_cast<uint32_t>(handle) >> 16) & 0x7FF;
  s.slots[index] = record;
  ++s.table.liveCount;
  // The used end stays one past the highest live slot, so fresh handles
  // never land on this one.
  if (index >= s.table.usedEnd) s.table.usedEnd = index + 1;
  return handle;
}

}  // namespace

int AddSoundData(int handle) {
  if (handle != -1) return ReAddSoundData(handle);
  SoundState& s = GetSoundState();
  if (IsHandleTableFull(&s.table)) return LogOutput("サウンドの数が許容量を越えました\n");
  SoundData* record = static_cast<SoundData*>(AllocMemoryZeroed(sizeof(SoundData), "", 0));
  if (record == nullptr) return LogOutput("メモリ領域の確保に失敗しました in AddSoundData");
  return AddHandleEntry(&s.table, record);
}

SoundData* GetSoundData(int handle) {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr) return nullptr;
  return static_cast<SoundData*>(LookupHandleEntry(&s.table, handle));
}

void RemoveSoundData(int handle) {
  SoundState& s = GetSoundState();
  void* record = LookupHandleEntry(&s.table, handle);
  if (record == nullptr) return;
  RemoveHandleEntry(&s.table, handle);
  FreeMemory(record);
}

int GetSoundLengthSamples(int handle) {
  SoundData* record = GetSoundData(handle);
  if (record == nullptr) return -1;
  if (record->kind == 1) return static_cast<int>(record->length);
  if (record->kind != 0 || record->format.nBlockAlign == 0) return 0;
  return static_cast<int>(record->pcmSize / record->format.nBlockAlign);
}

int GetSoundLengthMs(int handle) {
  const int samples = GetSoundLengthSamples(handle);
  if (samples < 0) return -1;
  return UnitsToMs(samples, GetSoundData(handle)->format.nSamplesPerSec);
}

int UnitsToMs(double units, double perSecond) {
  if (perSecond <= 0) return 0;
  const double ms = units * 1000.0 / perSecond;
  return ms >= 2147483647.0 ? 2147483647 : static_cast<int>(ms);
}

int SetSoundDataCreateMode(int mode) {
  if (mode < 0 || mode > 3) return -1;
  GetSoundState().createMode = mode;
  return 0;
}

int GetSoundDataCreateMode() { return GetSoundState().createMode; }

int DeleteAllSounds() {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr) return -1;
  for (int i = 0; i < kMaxSounds; ++i) {
    if (s.slots[i] != nullptr) DeleteSound(HandleOfSlot(&s.table, i));
  }
  return 0;
}

}  // namespace qor
