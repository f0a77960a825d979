#include "platform/dsound/mci.h"

namespace plat {

namespace {
int g_commandCalls = 0;
}

MCIERROR mciSendCommandA(MCIDEVICEID, uint32_t, uintptr_t, void*) {
  ++g_commandCalls;
  return MCIERR_DEVICE_NOT_INSTALLED;
}

namespace mci {
int CommandCalls() { return g_commandCalls; }
void ResetMciState() { g_commandCalls = 0; }
}  // namespace mci

}  // namespace plat
