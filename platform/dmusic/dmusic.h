// A DirectMusic-like music system: the loader, the performance, the music
// object with its port list, and segments.
//
// There is no MIDI synthesiser on this platform, so by default the objects
// cannot be created (REGDB_E_CLASSNOTREG, as on a machine without the
// component) and the sound start-up falls back to the sound device alone.
// Tests switch the system on, make any one step fail, read what the
// framework passed and count the calls, so every step of the music road and
// of the music handles' poll, stop and delete runs against it. Segments
// play nothing: a test marks one playing, and StopEx ends it.
#pragma once

#include <cstdint>

#include "platform/dsound/dsound.h"
#include "platform/window/window.h"

namespace plat {

constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT DMUS_E_NOT_INIT = static_cast<HRESULT>(0x88781112u);

// Port classes.
constexpr uint32_t DMUS_PC_INPUTCLASS = 0;
constexpr uint32_t DMUS_PC_OUTPUTCLASS = 1;
// Default audio path: shared stereo with reverb.
constexpr uint32_t DMUS_APATH_SHARED_STEREOPLUSREVERB = 1;
// Audio features: all of them.
constexpr uint32_t DMUS_AUDIOF_ALL = 0x3F;
// Which fields of DMUS_AUDIOPARAMS hold a value.
constexpr uint32_t DMUS_AUDIOPARAMS_FEATURES = 0x1;
constexpr uint32_t DMUS_AUDIOPARAMS_VOICES = 0x2;
constexpr uint32_t DMUS_AUDIOPARAMS_SAMPLERATE = 0x4;

struct DMUS_AUDIOPARAMS {
  uint32_t dwSize;
  int32_t fInitNow;
  uint32_t dwValidData;
  uint32_t dwFeatures;
  uint32_t dwVoices;
  uint32_t dwSampleRate;
};

// One port of the port list; the description is UTF-16, as the system
// reports it.
struct DMUS_PORTCAPS {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwClass;
  char16_t wszDescription[128];
};

// The performance's process-wide parameters the framework reads.
enum class DmGlobalParam { MasterVolume };

struct IDirectMusicPerformance8;

// A piece of music loaded by the loader.
struct IDirectMusicSegment8 {
  // Takes the segment's instruments out of the performance.
  HRESULT Unload(IDirectMusicPerformance8* performance);
  uint32_t Release();

  bool playing = false;   // set by tests; StopEx clears it
  bool cached = true;     // held by the loader until ReleaseObjectByUnknown
};

struct IDirectMusicLoader8 {
  // The loader lets go of an object it loaded.
  HRESULT ReleaseObjectByUnknown(IDirectMusicSegment8* object);
  uint32_t Release();
};

struct IDirectMusic8 {
  // Port `index` of the list: S_OK, or S_FALSE past the last port.
  HRESULT EnumPort(uint32_t index, DMUS_PORTCAPS* caps);
  uint32_t Release();
};

struct IDirectMusic {
  HRESULT QueryInterface(IDirectMusic8** out);  // the version-8 view
  uint32_t Release();
};

struct IDirectMusicPerformance8 {
  // Starts the performance and its sound device: hands out a music object
  // and the sound device (initialised, at the priority level) when asked.
  HRESULT InitAudio(IDirectMusic** music, IDirectSound** sound, Hwnd window, uint32_t defaultPathType,
                    uint32_t channelCount, uint32_t flags, DMUS_AUDIOPARAMS* params);
  HRESULT GetGlobalParam(DmGlobalParam which, void* data, uint32_t size);
  // S_OK when the segment plays, S_FALSE when it does not.
  HRESULT IsPlaying(IDirectMusicSegment8* segment, void* segmentState);
  // Stops one segment (null: every one) at `stopTime` (0: now).
  HRESULT StopEx(IDirectMusicSegment8* segment, int64_t stopTime, uint32_t flags);
  HRESULT Stop(IDirectMusicSegment8* segment, void* segmentState, int32_t stopTime, uint32_t flags);
  HRESULT CloseDown();
  uint32_t Release();

  bool audioStarted = false;
};

// Stand in for creating the objects through the component system.
HRESULT CreateDirectMusicLoader(IDirectMusicLoader8** out);
HRESULT CreateDirectMusicPerformance(IDirectMusicPerformance8** out);
HRESULT CreateDirectMusic(IDirectMusic** out);

namespace dmusic {

// The steps a test can make fail, in the order the start-up takes them.
enum class Step { CreateLoader, CreatePerformance, CreateDirectMusic, QueryDirectMusic8, InitAudio, Count };

struct Control {
  bool available = false;   // false: no object can be created
  int failStep = -1;        // a Step made to fail, or -1
  int portCount = 2;        // ports in the list (0..4)
  int32_t masterVolume = 0; // what GetGlobalParam reports
};

struct InitAudioCall {
  Hwnd window = 0;
  uint32_t pathType = 0, channelCount = 0, flags = 0;
  DMUS_AUDIOPARAMS params{};
  bool askedMusic = false, askedSound = false;
};

struct Counters {
  int createCalls = 0;
  int liveObjects = 0;      // loaders, performances, music objects and segments alive
  int isPlaying = 0, stopEx = 0, stopAll = 0, closeDown = 0, unload = 0, releaseObject = 0;
  InitAudioCall lastInitAudio;
};

Control& GetControl();
const Counters& GetCounters();
// A segment as the loader makes one from a file (the framework makes none).
IDirectMusicSegment8* NewSegment();
void ResetDirectMusicState();

}  // namespace dmusic

}  // namespace plat
