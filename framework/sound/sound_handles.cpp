#include "framework/sound/sound_handles.h"

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"

namespace qor {

namespace {

constexpr uint32_t kMaxCheck = 2047;

int MakeHandle(uint32_t check, int index) {
  return static_cast<int>(((check | 0x1000u) << 16) | static_cast<uint32_t>(index));
}

// The parts of a handle value that name a sound slot, or -1.
int SlotOf(int handle) {
  if (handle < 0 || (handle & 0x78000000) != kSoundHandleKind) return -1;
  const int index = handle & 0xFFFF;
  return index < kMaxSounds ? index : -1;
}

}  // namespace

int AddSoundData(int handle) {
  SoundState& s = GetSoundState();
  int index;
  uint32_t check;
  const bool fresh = handle == -1;
  if (!fresh) {
    // Only an empty slot can take back an earlier handle: a value that names
    // a live record must keep naming that record.
    index = SlotOf(handle);
    if (index < 0 || s.records[index] != nullptr) return -1;
    check = (static_cast<uint32_t>(handle) >> 16) & 0x7FF;
  } else {
    if (s.count >= kMaxSounds) return LogOutput("サウンドの数が許容量を越えました\n");
    index = s.usedEnd;
    if (index >= kMaxSounds) {
      index = 0;
      while (s.records[index] != nullptr) ++index;
    }
    check = s.checkCounter;
  }

  SoundData* record = static_cast<SoundData*>(AllocMemoryZeroed(sizeof(SoundData), "", 0));
  if (record == nullptr) return LogOutput("メモリ領域の確保に失敗しました in AddSoundData");
  if (fresh) {
    ++s.checkCounter;
    if (s.checkCounter > kMaxCheck) s.checkCounter = 0;
  }
  record->check = check;
  s.records[index] = record;
  ++s.count;
  // The used end stays one past the highest live index, also when a given
  // handle re-creates a slot beyond it.
  if (index >= s.usedEnd) s.usedEnd = index + 1;
  return fresh ? MakeHandle(check, index) : handle;
}

SoundData* GetSoundData(int handle) {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr) return nullptr;
  const int index = SlotOf(handle);
  if (index < 0) return nullptr;
  SoundData* record = s.records[index];
  if (record == nullptr || record->check != ((static_cast<uint32_t>(handle) >> 16) & 0x7FF)) return nullptr;
  return record;
}

void RemoveSoundData(int handle) {
  SoundState& s = GetSoundState();
  const int index = SlotOf(handle);
  if (index < 0 || s.records[index] == nullptr) return;
  FreeMemory(s.records[index]);
  s.records[index] = nullptr;
  --s.count;
  if (s.count == 0) {
    s.usedEnd = 0;
  } else if (index == s.usedEnd - 1) {
    while (s.usedEnd > 0 && s.records[s.usedEnd - 1] == nullptr) --s.usedEnd;
  }
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
    if (s.records[i] != nullptr) DeleteSound(MakeHandle(s.records[i]->check, i));
  }
  return 0;
}

}  // namespace qor
