// The device object: creation, start-up of the sink, buffer creation and
// duplication, capabilities, the device list and the test controls.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/dsound/dsound.h"
#include "platform/dsound/dsound_state.h"
#include "platform/host/host.h"

namespace plat {
namespace dsound {

namespace {
pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
DeviceState g_state;

void MixerCallback(void*, int16_t* out, int frames) { MixInto(out, frames); }

int LiveSecondaryBuffers() {
  int n = 0;
  for (IDirectSoundBuffer* b = g_state.buffers; b != nullptr; b = b->next) n += b->primary ? 0 : 1;
  return n;
}

void LinkBuffer(IDirectSoundBuffer* b) {
  b->next = g_state.buffers;
  g_state.buffers = b;
  ++g_state.counters.liveBuffers;
}

// Frees one buffer and, with its last user, its samples. Lock held.
void FreeBufferLocked(IDirectSoundBuffer* buffer) {
  for (IDirectSoundBuffer** p = &g_state.buffers; *p != nullptr; p = &(*p)->next) {
    if (*p == buffer) {
      *p = buffer->next;
      break;
    }
  }
  if (buffer->samples != nullptr && --buffer->samples->users == 0) {
    std::free(buffer->samples->bytes);
    delete buffer->samples;
  }
  --g_state.counters.liveBuffers;
  delete buffer;
}

// Takes the device down: the sink first (outside the lock, because closing
// the host's output waits for its callback), then every buffer.
void ReleaseDevice() {
  if (g_state.hostAudioOpen) {
    HostCloseAudio();
  }
  LockDevice();
  g_state.hostAudioOpen = false;
  g_state.clockPaced = false;
  while (g_state.buffers != nullptr) FreeBufferLocked(g_state.buffers);
  delete g_state.device;
  g_state.device = nullptr;
  UnlockDevice();
}
}  // namespace

DeviceState& State() { return g_state; }
void LockDevice() { pthread_mutex_lock(&g_lock); }
void UnlockDevice() { pthread_mutex_unlock(&g_lock); }

Control& GetControl() { return g_state.control; }
const Counters& GetCounters() { return g_state.counters; }
void SetSinkMode(SinkMode mode) { g_state.mode = mode; }
SinkMode GetSinkMode() { return g_state.mode; }
int OutputRate() { return g_state.outputRate; }

bool TakeFailure(int* count) {
  if (*count <= 0) return false;
  --*count;
  return true;
}

void AdvanceManual(int frames, int16_t* out) {
  if (g_state.device == nullptr || !g_state.device->initialized || g_state.activeSink != SinkMode::Manual) return;
  MixInto(out, frames);
}

void ResetDirectSoundState() {
  if (g_state.device != nullptr) ReleaseDevice();
  LockDevice();
  g_state = DeviceState{};
  UnlockDevice();
}

void UpdateGains(IDirectSoundBuffer* b) {
  // Attenuation in hundredths of a decibel per side: the volume, plus the pan
  // taken off the side it points away from.
  const int32_t left = b->volume + (b->pan > 0 ? -b->pan : 0);
  const int32_t right = b->volume + (b->pan < 0 ? b->pan : 0);
  b->gainLeft = DbToGainQ15(left);
  b->gainRight = DbToGainQ15(right);
}

}  // namespace dsound

using dsound::g_state;

bool IsPlayableFormat(const WAVEFORMATEX* f) {
  if (f == nullptr || f->wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f->nChannels < 1 || f->nChannels > 2) return false;
  if (f->wBitsPerSample != 8 && f->wBitsPerSample != 16) return false;
  if (f->nBlockAlign != f->nChannels * f->wBitsPerSample / 8) return false;
  if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > DSBFREQUENCY_MAX) return false;
  return f->nAvgBytesPerSec == f->nSamplesPerSec * f->nBlockAlign;
}

HRESULT CreateDirectSound(IDirectSound** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  ++g_state.counters.createInterface;
  if (g_state.control.failCreateInterface) return DSERR_NODRIVER;
  if (g_state.device != nullptr) return DSERR_ALLOCATED;
  IDirectSound* device = new (std::nothrow) IDirectSound();
  if (device == nullptr) return DSERR_OUTOFMEMORY;
  g_state.device = device;
  *out = device;
  return DS_OK;
}

HRESULT DirectSoundEnumerateA(DsEnumCallback callback, void* context) {
  if (callback == nullptr) return DSERR_INVALIDPARAM;
  static const char* const kDescriptions[] = {"Primary sound driver", "Software mixer 1",
                                              "Software mixer 2", "Software mixer 3"};
  static const char* const kModules[] = {"", "orbmix", "orbmix", "orbmix"};
  static const uint8_t kGuids[4][16] = {{}, {1}, {2}, {3}};
  const int count = g_state.control.deviceCount < 0 ? 0 : g_state.control.deviceCount > 4 ? 4 : g_state.control.deviceCount;
  for (int i = 0; i < count; ++i) {
    if (!callback(i == 0 ? nullptr : kGuids[i], kDescriptions[i], kModules[i], context)) break;
  }
  return DS_OK;
}

HRESULT IDirectSound::Initialize(const void*) {
  using namespace dsound;
  ++g_state.counters.initialize;
  if (initialized) return DSERR_ALREADYINITIALIZED;
  if (g_state.control.noDevice) return DSERR_NODRIVER;
  g_state.activeSink = g_state.mode;
  if (g_state.mode == SinkMode::Host) {
    // The host's audio thread may call the mixer as soon as the output is
    // open, so what it reads is set under the lock.
    const int rate = HostOpenAudio(44100, MixerCallback, nullptr);
    const uint64_t now = rate > 0 ? 0 : HostMicros();
    LockDevice();
    if (rate > 0) {
      g_state.outputRate = rate;
      g_state.hostAudioOpen = true;
    } else {
      // No audio output: keep time by the clock so buffers still end.
      g_state.outputRate = 44100;
      g_state.clockPaced = true;
      g_state.clockStartMicros = now;
      g_state.clockFramesDone = 0;
    }
    UnlockDevice();
  } else {
    LockDevice();
    g_state.outputRate = 44100;
    UnlockDevice();
  }
  initialized = true;
  return DS_OK;
}

