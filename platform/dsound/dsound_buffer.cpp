// Operations on one sound buffer: cursors, status, lock and unlock, play and
// stop, and the volume, pan and frequency controls.
#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_state.h"

namespace plat {

using dsound::LockDevice;
using dsound::State;
using dsound::TakeFailure;
using dsound::UnlockDevice;

namespace {

uint32_t PlayFrame(const IDirectSoundBuffer* b) { return static_cast<uint32_t>(b->position >> 32); }

// The write cursor runs this many frames ahead of a playing buffer's play
// cursor: the part the mixer may already have read.
uint32_t WriteLeadFrames(const IDirectSoundBuffer* b) {
  const uint32_t lead = b->frequency * 15 / 1000;
  return lead == 0 ? 1 : lead;
}

uint32_t WriteCursorBytes(const IDirectSoundBuffer* b) {
  uint32_t frame = PlayFrame(b);
  if (b->playing && b->frames > 0) frame = static_cast<uint32_t>((uint64_t{frame} + WriteLeadFrames(b)) % b->frames);
  return frame * b->format.nBlockAlign;
}

bool InsideBlock(const IDirectSoundBuffer* b, const void* p, uint32_t bytes) {
  const uint8_t* start = b->samples->bytes;
  const uint8_t* q = static_cast<const uint8_t*>(p);
  return q >= start && q <= start + b->samples->size && bytes <= static_cast<uint32_t>(start + b->samples->size - q);
}

}  // namespace

HRESULT IDirectSoundBuffer::GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) {
  dsound::CatchUpClock();
  LockDevice();
  ++State().counters.getPosition;
  if (playCursor != nullptr) *playCursor = primary ? 0 : PlayFrame(this) * format.nBlockAlign;
  if (writeCursor != nullptr) *writeCursor = primary ? 0 : WriteCursorBytes(this);
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(uint32_t byteOffset) {
  ++State().counters.setPosition;
  if (primary) return DSERR_INVALIDCALL;
  dsound::CatchUpClock();
  if (byteOffset >= samples->size) return DSERR_INVALIDPARAM;
  LockDevice();
  uint32_t frame = byteOffset / format.nBlockAlign;
  if (frame >= frames) frame = frames - 1;
  position = uint64_t{frame} << 32;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(uint32_t* status) {
  ++State().counters.getStatus;
  if (status == nullptr) return DSERR_INVALIDPARAM;
  if (TakeFailure(&State().control.failNextStatus)) return DSERR_INVALIDPARAM;
  dsound::CatchUpClock();
  LockDevice();
  *status = playing ? (DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0)) : 0;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
                                 uint32_t* bytes2, uint32_t flags) {
  ++State().counters.lock;
  if (ptr1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  *ptr1 = nullptr;
  *bytes1 = 0;
  if (ptr2 != nullptr) *ptr2 = nullptr;
  if (bytes2 != nullptr) *bytes2 = 0;
  if (primary) return DSERR_INVALIDCALL;
  if (TakeFailure(&State().control.failNextLocks)) return DSERR_BUFFERLOST;
  dsound::CatchUpClock();
  LockDevice();
  const uint32_t size = samples->size;
  if (flags & DSBLOCK_FROMWRITECURSOR) offset = WriteCursorBytes(this);
  if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
  if (offset >= size || bytes == 0 || bytes > size) {
    UnlockDevice();
    return DSERR_INVALIDPARAM;
  }
  const uint32_t first = size - offset;
  if (bytes <= first) {
    *ptr1 = samples->bytes + offset;
    *bytes1 = bytes;
  } else {
    if (ptr2 == nullptr || bytes2 == nullptr) {
      UnlockDevice();
      return DSERR_INVALIDPARAM;
    }
    *ptr1 = samples->bytes + offset;
    *bytes1 = first;
    *ptr2 = samples->bytes;
    *bytes2 = bytes - first;
  }
  ++lockCount;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) {
  ++State().counters.unlock;
  if (primary) return DSERR_INVALIDCALL;
  LockDevice();
  HRESULT hr = DS_OK;
  if (lockCount <= 0 || ptr1 == nullptr || !InsideBlock(this, ptr1, bytes1) ||
      (ptr2 != nullptr && !InsideBlock(this, ptr2, bytes2))) {
    hr = DSERR_INVALIDPARAM;
  } else {
    --lockCount;
  }
  UnlockDevice();
  return hr;
}

HRESULT IDirectSoundBuffer::Play(uint32_t reserved, uint32_t, uint32_t playFlags) {
  ++State().counters.play;
  if (reserved != 0) return DSERR_INVALIDPARAM;
  if (TakeFailure(&State().control.failNextPlays)) return DSERR_BUFFERLOST;
  dsound::CatchUpClock();
  LockDevice();
  playing = true;
  looping = (playFlags & DSBPLAY_LOOPING) != 0;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop() {
  ++State().counters.stop;
  dsound::CatchUpClock();
  LockDevice();
  playing = false;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* f) {
  ++State().counters.setFormat;
  if (!primary) return DSERR_INVALIDCALL;
  if (f == nullptr || f->wFormatTag != WAVE_FORMAT_PCM) return DSERR_INVALIDPARAM;
  if (State().control.failSetFormat) return DSERR_BADFORMAT;
  // The mixer always produces the host's format; the primary format is
  // only recorded.
  format = *f;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetFormat(WAVEFORMATEX* f) {
  if (f == nullptr) return DSERR_INVALIDPARAM;
  *f = format;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(int32_t hundredthsOfDb) {
  if (primary || !(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (hundredthsOfDb < DSBVOLUME_MIN || hundredthsOfDb > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  LockDevice();
  volume = hundredthsOfDb;
  dsound::UpdateGains(this);
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(int32_t* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  if (primary || !(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  *out = volume;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetPan(int32_t value) {
  if (primary || !(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (value < DSBPAN_LEFT || value > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  LockDevice();
  pan = value;
  dsound::UpdateGains(this);
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetPan(int32_t* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  if (primary || !(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  *out = pan;
  return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFrequency(uint32_t hz) {
  if (primary || !(flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (hz == DSBFREQUENCY_ORIGINAL) hz = format.nSamplesPerSec;
  if (hz < DSBFREQUENCY_MIN || hz > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
  dsound::CatchUpClock();
  LockDevice();
  frequency = hz;
  UnlockDevice();
  return DS_OK;
}

HRESULT IDirectSoundBuffer::GetFrequency(uint32_t* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  if (primary || !(flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  *out = frequency;
  return DS_OK;
}

}  // namespace plat
