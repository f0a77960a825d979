#include "framework/sound/stream_play.h"

#include "framework/sound/sound_buffers.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "platform/host/host.h"

namespace qor {

namespace {

constexpr int32_t kUnprimedWrite = -800;
constexpr uint8_t kEndless = 255;
// Parts that convert nothing in a row before a refill takes the data as
// ended: more than any finite chain of loops (3 parts of up to 255 plays).
constexpr int kMaxEmptyAdvances = kMaxStreamParts * 256;

uint32_t Align(const SoundData* r) { return r->format.nBlockAlign; }

// Whole sample frames in 1/8 s and in n seconds.
uint32_t EighthSecond(const SoundData* r) { return ((r->format.nAvgBytesPerSec >> 3) / Align(r)) * Align(r); }
uint32_t Seconds(const SoundData* r, uint32_t n) {
  return static_cast<uint32_t>(uint64_t{n} * r->format.nAvgBytesPerSec / Align(r) * Align(r));
}

// Whether the sound is its ring's current user, with the ring's slot. A free
// ring stays free: only a play, or the playing query, takes it.
bool IsCurrentUser(int handle, SoundData* r, SoundBufferSlot** slot) {
  SoundData* owner = r->shareSource == -1 ? r : GetSoundData(r->shareSource);
  if (owner == nullptr || owner->currentUser != handle) return false;
  *slot = &owner->slots[0];
  return true;
}

// The streaming record of a handle, or null.
SoundData* StreamRecord(int handle) {
  SoundData* r = GetSoundData(handle);
  return r != nullptr && r->kind == kStreamSound && Align(r) != 0 ? r : nullptr;
}

int LockRegions(SoundBufferSlot* slot, uint32_t offset, uint32_t bytes, SoundLockRegions* g) {
  *g = SoundLockRegions{};
  g->offset = offset;
  void* p1 = nullptr;
  void* p2 = nullptr;
  if (bytes == 0 || LockSoundBuffer(slot, offset, bytes, &p1, &g->size1, &p2, &g->size2) != 0) return -1;
  g->pointer1 = static_cast<uint8_t*>(p1);
  g->pointer2 = static_cast<uint8_t*>(p2);
  g->left1 = g->size1;
  g->left2 = g->pointer2 != nullptr ? g->size2 : 0;
  return 0;
}

void UnlockRegions(SoundBufferSlot* slot, const SoundLockRegions& g) {
  UnlockSoundBuffer(slot, g.pointer1, g.size1, g.pointer2, g.size2);
}

// Silence over `bytes` of the ring from `offset`, wrapping at its end.
void SilenceRing(const SoundData* r, SoundBufferSlot* slot, uint32_t offset, uint32_t bytes) {
  if (bytes > r->ringSize) bytes = r->ringSize;
  SoundLockRegions g;
  if (LockRegions(slot, offset % r->ringSize, bytes, &g) != 0) return;
  FillSoundBufferSilence(r, &g, bytes);
  UnlockRegions(slot, g);
}

// Bytes from `from` forward to `to` around the ring.
uint32_t RingDistance(const SoundData* r, uint32_t from, uint32_t to) {
  return static_cast<uint32_t>((uint64_t{to} + r->ringSize - from) % r->ringSize);
}

void SetWriteOffset(SoundData* r, uint32_t offset) {
  r->writeOffset = static_cast<int32_t>(offset % r->ringSize);
  const int64_t tail = int64_t{r->writeOffset} - Seconds(r, 4);
  r->tailOffset = static_cast<int32_t>(tail < 0 ? tail + r->ringSize : tail);
}

// The ring offset just after the last byte written into the regions.
uint32_t DataEnd(const SoundData* r, const SoundLockRegions* g) {
  if (g->left1 > 0 || g->pointer2 == nullptr) return (g->offset + g->used1) % r->ringSize;
  return g->used2;
}

// The data has run out: the ring plays out what was written and stops.
void MarkDataEnd(SoundData* r, SoundLockRegions* g, uint32_t cursor) {
  r->reachedEnd = 1;
  r->ending = 1;
  r->endOffset = DataEnd(r, g);
  r->cursorAtEnd = cursor;
  FillSoundBufferSilence(r, g, EighthSecond(r));
}

void Rewind(SoundData* r) {
  r->reachedEnd = 0;
  r->partBytesDone = 0;
  r->playedPosition = 0;
  r->wrapPending = 0;
  r->loopCounter = 0;
  r->currentPart = 0;
  r->primed = 0;
}

// Converts `amount` bytes of the sound into the ring at `offset`, moving on
// through its parts; space the data does not fill is silence.
int WriteStreamData(SoundData* r, SoundBufferSlot* slot, uint32_t offset, uint32_t amount, uint32_t cursor) {
  SoundLockRegions g;
  if (LockRegions(slot, offset, amount, &g) != 0) return -1;
  uint32_t remaining = amount;
  int empty = 0;
  while (remaining > 0 && !r->ending) {
    if (r->currentPart < 0 || r->currentPart >= r->partCount) {
      MarkDataEnd(r, &g, cursor);
      break;
    }
    const uint32_t n = FillFromStreamPart(&g, &r->parts[r->currentPart].converter, remaining);
    if (n == 0) {
      if (++empty > kMaxEmptyAdvances) {
        MarkDataEnd(r, &g, cursor);  // nothing in any part converts
        break;
      }
      if (AdvanceStreamPart(r, &g, cursor) != 0) break;
      continue;
    }
    empty = 0;
    r->partBytesDone += n;
    remaining = n < remaining ? remaining - n : 0;
  }
  FillSoundBufferSilence(r, &g, g.left1 + g.left2);
  UnlockRegions(slot, g);
  return 0;
}

// Silences what the cursor has played since the last refill, so that a
// cursor which later runs past the written data plays silence, never old
// sound. Returns how far the cursor moved.
uint32_t ClearPlayed(SoundData* r, SoundBufferSlot* slot, uint32_t cursor) {
  const uint32_t moved = RingDistance(r, r->refillCursor, cursor);
  if (moved > 0) SilenceRing(r, slot, r->refillCursor, moved);
  r->refillCursor = cursor;
  return moved;
}

}  // namespace

int ClaimStreamBuffer(int handle, SoundData* record, SoundBufferSlot** slot, int force) {
  if (record->kind != kStreamSound) {
    *slot = &record->slots[0];
    return 0;
  }
  SoundData* owner = record->shareSource == -1 ? record : GetSoundData(record->shareSource);
  if (owner == nullptr) return -1;
  *slot = &owner->slots[0];
  if (owner->currentUser == -1 || owner->currentUser == handle) {
    owner->currentUser = handle;
    return 0;
  }
  if (!force) return -1;
  const int previous = owner->currentUser;
  StopStreamSound(previous);
  // The ring no longer holds the stopped sound's data: it primes again
  // before it next plays.
  if (SoundData* other = GetSoundData(previous)) other->primed = 0;
  owner->currentUser = handle;
  return 0;
}

int PrepareStreamSound(int handle) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return GetSoundData(handle) != nullptr ? 0 : -1;
  SoundBufferSlot* slot = nullptr;
  // The playing query claims a free ring, as a sound that is loaded or about
  // to play should.
  if (r->primed || IsStreamPlaying(handle) == 1 || !IsCurrentUser(handle, r, &slot)) return 0;
  SetSoundBufferPosition(slot, 0);
  r->writeOffset = kUnprimedWrite;
  r->tailOffset = -1;
  r->lastCursor = 0;
  r->ending = 0;
  r->refillCursor = 0;
  r->refillAhead = 0;
  if (r->currentPart >= 0 && r->currentPart < r->partCount) {
    SeekSoundConverter(&r->parts[r->currentPart].converter, r->partBytesDone / Align(r));
  }
  r->primed = 1;
  RefillStreamSound(handle);
  return 0;
}

