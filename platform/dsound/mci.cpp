#include "platform/dsound/mci.h"

namespace plat {

namespace {
int g_commandCalls = 0;
bool g_available = false;
mci::Command g_last;
}  // namespace

MCIERROR mciSendCommandA(MCIDEVICEID device, uint32_t message, uintptr_t flags, void* params) {
  ++g_commandCalls;
  g_last = mci::Command{};
  g_last.device = device;
  g_last.message = message;
  g_last.flags = flags;
  if (message == MCI_PLAY && params != nullptr) {
    g_last.hasPlayParams = true;
    g_last.play = *static_cast<const MCI_PLAY_PARMS*>(params);
  }
  return g_available ? 0 : MCIERR_DEVICE_NOT_INSTALLED;
}

namespace mci {
int CommandCalls() { return g_commandCalls; }
const Command& LastCommand() { return g_last; }
void SetDeviceAvailable(bool available) { g_available = available; }
void ResetMciState() {
  g_commandCalls = 0;
  g_available = false;
  g_last = Command{};
}
}  // namespace mci

}  // namespace plat
