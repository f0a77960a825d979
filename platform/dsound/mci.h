// Media control interface stand-in. No MIDI sequencer exists, so by default
// every command fails, as on a machine without one; tests can make commands
// succeed and read the last one sent, so the music code's MCI steps run.
#pragma once

#include <cstdint>

namespace plat {

using MCIERROR = uint32_t;
using MCIDEVICEID = uint32_t;

constexpr uint32_t MCI_OPEN = 0x0803;
constexpr uint32_t MCI_CLOSE = 0x0804;
constexpr uint32_t MCI_PLAY = 0x0806;
constexpr uint32_t MCI_STOP = 0x0808;
constexpr uint32_t MCI_NOTIFY = 0x00000001;
constexpr uint32_t MCI_FROM = 0x00000004;
constexpr MCIERROR MCIERR_DEVICE_NOT_INSTALLED = 256 + 50;
// The window message through which a device reports a finished command.
constexpr uint32_t MM_MCINOTIFY = 0x03B9;

// Parameters of MCI_PLAY: the window told when the play ends, and where it
// starts and stops.
struct MCI_PLAY_PARMS {
  uintptr_t dwCallback;
  uint32_t dwFrom;
  uint32_t dwTo;
};

// MCIERR_DEVICE_NOT_INSTALLED, or 0 once the device is made available.
MCIERROR mciSendCommandA(MCIDEVICEID device, uint32_t message, uintptr_t flags, void* params);

namespace mci {
// The last command sent; for MCI_PLAY also its parameters.
struct Command {
  MCIDEVICEID device = 0;
  uint32_t message = 0;
  uintptr_t flags = 0;
  bool hasPlayParams = false;
  MCI_PLAY_PARMS play{};
};
int CommandCalls();
const Command& LastCommand();
void SetDeviceAvailable(bool available);
void ResetMciState();
}  // namespace mci

}  // namespace plat