int PlayStreamSound(int handle, int playType, int restart) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return -1;
  SoundBufferSlot* slot = nullptr;
  if (ClaimStreamBuffer(handle, r, &slot, 1) != 0) return -1;
  if (restart == 0 && IsStreamPlaying(handle) == 1) return 0;
  StopStreamSound(handle);
  if (((static_cast<uint32_t>(playType) ^ r->playType) & 2) && r->reachedEnd) Rewind(r);
  if (restart == 1) {
    r->reachedEnd = 0;
    if (r->playedPosition != 0) Rewind(r);
  }
  r->playType = static_cast<uint32_t>(playType);
  PrepareStreamSound(handle);
  // The claim above may have been undone by the stop of a sharer.
  if (ClaimStreamBuffer(handle, r, &slot, 1) != 0 || PlaySoundBuffer(slot, 1) != 0) return -1;
  r->playTime = plat::HostMillis();
  if (playType != 0) return 0;
  while (IsSoundPlaying(handle) == 1) {
    int (*pump)() = GetSoundState().pumpMessages;
    if (pump != nullptr && pump() != 0) break;
    plat::HostSleepMs(1);
  }
  return 0;
}

int StopStreamSound(int handle) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return GetSoundData(handle) != nullptr ? 0 : -1;
  UpdateStreamPlayCursor(handle, -1);
  SoundBufferSlot* slot = nullptr;
  if (!IsCurrentUser(handle, r, &slot)) return 0;
  if (r->shareSource != -1) {
    if (SoundData* owner = GetSoundData(r->shareSource)) owner->currentUser = -1;
  }
  uint32_t status = 0;
  if (GetSoundBufferStatus(slot, &status) != 0) return -1;
  if (status & plat::DSBSTATUS_PLAYING) StopSoundBuffer(slot);
  return 0;
}

