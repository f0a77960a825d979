#include "framework/sound/sound_play.h"

#include "framework/core/memory.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/sound_buffers.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/stream_sound.h"
#include "platform/host/host.h"

namespace qor {

namespace {

// One pass of the message processing: 0 normally, -1 once the program must quit.
int PumpOnce() {
  int (*pump)() = GetSoundState().pumpMessages;
  return pump != nullptr ? pump() : 0;
}

}  // namespace

int PlaySoundHandle(int handle, int playType, int restart) {
  SoundData* r = GetSoundData(handle);
  if (r != nullptr && r->kind == kStreamSound) return PlayStreamSound(handle, playType, restart);
  if (r == nullptr || r->bufferCount < 1) return -1;

  // Where the buffer started last now stands: a play without restart
  // carries on from there.
  uint32_t cursor = 0;
  if (r->slots[r->currentBuffer].valid == 1) GetSoundBufferPosition(&r->slots[r->currentBuffer], &cursor);

  r->currentBuffer = r->currentBuffer + 1 >= r->bufferCount ? 0 : r->currentBuffer + 1;
  SoundBufferSlot* slot = &r->slots[r->currentBuffer];
  uint32_t status = 0;
  if (GetSoundBufferStatus(slot, &status) != 0) return -1;
  if (status & plat::DSBSTATUS_PLAYING) {
    if (restart == 0) return 0;
    StopSoundBuffer(slot);
  }
  SetSoundBufferPosition(slot, restart == 1 ? 0 : cursor);
  if (PlaySoundBuffer(slot, playType == 3) != 0) return -1;
  r->playTime = plat::HostMillis();
  if (playType != 0) return 0;

  // Play type 0 waits for the end, keeping the program responsive, and
  // gives up the processor between looks.
  if (PumpOnce() != 0) return 0;
  while (IsSoundPlaying(handle) == 1) {
    plat::HostSleepMs(1);
    if (PumpOnce() != 0) break;
  }
  return 0;
}

int StopSound(int handle) {
  SoundData* r = GetSoundData(handle);
  if (r == nullptr) return -1;
  if (r->kind == kStreamSound) return StopStreamSound(handle);
  for (int i = 0; i < r->bufferCount; ++i) {
    uint32_t status = 0;
    if (GetSoundBufferStatus(&r->slots[i], &status) != 0) return -1;
    if (status & plat::DSBSTATUS_PLAYING) StopSoundBuffer(&r->slots[i]);
  }
  return 0;
}

int IsSoundPlaying(int handle) {
  SoundData* r = GetSoundData(handle);
  if (r == nullptr) return -1;
  if (r->kind == kStreamSound) return IsStreamPlaying(handle);
  for (int i = 0; i < r->bufferCount; ++i) {
    uint32_t status = 0;
    if (GetSoundBufferStatus(&r->slots[i], &status) == 0 && (status & plat::DSBSTATUS_PLAYING)) return 1;
  }
  return 0;
}

int GetSoundPositionMs(int handle) {
  SoundData* r = GetSoundData(handle);
  if (r == nullptr) return -1;
  if (r->kind == kStreamSound) return GetStreamPositionMs(handle);
  uint32_t cursor = 0;
  if (GetSoundBufferPosition(&r->slots[r->currentBuffer], &cursor) != 0) return -1;
  return UnitsToMs(cursor, static_cast<double>(r->format.nBlockAlign) * r->format.nSamplesPerSec);
}

namespace {

// A stream sound: its ring waits for the sounds that play through it.
// 1 when the deletion is deferred.
int DeleteStreamRecord(int handle, SoundData* r) {
  StopStreamSound(handle);
  if (r->shareSource != -1) {
    const int ownerHandle = r->shareSource;
    SoundData* owner = GetSoundData(ownerHandle);
    if (owner != nullptr) {
      if (owner->sharerCount > 0) --owner->sharerCount;
      if (owner->currentUser == handle) owner->currentUser = -1;
    }
    r->shareSource = -1;
    if (owner != nullptr && owner->deletePending == 1 && owner != r && owner->sharerCount == 0) {
      DeleteSound(ownerHandle);
    }
  }
  if (r->sharerCount != 0) {
    r->deletePending = 1;
    return 1;
  }
  if (r->listNode.prev != nullptr) UnlinkNode(&r->listNode);
  r->listNode.prev = r->listNode.next = nullptr;
  FreeStreamParts(r);
  return 0;
}

}  // namespace

int DeleteSound(int handle, int) {
  SoundData* r = GetSoundData(handle);
  if (r == nullptr) return -1;
  if (r->kind == kStreamSound) {
    if (DeleteStreamRecord(handle, r) != 0) return 0;
  } else {
    if (r->slots[0].valid == 1) StopSound(handle);
    // A half-built stream sound may hold parts but no ring yet.
    FreeStreamParts(r);
  }
  // Every slot that holds a buffer is released, whatever the count says.
  for (int i = 0; i < kMaxSoundBuffers; ++i) {
    if (r->slots[i].valid == 1) ReleaseSoundBuffer(&r->slots[i]);
  }
  if (r->pcmData != nullptr) FreeMemory(r->pcmData);
  r->pcmData = nullptr;
  RemoveSoundData(handle);
  return 0;
}

int EndTemporaryPlayback() {
  SoundState& s = GetSoundState();
  if (s.temporaryHandle != 0 && !s.temporaryIsMusic) {
    StopSound(s.temporaryHandle);
    DeleteSound(s.temporaryHandle);
  } else if (s.temporaryHandle != 0) {
    StopMusicHandle(s.temporaryHandle);
    DeleteMusic(s.temporaryHandle);
  }
  s.temporaryHandle = 0;
  return 0;
}

}  // namespace qor
