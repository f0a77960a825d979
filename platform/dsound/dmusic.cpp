#include "platform/dsound/dmusic.h"

namespace plat {

namespace {
int g_createCalls = 0;
}

HRESULT CreateDirectMusicLoader(IDirectMusicLoader8** out) {
  ++g_createCalls;
  if (out != nullptr) *out = nullptr;
  return REGDB_E_CLASSNOTREG;
}

HRESULT CreateDirectMusicPerformance(IDirectMusicPerformance8** out) {
  ++g_createCalls;
  if (out != nullptr) *out = nullptr;
  return REGDB_E_CLASSNOTREG;
}

namespace dmusic {
int CreateCalls() { return g_createCalls; }
void ResetDirectMusicState() { g_createCalls = 0; }
}  // namespace dmusic

}  // namespace plat
