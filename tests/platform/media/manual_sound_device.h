// The movie player's sound device for a test: the sound device stand-in in
// manual mode (the test advances its mixer and reads what it mixed), handed
// to the player for the life of the object, then taken back and reset.
#pragma once

#include "platform/dsound/dsound.h"
#include "platform/media/media_player.h"

namespace mediatest {

struct ManualSoundDevice {
  plat::IDirectSound* device = nullptr;

  ManualSoundDevice() {
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    if (plat::CreateDirectSound(&device) != plat::DS_OK) return;
    if (device->Initialize(nullptr) != plat::DS_OK) {
      device->Release();
      device = nullptr;
      return;
    }
    plat::SetMediaSoundDevice(device);
  }
  ~ManualSoundDevice() {
    plat::SetMediaSoundDevice(nullptr);
    if (device != nullptr) device->Release();
    plat::dsound::ResetDirectSoundState();
  }
  ManualSoundDevice(const ManualSoundDevice&) = delete;
  ManualSoundDevice& operator=(const ManualSoundDevice&) = delete;
};

}  // namespace mediatest
