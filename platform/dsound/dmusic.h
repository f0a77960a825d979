// DirectMusic stand-in. The port plays no MIDI: the music objects cannot be
// created, so the sound start-up takes its DirectSound-only road and music
// handles are never made.
#pragma once

#include "platform/dsound/dsound.h"

namespace plat {

constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

struct IDirectMusicLoader8;       // never created
struct IDirectMusicPerformance8;  // never created

// Stand in for creating the loader and the performance through the
// component system; both fail with REGDB_E_CLASSNOTREG.
HRESULT CreateDirectMusicLoader(IDirectMusicLoader8** out);
HRESULT CreateDirectMusicPerformance(IDirectMusicPerformance8** out);

namespace dmusic {
int CreateCalls();      // creation attempts so far
void ResetDirectMusicState();
}  // namespace dmusic

}  // namespace plat
