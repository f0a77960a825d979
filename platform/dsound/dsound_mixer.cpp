// The software mixer: every playing buffer, resampled from its frequency to
// the output rate by linear interpolation, scaled by its volume and pan gains
// and summed into 16-bit stereo with saturation.
#include <cmath>
#include <cstring>

#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_state.h"
#include "platform/host/host.h"

namespace plat {
namespace dsound {

namespace {

constexpr int kChunkFrames = 512;

// One sample frame as signed 16-bit left and right values.
template <int kBits, int kChannels>
inline void ReadFrame(const uint8_t* data, uint32_t frame, int32_t* left, int32_t* right) {
  if constexpr (kBits == 8) {
    const uint8_t* p = data + static_cast<size_t>(frame) * kChannels;
    *left = (static_cast<int32_t>(p[0]) - 128) * 256;
    *right = kChannels == 2 ? (static_cast<int32_t>(p[1]) - 128) * 256 : *left;
  } else {
    const uint8_t* p = data + static_cast<size_t>(frame) * 2 * kChannels;
    *left = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    *right = kChannels == 2 ? static_cast<int16_t>(static_cast<uint16_t>(p[2] | (p[3] << 8))) : *left;
  }
}

// Adds `frames` output frames of one buffer into the accumulator and moves
// its play position; a one-shot buffer that reaches its end stops with its
// cursor back at the start.
template <int kBits, int kChannels>
void MixVoice(IDirectSoundBuffer* b, int32_t* acc, int frames, int outputRate) {
  const uint8_t* data = b->samples->bytes;
  const uint32_t count = b->frames;
  const uint64_t end = uint64_t{count} << 32;
  const uint64_t step = (uint64_t{b->frequency} << 32) / static_cast<uint64_t>(outputRate);
  const int32_t gl = b->gainLeft;
  const int32_t gr = b->gainRight;
  uint64_t pos = b->position;
  for (int i = 0; i < frames; ++i) {
    const uint32_t f = static_cast<uint32_t>(pos >> 32);
    const uint32_t frac = static_cast<uint32_t>(pos);
    int32_t l, r;
    ReadFrame<kBits, kChannels>(data, f, &l, &r);
    if (frac != 0) {
      uint32_t f2 = f + 1;
      if (f2 >= count) f2 = b->looping ? 0 : f;
      int32_t l2, r2;
      ReadFrame<kBits, kChannels>(data, f2, &l2, &r2);
      l += static_cast<int32_t>((static_cast<int64_t>(l2 - l) * frac) >> 32);
      r += static_cast<int32_t>((static_cast<int64_t>(r2 - r) * frac) >> 32);
    }
    acc[2 * i] += (l * gl) >> 15;
    acc[2 * i + 1] += (r * gr) >> 15;
    pos += step;
    if (pos >= end) {
      if (!b->looping) {
        b->playing = false;
        pos = 0;
        break;
      }
      pos %= end;
    }
  }
  b->position = pos;
}

void MixChunk(int32_t* acc, int frames, int outputRate) {
  for (IDirectSoundBuffer* b = State().buffers; b != nullptr; b = b->next) {
    if (b->primary || !b->playing || b->frames == 0) continue;
    const bool stereo = b->format.nChannels == 2;
    if (b->format.wBitsPerSample == 8) {
      stereo ? MixVoice<8, 2>(b, acc, frames, outputRate) : MixVoice<8, 1>(b, acc, frames, outputRate);
    } else {
      stereo ? MixVoice<16, 2>(b, acc, frames, outputRate) : MixVoice<16, 1>(b, acc, frames, outputRate);
    }
  }
}

}  // namespace

int32_t DbToGainQ15(int32_t hundredthsOfDb) {
  if (hundredthsOfDb >= 0) return 32768;
  if (hundredthsOfDb <= DSBVOLUME_MIN) return 0;
  return static_cast<int32_t>(std::lround(32768.0 * std::pow(10.0, hundredthsOfDb / 2000.0)));
}

void MixIntoLocked(int16_t* out, int frames) {
  DeviceState& s = State();
  int32_t acc[2 * kChunkFrames];
  while (frames > 0) {
    const int n = frames < kChunkFrames ? frames : kChunkFrames;
    std::memset(acc, 0, sizeof(int32_t) * 2 * static_cast<size_t>(n));
    MixChunk(acc, n, s.outputRate);
    if (out != nullptr) {
      for (int i = 0; i < 2 * n; ++i) {
        const int32_t v = acc[i];
        out[i] = static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
      }
      out += 2 * n;
    }
    s.counters.framesMixed += static_cast<uint64_t>(n);
    frames -= n;
  }
}

void MixInto(int16_t* out, int frames) {
  if (frames <= 0) return;
  LockDevice();
  MixIntoLocked(out, frames);
  UnlockDevice();
}

void CatchUpClock() {
  DeviceState& s = State();
  if (!s.clockPaced) return;
  const uint64_t now = HostMicros();
  LockDevice();
  if (s.clockPaced) {
    const uint64_t due = (now - s.clockStartMicros) * static_cast<uint64_t>(s.outputRate) / 1000000u;
    if (due > s.clockFramesDone) {
      uint64_t owed = due - s.clockFramesDone;
      // After a long pause nothing but the last second can still matter.
      if (owed > static_cast<uint64_t>(s.outputRate)) owed = static_cast<uint64_t>(s.outputRate);
      MixIntoLocked(nullptr, static_cast<int>(owed));
      s.clockFramesDone = due;
    }
  }
  UnlockDevice();
}

}  // namespace dsound
}  // namespace plat
