// What the headless window, event and frame code needs from the headless
// clock and audio sink.
#pragma once

#include <cstdint>

#include "platform/host/host.h"

namespace plat::headless {

uint32_t ClockMillis();
uint64_t ClockMicros();
void ClockSleepMs(uint32_t ms);
void ClockSleepUntilMicros(uint64_t micros);

int AudioOpen(int rate, HostAudioCallback callback, void* user);
void AudioPause(bool pause);
void AudioClose();
void AudioLock();
void AudioUnlock();

void ResetClockAndAudio();

}  // namespace plat::headless
