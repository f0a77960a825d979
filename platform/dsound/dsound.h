// A DirectSound-like sound device, mixed in software.
//
// The framework's sound code talks to this the way it would talk to the
// Windows sound interface: a device object, secondary buffers created with a
// wave format and a size, duplicates that share a buffer's samples but keep
// their own cursor, two-region locks across the end of the ring, play once or
// looping, stop, play and write cursors, volume, pan, frequency and a status
// word. Every playing buffer is mixed into one 16-bit stereo stream at the
// output rate (44.1 kHz).
//
// Where the mixed sound goes is the sink:
//  - Host: the host's audio output pulls the mixer from its callback (a real
//    device under SDL, a virtual-clock sink under the headless host). When the
//    host has no audio output the device paces itself by the host clock
//    instead, so buffers still play out and stop at their ends.
//  - Manual: nothing moves until a test calls AdvanceManual(frames), which
//    makes cursor positions exact.
//
// The device can be told to fail (no interface, no device, the next buffer
// creation, duplication, lock, play or status read) and counts its calls, so
// the sound code's fall-back paths can be run in tests.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/kernel/com.h"
#include "platform/window/window.h"

namespace plat {

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);


constexpr uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 2)
// The 18-byte wave format record, byte for byte as it is stored in files.
struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

// Buffer capability flags.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr uint32_t DSBCAPS_STATIC = 0x00000002;
constexpr uint32_t DSBCAPS_LOCHARDWARE = 0x00000004;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x00000040;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

// Play flags and status bits.
constexpr uint32_t DSBPLAY_LOOPING = 0x00000001;
constexpr uint32_t DSBSTATUS_PLAYING = 0x00000001;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr uint32_t DSBSTATUS_LOOPING = 0x00000004;

// Lock flags.
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x00000002;

// Cooperative levels.
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;

// Limits of the buffer controls.
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

// Device capability flags.
constexpr uint32_t DSCAPS_PRIMARYMONO = 0x00000001;
constexpr uint32_t DSCAPS_PRIMARYSTEREO = 0x00000002;
constexpr uint32_t DSCAPS_PRIMARY8BIT = 0x00000004;
constexpr uint32_t DSCAPS_PRIMARY16BIT = 0x00000008;
constexpr uint32_t DSCAPS_CONTINUOUSRATE = 0x00000010;
constexpr uint32_t DSCAPS_EMULDRIVER = 0x00000020;
constexpr uint32_t DSCAPS_SECONDARYMONO = 0x00000100;
constexpr uint32_t DSCAPS_SECONDARYSTEREO = 0x00000200;
constexpr uint32_t DSCAPS_SECONDARY8BIT = 0x00000400;
constexpr uint32_t DSCAPS_SECONDARY16BIT = 0x00000800;

// The record sizes callers put in the size fields, as on the original platform.
constexpr uint32_t kDsBufferDescSize = 36;
constexpr uint32_t kDsCapsSize = 96;

struct DSBUFFERDESC {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwBufferBytes;
  uint32_t dwReserved;
  const WAVEFORMATEX* lpwfxFormat;
};

struct DSCAPS {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwMinSecondarySampleRate;
  uint32_t dwMaxSecondarySampleRate;
  uint32_t dwPrimaryBuffers;
  uint32_t dwMaxHwMixingAllBuffers;
  uint32_t dwMaxHwMixingStaticBuffers;
  uint32_t dwMaxHwMixingStreamingBuffers;
  uint32_t dwFreeHwMixingAllBuffers;
  uint32_t dwFreeHwMixingStaticBuffers;
  uint32_t dwFreeHwMixingStreamingBuffers;
  uint32_t dwMaxHw3DAllBuffers;
  uint32_t dwMaxHw3DStaticBuffers;
  uint32_t dwMaxHw3DStreamingBuffers;
  uint32_t dwFreeHw3DAllBuffers;
  uint32_t dwFreeHw3DStaticBuffers;
  uint32_t dwFreeHw3DStreamingBuffers;
  uint32_t dwTotalHwMemBytes;
  uint32_t dwFreeHwMemBytes;
  uint32_t dwMaxContigFreeHwMemBytes;
  uint32_t dwUnlockTransferRateHwBuffers;
  uint32_t dwPlayCpuOverheadSwBuffers;
  uint32_t dwReserved1;
  uint32_t dwReserved2;
};

struct DsSampleBlock;  // sample memory shared by a buffer and its duplicates