int IsStreamPlaying(int handle) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return GetSoundData(handle) != nullptr ? 0 : -1;
  SoundBufferSlot* slot = nullptr;
  if (ClaimStreamBuffer(handle, r, &slot, 0) != 0) return 0;
  uint32_t status = 0;
  if (GetSoundBufferStatus(slot, &status) != 0) return 0;
  return (status & plat::DSBSTATUS_PLAYING) ? 1 : 0;
}

int GetStreamPositionMs(int handle) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return -1;
  UpdateStreamPlayCursor(handle, -1);
  const int ms = UnitsToMs(r->playedPosition, r->format.nAvgBytesPerSec);
  const int length = GetSoundLengthMs(handle);
  return ms > length ? length : ms;
}

int UpdateStreamPlayCursor(int handle, int64_t cursorIn) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return GetSoundData(handle) != nullptr ? 0 : -1;
  SoundBufferSlot* slot = nullptr;
  if (!r->primed || !IsCurrentUser(handle, r, &slot)) return 0;
  uint32_t cursor = static_cast<uint32_t>(cursorIn);
  if (cursorIn == -1 && GetSoundBufferPosition(slot, &cursor) != 0) return 0;
  const uint32_t last = r->lastCursor;
  if (cursor == last) return 0;
  const uint32_t mark = r->loopMark;
  if (r->wrapPending) {
    bool crossed = false;
    uint32_t bytes = 0;
    if (last < cursor) {
      crossed = last < mark && mark <= cursor;
      bytes = cursor - mark;
    } else if (mark > last) {
      crossed = true;
      bytes = r->ringSize - mark + cursor;
    } else if (mark <= cursor) {
      crossed = true;
      bytes = cursor - mark;
    }
    if (crossed) {
      r->playedPosition = r->restartPosition + bytes;
      r->wrapPending = 0;
      r->lastCursor = cursor;
      return 0;
    }
  }
  r->playedPosition += last < cursor ? cursor - last : r->ringSize - last + cursor;
  r->lastCursor = cursor;
  return 0;
}

