#include "framework/sound/sound_system.h"

#include "framework/core/link_list.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_buffers.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_sound.h"
#include "framework/sound/wav_file.h"
#include "platform/dsound/dsound.h"
#include "platform/kernel/library.h"
#include "platform/window/desktop_window.h"

namespace qor {

namespace {

SoundState g_sound;
// The table is bound to its slots from program load on.
const bool g_tableBound = (InitHandleTable(&g_sound.table, kSoundHandleTag, kMaxSounds, g_sound.slots), true);

constexpr uint32_t kSilenceBytes = 400;

const char* OkNo(uint32_t flags, uint32_t bit) { return (flags & bit) ? "OK" : "NO"; }

void ReleaseDevice(SoundState& s) {
  s.directSound->Release();
  s.directSound = nullptr;
}

// Primary buffer format from what the device can do: stereo when it can, 16
// bits when it can, its highest secondary rate up to 44.1 kHz.
void SetPrimaryFormat(SoundState& s) {
  plat::DSCAPS caps{};
  caps.dwSize = plat::kDsCapsSize;
  s.directSound->GetCaps(&caps);
  WAVEFORMATEX f{};
  f.wFormatTag = plat::WAVE_FORMAT_PCM;
  f.nChannels = (caps.dwFlags & plat::DSCAPS_PRIMARYSTEREO) ? 2 : 1;
  f.nSamplesPerSec = caps.dwMaxSecondarySampleRate > 44100 ? 44100 : caps.dwMaxSecondarySampleRate;
  f.wBitsPerSample = (caps.dwFlags & plat::DSCAPS_PRIMARY16BIT) ? 16 : 8;
  f.nBlockAlign = static_cast<uint16_t>(f.wBitsPerSample / 8 * f.nChannels);
  f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
  f.cbSize = 0;
  if (plat::Failed(s.primaryBuffer->SetFormat(&f))) {
    LogOutput("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました\n");
  }
}

// A buffer of silence that plays looping until shut-down.
void StartSilenceBuffer(SoundState& s) {
  const WAVEFORMATEX f{plat::WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const plat::DSBUFFERDESC desc{plat::kDsBufferDescSize, plat::DSBCAPS_GLOBALFOCUS | plat::DSBCAPS_STATIC,
                                kSilenceBytes, 0, &f};
  plat::IDirectSoundBuffer* b = nullptr;
  if (plat::Failed(s.directSound->CreateSoundBuffer(&desc, &b, nullptr))) {
    LogOutput("無音バッファの作成に失敗しました");
    return;
  }
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (plat::Failed(b->Lock(0, kSilenceBytes, &p1, &n1, &p2, &n2, 0))) {
    LogOutput("無音バッファのロックに失敗しました");
    b->Release();
    return;
  }
  for (uint32_t i = 0; i < n1; ++i) static_cast<uint8_t*>(p1)[i] = 0;
  for (uint32_t i = 0; i < n2; ++i) static_cast<uint8_t*>(p2)[i] = 0;
  b->Unlock(p1, n1, p2, n2);
  b->Play(0, 0, plat::DSBPLAY_LOOPING);
  s.silenceBuffer = b;
}

using EnumerateFunction = plat::HRESULT (*)(plat::DsEnumCallback callback, void* context);

void ReportDevice(SoundState& s) {
  IncreaseLogIndent();
  plat::DSCAPS caps{};
  caps.dwSize = plat::kDsCapsSize;
  s.directSound->GetCaps(&caps);
  LogOutput("DirectSound デバイスを列挙します\n");
  IncreaseLogIndent();
  // The device list comes from the sound library, loaded by name.
  const plat::Hmodule library = plat::LoadLibraryA("DSOUND.DLL");
  if (library == 0) {
    LogOutput("DSOUND.DLL のロードに失敗しました\n");
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  const auto enumerate = reinterpret_cast<EnumerateFunction>(plat::GetProcAddress(library, "DirectSoundEnumerateA"));
  if (enumerate == nullptr) {
    plat::FreeLibrary(library);
    LogOutput("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました\n");
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  enumerate(EnumSoundDriverCallback, nullptr);
  DecreaseLogIndent();
  LogPrintf("最大サンプリングレート:%.2fKHz 最小サンプリングレート:%.2fKHz ", caps.dwMaxSecondarySampleRate / 1000.0,
            caps.dwMinSecondarySampleRate / 1000.0);
  LogPrintf("総サウンドメモリ領域:%.2fKB 空きサウンドメモリ領域:%.2fKB \n", caps.dwTotalHwMemBytes / 1024.0,
            caps.dwFreeHwMemBytes / 1024.0);
  LogOutput("利用可能サンプリング精度\n");
  LogPrintf(" プライマリ １６bit = %s  ８bit = %s ", OkNo(caps.dwFlags, plat::DSCAPS_PRIMARY16BIT),
            OkNo(caps.dwFlags, plat::DSCAPS_PRIMARY8BIT));
  LogPrintf(" セカンダリ １６bit = %s  ８bit = %s \n", OkNo(caps.dwFlags, plat::DSCAPS_SECONDARY16BIT),
            OkNo(caps.dwFlags, plat::DSCAPS_SECONDARY8BIT));
  LogOutput("利用可能チャンネル\n");
  LogPrintf(" プライマリ MONO = %s  STEREO = %s ", OkNo(caps.dwFlags, plat::DSCAPS_PRIMARYMONO),
            OkNo(caps.dwFlags, plat::DSCAPS_PRIMARYSTEREO));
  LogPrintf(" セカンダリ MONO = %s  STEREO = %s \n", OkNo(caps.dwFlags, plat::DSCAPS_SECONDARYMONO),
            OkNo(caps.dwFlags, plat::DSCAPS_SECONDARYSTEREO));
  DecreaseLogIndent();
  plat::FreeLibrary(library);
}

}  // namespace

SoundState& GetSoundState() { return g_sound; }

void SetDirectMusicMode(int mode) { g_sound.directMusicMode = mode == 1 ? 1 : 0; }
void SetSoundMessagePump(int (*pump)()) { g_sound.pumpMessages = pump; }

bool EnumSoundDriverCallback(const void*, const char* description, const char* module, void*) {
  LogPrintf("モジュール名:%15s  ドライバ記述:%s ", module, description);
  return true;
}

int InitDirectSound() {
  SoundState& s = g_sound;
  if (s.directSound != nullptr) return -1;
  if (s.directMusicMode == 1) return InitThroughDirectMusic();

  LogOutput("DirectSound の初期化を行います\n");
  LogOutput("DirectSound インターフェースの取得を行います....  ");
  if (plat::Failed(plat::CreateDirectSound(&s.directSound))) {
    s.directSound = nullptr;
    return LogOutput("DirectSoundインターフェースの作成に失敗しました\n");
  }
  LogOutput("成功\n");
  LogOutput("引き続きインターフェースの初期化処理...  ");
  if (plat::Failed(s.directSound->Initialize(nullptr))) {
    LogOutput("初期化に失敗しました\n");
    ReleaseDevice(s);
    return -1;
  }
  LogOutput("成功\n");
  // The level is taken for the desktop window, so the device does not hang
  // on the program's own window (made, changed and destroyed around it).
  if (s.directSound->SetCooperativeLevel(plat::GetDesktopWindow(), plat::DSSCL_PRIORITY) != plat::DS_OK) {
    LogOutput("DirectSoundの協調レベルの設定に失敗しました\n");
    ReleaseDevice(s);
    return -1;
  }
  const plat::DSBUFFERDESC primary{plat::kDsBufferDescSize, plat::DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
  if (plat::Failed(s.directSound->CreateSoundBuffer(&primary, &s.primaryBuffer, nullptr))) {
    LogOutput("DirectSoundのプライマリサウンドバッファの作成に失敗しました\n");
    s.primaryBuffer = nullptr;
    ReleaseDevice(s);
    return -1;
  }
  SetPrimaryFormat(s);
  return FinishSoundStartUp();
}

int FinishSoundStartUp() {
  SoundState& s = g_sound;
  StartSilenceBuffer(s);

  s.createMode = 0;
  s.oggVorbisWordSize = 2;
  InitLinkList(&s.streamListHead, &s.streamListTail);

  ReportDevice(s);
  LogOutput("DirectSound の初期化は正常に終了しました\n");
  DeleteAllSounds();
  return 0;
}

int FinishSoundCapture() {
  SoundState& s = g_sound;
  if (!s.captureOpen) return -1;
  // 16-bit stereo at 44.1 kHz; the sizes stop at what 32 bits hold.
  const plat::WAVEFORMATEX format{plat::WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const uint64_t dataBytes = uint64_t{4} * s.capturedFrames;
  const uint32_t room = UINT32_MAX - 20 - sizeof format;
  const uint32_t data = dataBytes > room ? room : static_cast<uint32_t>(dataBytes);
  uint8_t header[28 + sizeof format];
  WriteWaveHeader(header, &format, sizeof format, data);
  plat::SeekFile(s.captureFile, 0, 0);
  plat::WriteFileBytes(s.captureFile, header, sizeof header);
  plat::CloseFile(s.captureFile);
  s.captureFile = plat::kNoFile;
  s.captureOpen = 0;
  return 0;
}

int EndDirectSound() {
  SoundState& s = g_sound;
  if (s.directSound == nullptr) return -1;
  FinishSoundCapture();
  DeleteAllSounds();
  DeleteAllMusic();
  DeleteTempMidiFile();
  if (s.directMusicMode == 1) ReleaseMusicSystem();
  if (s.primaryBuffer != nullptr) {
    s.primaryBuffer->Stop();
    s.primaryBuffer->Release();
    s.primaryBuffer = nullptr;
  }
  if (s.silenceBuffer != nullptr) {
    s.silenceBuffer->Stop();
    s.silenceBuffer->Release();
    s.silenceBuffer = nullptr;
  }
  ReleaseDevice(s);
  LogOutput("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}

void ResetSoundState() {
  SoundState& s = g_sound;
  if (s.directSound != nullptr) {
    DeleteAllSounds();
    DeleteAllMusic();
    if (s.primaryBuffer != nullptr) s.primaryBuffer->Release();
    if (s.silenceBuffer != nullptr) s.silenceBuffer->Release();
    s.directSound->Release();
  }
  ReleaseMusicSystem();
  if (s.captureOpen) plat::CloseFile(s.captureFile);
  for (int i = 0; i < kMaxSounds; ++i) {
    SoundData* record = static_cast<SoundData*>(s.slots[i]);
    if (record == nullptr) continue;
    if (record->pcmData != nullptr) FreeMemory(record->pcmData);
    FreeStreamParts(record);
    FreeMemory(record);
  }
  ResetMusicState();
  s = SoundState{};
  InitHandleTable(&s.table, kSoundHandleTag, kMaxSounds, s.slots);
}

}  // namespace qor
