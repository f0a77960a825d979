// Media control interface stand-in: no MIDI sequencer exists, so every
// command fails and music falls silent the way it does on a machine without
// one.
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

// Every command returns MCIERR_DEVICE_NOT_INSTALLED.
MCIERROR mciSendCommandA(MCIDEVICEID device, uint32_t message, uintptr_t flags, void* params);

namespace mci {
int CommandCalls();
void ResetMciState();
}  // namespace mci

}  // namespace plat
