// The device's one state record, shared by the buffer operations and the mixer.
#pragma once

#include <pthread.h>

#include <cstdint>

#include "platform/dsound/dsound.h"

namespace plat {

struct DsSampleBlock {
  uint8_t* bytes = nullptr;
  uint32_t size = 0;   // the buffer size asked for at creation
  int users = 0;       // buffers sharing these samples
};

namespace dsound {

struct DeviceState {
  IDirectSound* device = nullptr;        // the one device object, or null
  IDirectSoundBuffer* buffers = nullptr;  // every live buffer, newest first
  Control control;
  Counters counters;
  SinkMode mode = SinkMode::Host;        // asked for; used at Initialize
  SinkMode activeSink = SinkMode::Host;  // what the initialised device uses
  bool hostAudioOpen = false;            // the host calls the mixer
  bool clockPaced = false;               // the device paces itself by the host clock
  uint64_t clockStartMicros = 0;
  uint64_t clockFramesDone = 0;
  int outputRate = 44100;
};

// The state and the lock that guards it against the host's audio thread.
// Never held while calling into the host audio functions, whose callback
// takes it.
DeviceState& State();
void LockDevice();
void UnlockDevice();

// Takes one injected failure from a countdown.
bool TakeFailure(int* count);

// Mixes with the lock already held.
void MixIntoLocked(int16_t* out, int frames);

// When the device paces itself by the clock: mixes (and drops) what has
// played since the last call. Takes the lock itself.
void CatchUpClock();

// Gains for volume and pan, in Q15 (32768 = unity).
void UpdateGains(IDirectSoundBuffer* buffer);
int32_t DbToGainQ15(int32_t hundredthsOfDb);

}  // namespace dsound
}  // namespace plat