int RefillStreamSound(int handle) {
  SoundData* r = StreamRecord(handle);
  if (r == nullptr) return GetSoundData(handle) != nullptr ? 0 : -1;
  SoundBufferSlot* slot = nullptr;
  if (!IsCurrentUser(handle, r, &slot) || !r->primed || r->ringSize == 0) return 0;
  UpdateStreamPlayCursor(handle, -1);
  const uint32_t window = Seconds(r, 4);
  const uint32_t avg = r->format.nAvgBytesPerSec;

  if (r->ending) {
    uint32_t cursor = 0;
    if (GetSoundBufferPosition(slot, &cursor) != 0) return -1;
    // The cursor has passed the end. Data that ended right at the cursor (an
    // empty sound) counts as passed too, or its ring would never stop.
    if (r->endOffset < cursor && (r->cursorAtEnd <= r->endOffset || r->cursorAtEnd > cursor)) {
      StopSoundBuffer(slot);
      r->ending = 0;
      return 0;
    }
    ClearPlayed(r, slot, cursor);
    const uint32_t write = static_cast<uint32_t>(r->writeOffset);
    if (RingDistance(r, cursor, write) > window) return -1;
    SilenceRing(r, slot, write, EighthSecond(r));
    SetWriteOffset(r, write + EighthSecond(r));
    return 0;
  }

  uint32_t status = 0;
  if (GetSoundBufferStatus(slot, &status) != 0) return -1;
  if (!(status & plat::DSBSTATUS_PLAYING)) {
    if (r->writeOffset != kUnprimedWrite) return 0;
    // The first fill: 4 s from the start of the ring, silence after it.
    if (WriteStreamData(r, slot, 0, window, 0) != 0) return -1;
    SilenceRing(r, slot, window, r->ringSize - window);
    SetWriteOffset(r, window);
    r->tailOffset = 0;
    r->refillCursor = 0;
    r->refillAhead = window;
    return 0;
  }

  uint32_t cursor = 0;
  if (GetSoundBufferPosition(slot, &cursor) != 0) return -1;
  const uint32_t moved = ClearPlayed(r, slot, cursor);
  if (moved > r->refillAhead) {
    // The cursor ran past the written data (the pump was starved): carry on
    // from where the data stopped, at the cursor.
    SetWriteOffset(r, cursor / Align(r) * Align(r));
    r->playedPosition = r->partBytesDone;
    r->wrapPending = 0;
    r->lastCursor = cursor;
  }
  const uint32_t write = static_cast<uint32_t>(r->writeOffset);
  const uint32_t ahead = RingDistance(r, cursor, write);
  if (ahead > window) {
    r->refillAhead = ahead;
    return -1;  // the cursor lies outside the written window
  }
  const uint64_t ahead128 = (uint64_t{ahead} << 7) / avg;
  uint32_t amount = EighthSecond(r);
  if (ahead128 < 384) amount = static_cast<uint32_t>((((384 - ahead128) * avg) >> 7) / Align(r) * Align(r));
  if (amount == 0) return 0;
  if (WriteStreamData(r, slot, write, amount, cursor) != 0) return -1;
  SetWriteOffset(r, write + amount);
  r->refillAhead = ahead + amount;
  return 0;
}

int UpdateStreamSounds() {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr) return -1;
  for (LinkNode* node = s.streamListHead.next; node != nullptr && node != &s.streamListTail;) {
    LinkNode* next = node->next;
    RefillStreamSound(static_cast<int>(node->valueA));
    node = next;
  }
  return 0;
}

uint32_t FillFromStreamPart(SoundLockRegions* g, SoundConverter* converter, uint32_t bytes) {
  uint32_t total = 0;
  for (int region = 0; region < 2 && total < bytes; ++region) {
    uint8_t* base = region == 0 ? g->pointer1 : g->pointer2;
    uint32_t& used = region == 0 ? g->used1 : g->used2;
    uint32_t& left = region == 0 ? g->left1 : g->left2;
    if (base == nullptr || left == 0) continue;
    const uint32_t want = bytes - total < left ? bytes - total : left;
    const int64_t got = ConvertSoundData(converter, base + used, want);
    if (got <= 0) break;
    used += static_cast<uint32_t>(got);
    left -= static_cast<uint32_t>(got);
    total += static_cast<uint32_t>(got);
    if (static_cast<uint32_t>(got) < want) break;
  }
  return total;
}

int AdvanceStreamPart(SoundData* r, SoundLockRegions* g, uint32_t cursor) {
  ++r->loopCounter;
  StreamPart* part = &r->parts[r->currentPart];
  if (part->loopCount == kEndless) {
    r->partBytesDone = Align(r) * part->loopStart;
    r->restartPosition = r->partBytesDone;
    r->wrapPending = 1;
    r->loopMark = DataEnd(r, g);
  } else {
    // Loop counts are unsigned: 128 to 254 loop as often as they say.
    if (static_cast<uint32_t>(r->loopCounter) > part->loopCount) {
      r->loopCounter = 0;
      ++r->currentPart;
      if (r->currentPart >= r->partCount) {
        if (r->playType != 3) {
          MarkDataEnd(r, g, cursor);
          return -1;
        }
        r->reachedEnd = 1;
        r->wrapPending = 1;
        r->currentPart = 0;
        r->restartPosition = 0;
        r->loopMark = DataEnd(r, g);
      }
    }
    r->partBytesDone = 0;
  }
  SeekSoundConverter(&r->parts[r->currentPart].converter, r->partBytesDone / Align(r));
  return 0;
}

}  // namespace qor