// One sound buffer: a secondary buffer with its own samples (or a duplicate's
// share of them), or the device's primary buffer.
struct IDirectSoundBuffer {
  HRESULT GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor);
  HRESULT SetCurrentPosition(uint32_t byteOffset);
  HRESULT GetStatus(uint32_t* status);
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2,
               uint32_t* bytes2, uint32_t flags);
  HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2);
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
  HRESULT Stop();
  HRESULT SetFormat(const WAVEFORMATEX* format);  // primary buffer only
  HRESULT GetFormat(WAVEFORMATEX* format);
  HRESULT SetVolume(int32_t hundredthsOfDb);
  HRESULT GetVolume(int32_t* hundredthsOfDb);
  HRESULT SetPan(int32_t pan);
  HRESULT GetPan(int32_t* pan);
  HRESULT SetFrequency(uint32_t hz);
  HRESULT GetFrequency(uint32_t* hz);
  // Frees the buffer; its samples go when the last buffer sharing them goes.
  uint32_t Release();

  // --- state, kept by the device (the mixer reads it under the device lock) ---
  bool primary = false;
  uint32_t flags = 0;
  WAVEFORMATEX format{};
  DsSampleBlock* samples = nullptr;
  uint32_t frames = 0;        // whole sample frames in the buffer
  uint64_t position = 0;      // play position: frame index << 32 | fraction
  bool playing = false;
  bool looping = false;
  int32_t volume = 0;         // hundredths of a decibel, -10000..0
  int32_t pan = 0;            // -10000 (left only) .. 10000 (right only)
  uint32_t frequency = 0;     // source frames per second
  int32_t gainLeft = 0;       // Q15 gains from volume and pan
  int32_t gainRight = 0;
  int lockCount = 0;
  IDirectSoundBuffer* next = nullptr;  // the device's list of live buffers
};

// The sound device.
struct IDirectSound {
  HRESULT Initialize(const void* deviceGuid);  // null: the default device
  // A window is required (0 is refused, as the system refuses it).
  HRESULT SetCooperativeLevel(Hwnd window, uint32_t level);
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out, void* outer);
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out);
  HRESULT GetCaps(DSCAPS* caps);
  // Releases the device and every buffer still alive on it.
  uint32_t Release();

  bool initialized = false;
  uint32_t cooperativeLevel = 0;
  Hwnd cooperativeWindow = 0;
};

// Stands in for creating the sound interface through the component system:
// gives an uninitialised device, or DSERR_NODRIVER when told to fail. Only
// one device exists at a time; a second creation gives DSERR_ALLOCATED.
HRESULT CreateDirectSound(IDirectSound** out);

// The wave formats the device's buffers take (and its mixer plays): PCM, 8
// or 16 bits, mono or stereo, block align and byte rate agreeing with them,
// a rate the frequency control allows. Any other gives DSERR_BADFORMAT.
bool IsPlayableFormat(const WAVEFORMATEX* format);

// The device list: calls `callback` once per device (the first is the primary
// sound driver, with no guid) until it returns false.
using DsEnumCallback = bool (*)(const void* guid, const char* description, const char* module,
                                void* context);
HRESULT DirectSoundEnumerateA(DsEnumCallback callback, void* context);

namespace dsound {

enum class SinkMode { Host, Manual };

// What the device is told to do wrong, and what it reports about itself.
struct Control {
  bool failCreateInterface = false;   // CreateDirectSound fails
  bool noDevice = false;              // Initialize fails
  bool failCooperativeLevel = false;
  bool failPrimary = false;           // creating the primary buffer fails
  bool failSetFormat = false;         // the primary buffer refuses its format
  int failNextCreates = 0;            // this many secondary creations fail
  int failNextDuplicates = 0;
  int failNextLocks = 0;
  int failNextPlays = 0;
  int failNextStatus = 0;
  uint32_t refusedFlags = 0;          // creations asking for any of these fail
  int maxBuffers = 0;                 // above this many live buffers creation fails (0: no limit)
  uint32_t capsFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT |
                       DSCAPS_PRIMARY16BIT | DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER |
                       DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT |
                       DSCAPS_SECONDARY16BIT;
  uint32_t minSampleRate = DSBFREQUENCY_MIN;
  uint32_t maxSampleRate = DSBFREQUENCY_MAX;
  int deviceCount = 1;                // entries the device list reports (0..4)
};

// Calls made so far, by operation.
struct Counters {
  int createInterface = 0;
  int initialize = 0;
  int createBuffer = 0;
  int duplicate = 0;
  int release = 0;
  int lock = 0;
  int unlock = 0;
  int play = 0;
  int stop = 0;
  int setPosition = 0;
  int getPosition = 0;
  int getStatus = 0;
  int setFormat = 0;
  int liveBuffers = 0;                // secondary and primary buffers now alive
  uint64_t framesMixed = 0;           // output frames produced by the mixer
};

Control& GetControl();
const Counters& GetCounters();

// Chooses where the mixed sound goes; takes effect at the next Initialize.
void SetSinkMode(SinkMode mode);
SinkMode GetSinkMode();

// Manual sink: mixes `frames` output frames, writing them to `out` (stereo
// interleaved, 2 x frames samples) when it is not null. Does nothing when no
// device is initialised in manual mode.
void AdvanceManual(int frames, int16_t* out = nullptr);

// Mixes `frames` frames of every playing buffer into `out` (stereo
// interleaved), advancing their cursors, whatever the sink. The host callback
// and AdvanceManual use it; benchmarks call it directly.
void MixInto(int16_t* out, int frames);

int OutputRate();

// Returns the device to its state at program load: no interface, every
// buffer freed, default controls, counters 0, host sink.
void ResetDirectSoundState();

}  // namespace dsound
}  // namespace plat