HRESULT IDirectSound::SetCooperativeLevel(Hwnd window, uint32_t level) {
  if (!initialized) return DSERR_UNINITIALIZED;
  if (g_state.control.failCooperativeLevel) return DSERR_INVALIDPARAM;
  if (window == 0 || level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
  cooperativeLevel = level;
  cooperativeWindow = window;
  return DS_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out, void* outer) {
  using namespace dsound;
  ++g_state.counters.createBuffer;
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (desc == nullptr || desc->dwSize != kDsBufferDescSize || outer != nullptr) return DSERR_INVALIDPARAM;
  if (!initialized) return DSERR_UNINITIALIZED;

  if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
    if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr) return DSERR_INVALIDPARAM;
    if (g_state.control.failPrimary) return DSERR_GENERIC;
    IDirectSoundBuffer* b = new (std::nothrow) IDirectSoundBuffer();
    if (b == nullptr) return DSERR_OUTOFMEMORY;
    b->primary = true;
    b->flags = desc->dwFlags;
    b->format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    LockDevice();
    LinkBuffer(b);
    UnlockDevice();
    *out = b;
    return DS_OK;
  }

  if (TakeFailure(&g_state.control.failNextCreates)) return DSERR_OUTOFMEMORY;
  if (desc->dwFlags & g_state.control.refusedFlags) return DSERR_CONTROLUNAVAIL;
  if (!IsPlayableFormat(desc->lpwfxFormat)) return DSERR_BADFORMAT;
  const WAVEFORMATEX& f = *desc->lpwfxFormat;
  if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
      desc->dwBufferBytes < f.nBlockAlign) {
    return DSERR_INVALIDPARAM;
  }
  if (g_state.control.maxBuffers > 0 && LiveSecondaryBuffers() >= g_state.control.maxBuffers) {
    return DSERR_ALLOCATED;
  }
  DsSampleBlock* block = new (std::nothrow) DsSampleBlock();
  IDirectSoundBuffer* b = new (std::nothrow) IDirectSoundBuffer();
  uint8_t* bytes = static_cast<uint8_t*>(std::malloc(desc->dwBufferBytes));
  if (block == nullptr || b == nullptr || bytes == nullptr) {
    std::free(bytes);
    delete b;
    delete block;
    return DSERR_OUTOFMEMORY;
  }
  // A new buffer holds silence.
  std::memset(bytes, f.wBitsPerSample == 8 ? 0x80 : 0, desc->dwBufferBytes);
  block->bytes = bytes;
  block->size = desc->dwBufferBytes;
  block->users = 1;
  b->flags = desc->dwFlags;
  b->format = f;
  b->samples = block;
  b->frames = desc->dwBufferBytes / f.nBlockAlign;
  b->frequency = f.nSamplesPerSec;
  UpdateGains(b);
  LockDevice();
  LinkBuffer(b);
  UnlockDevice();
  *out = b;
  return DS_OK;
}

HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) {
  using namespace dsound;
  ++g_state.counters.duplicate;
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (original == nullptr) return DSERR_INVALIDPARAM;
  if (!initialized) return DSERR_UNINITIALIZED;
  if (original->primary) return DSERR_INVALIDCALL;
  if (TakeFailure(&g_state.control.failNextDuplicates)) return DSERR_OUTOFMEMORY;
  if (g_state.control.maxBuffers > 0 && LiveSecondaryBuffers() >= g_state.control.maxBuffers) {
    return DSERR_ALLOCATED;
  }
  IDirectSoundBuffer* b = new (std::nothrow) IDirectSoundBuffer();
  if (b == nullptr) return DSERR_OUTOFMEMORY;
  LockDevice();
  b->flags = original->flags;
  b->format = original->format;
  b->samples = original->samples;
  ++b->samples->users;
  b->frames = original->frames;
  b->volume = original->volume;
  b->pan = original->pan;
  b->frequency = original->frequency;
  UpdateGains(b);
  LinkBuffer(b);
  UnlockDevice();
  *out = b;
  return DS_OK;
}

HRESULT IDirectSound::GetCaps(DSCAPS* caps) {
  if (caps == nullptr || caps->dwSize != kDsCapsSize) return DSERR_INVALIDPARAM;
  if (!initialized) return DSERR_UNINITIALIZED;
  const uint32_t size = caps->dwSize;
  std::memset(caps, 0, sizeof *caps);
  caps->dwSize = size;
  caps->dwFlags = g_state.control.capsFlags;
  caps->dwMinSecondarySampleRate = g_state.control.minSampleRate;
  caps->dwMaxSecondarySampleRate = g_state.control.maxSampleRate;
  caps->dwPrimaryBuffers = 1;
  return DS_OK;
}

uint32_t IDirectSound::Release() {
  if (g_state.device == this) {
    dsound::ReleaseDevice();
  } else {
    delete this;
  }
  return 0;
}

uint32_t IDirectSoundBuffer::Release() {
  ++g_state.counters.release;
  dsound::LockDevice();
  dsound::FreeBufferLocked(this);
  dsound::UnlockDevice();
  return 0;
}

}  // namespace plat
