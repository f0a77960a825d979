#include "platform/dmusic/dmusic.h"

#include <new>

#include "platform/window/desktop_window.h"

namespace plat {

namespace dmusic {
namespace {

Control g_control;
Counters g_counters;

struct Port {
  uint32_t portClass;
  const char16_t* description;
};
const Port kPorts[] = {
    {DMUS_PC_OUTPUTCLASS, u"ソフトウェア シンセサイザ"},
    {DMUS_PC_INPUTCLASS, u"MIDI In"},
    {DMUS_PC_OUTPUTCLASS, u"MIDI Out"},
    {DMUS_PC_OUTPUTCLASS, u"Wave Synth"},
};

// Whether this step is to fail now.
bool Fails(Step step) { return g_control.failStep == static_cast<int>(step); }

template <typename T>
HRESULT Create(Step step, T** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ++g_counters.createCalls;
  if (!g_control.available) return REGDB_E_CLASSNOTREG;
  if (Fails(step)) return E_FAIL;
  T* object = new (std::nothrow) T();
  if (object == nullptr) return DSERR_OUTOFMEMORY;
  ++g_counters.liveObjects;
  *out = object;
  return S_OK;
}

template <typename T>
uint32_t Destroy(T* object) {
  --g_counters.liveObjects;
  delete object;
  return 0;
}

}  // namespace

Control& GetControl() { return g_control; }
const Counters& GetCounters() { return g_counters; }

IDirectMusicSegment8* NewSegment() {
  IDirectMusicSegment8* s = new (std::nothrow) IDirectMusicSegment8();
  if (s != nullptr) ++g_counters.liveObjects;
  return s;
}

void ResetDirectMusicState() {
  g_control = Control{};
  g_counters = Counters{};
}

}  // namespace dmusic

using namespace dmusic;

HRESULT CreateDirectMusicLoader(IDirectMusicLoader8** out) { return Create(Step::CreateLoader, out); }
HRESULT CreateDirectMusicPerformance(IDirectMusicPerformance8** out) { return Create(Step::CreatePerformance, out); }
HRESULT CreateDirectMusic(IDirectMusic** out) { return Create(Step::CreateDirectMusic, out); }

HRESULT IDirectMusicSegment8::Unload(IDirectMusicPerformance8* performance) {
  if (performance == nullptr) return E_POINTER;
  ++g_counters.unload;
  return S_OK;
}
uint32_t IDirectMusicSegment8::Release() { return Destroy(this); }

HRESULT IDirectMusicLoader8::ReleaseObjectByUnknown(IDirectMusicSegment8* object) {
  if (object == nullptr) return E_POINTER;
  ++g_counters.releaseObject;
  if (!object->cached) return S_FALSE;
  object->cached = false;
  return S_OK;
}
uint32_t IDirectMusicLoader8::Release() { return Destroy(this); }

HRESULT IDirectMusic8::EnumPort(uint32_t index, DMUS_PORTCAPS* caps) {
  if (caps == nullptr || caps->dwSize != sizeof(DMUS_PORTCAPS)) return E_POINTER;
  const int count = g_control.portCount < 0 ? 0 : g_control.portCount > 4 ? 4 : g_control.portCount;
  if (index >= static_cast<uint32_t>(count)) return S_FALSE;
  caps->dwFlags = 0;
  caps->dwClass = kPorts[index].portClass;
  int i = 0;
  for (; kPorts[index].description[i] != 0 && i < 127; ++i) caps->wszDescription[i] = kPorts[index].description[i];
  caps->wszDescription[i] = 0;
  return S_OK;
}
uint32_t IDirectMusic8::Release() { return Destroy(this); }

HRESULT IDirectMusic::QueryInterface(IDirectMusic8** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (Fails(Step::QueryDirectMusic8)) return E_NOINTERFACE;
  IDirectMusic8* view = new (std::nothrow) IDirectMusic8();
  if (view == nullptr) return DSERR_OUTOFMEMORY;
  ++g_counters.liveObjects;
  *out = view;
  return S_OK;
}
uint32_t IDirectMusic::Release() { return Destroy(this); }

HRESULT IDirectMusicPerformance8::InitAudio(IDirectMusic** music, IDirectSound** sound, Hwnd window,
                                            uint32_t defaultPathType, uint32_t channelCount, uint32_t flags,
                                            DMUS_AUDIOPARAMS* params) {
  InitAudioCall& call = g_counters.lastInitAudio;
  call = InitAudioCall{};
  call.window = window;
  call.pathType = defaultPathType;
  call.channelCount = channelCount;
  call.flags = flags;
  if (params != nullptr) call.params = *params;
  call.askedMusic = music != nullptr;
  call.askedSound = sound != nullptr;
  if (audioStarted) return DSERR_ALREADYINITIALIZED;
  if (Fails(Step::InitAudio)) return E_FAIL;

  // The sound device the performance plays through; with no window given
  // the priority level is taken for the desktop.
  IDirectSound* device = nullptr;
  HRESULT hr = CreateDirectSound(&device);
  if (Failed(hr)) return hr;
  hr = device->Initialize(nullptr);
  if (!Failed(hr)) hr = device->SetCooperativeLevel(window != 0 ? window : GetDesktopWindow(), DSSCL_PRIORITY);
  if (Failed(hr)) {
    device->Release();
    return hr;
  }
  IDirectMusic* object = nullptr;
  if (music != nullptr) {
    object = new (std::nothrow) IDirectMusic();
    if (object == nullptr) {
      device->Release();
      return DSERR_OUTOFMEMORY;
    }
    ++g_counters.liveObjects;
    *music = object;
  }
  if (sound != nullptr) *sound = device;
  audioStarted = true;
  return S_OK;
}

HRESULT IDirectMusicPerformance8::GetGlobalParam(DmGlobalParam which, void* data, uint32_t size) {
  if (data == nullptr || which != DmGlobalParam::MasterVolume || size != sizeof(int32_t)) return E_POINTER;
  if (!audioStarted) return DMUS_E_NOT_INIT;
  *static_cast<int32_t*>(data) = g_control.masterVolume;
  return S_OK;
}

HRESULT IDirectMusicPerformance8::IsPlaying(IDirectMusicSegment8* segment, void*) {
  ++g_counters.isPlaying;
  if (segment == nullptr) return E_POINTER;
  return segment->playing ? S_OK : S_FALSE;
}

HRESULT IDirectMusicPerformance8::StopEx(IDirectMusicSegment8* segment, int64_t, uint32_t) {
  ++g_counters.stopEx;
  if (segment != nullptr) segment->playing = false;
  return S_OK;
}

HRESULT IDirectMusicPerformance8::Stop(IDirectMusicSegment8* segment, void*, int32_t, uint32_t) {
  if (segment == nullptr) ++g_counters.stopAll;
  else segment->playing = false;
  return S_OK;
}

HRESULT IDirectMusicPerformance8::CloseDown() {
  ++g_counters.closeDown;
  audioStarted = false;
  return S_OK;
}
uint32_t IDirectMusicPerformance8::Release() { return Destroy(this); }

}  // namespace plat
