// Sound start-up through the music system: the loader, the performance and
// the music object are made, the music ports are listed, and the
// performance starts the sound device that every sound call then uses.
#include "framework/core/log.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/sound_system.h"
#include "platform/dmusic/dmusic.h"
#include "platform/kernel/text_encoding.h"

namespace qor {

namespace {

// One line per port of the music object's list.
void ReportPorts(plat::IDirectMusic8* music) {
  for (uint32_t index = 0;; ++index) {
    plat::DMUS_PORTCAPS caps{};
    caps.dwSize = sizeof caps;
    // A list that cannot be read ends here, as the end of the list does.
    if (music->EnumPort(index, &caps) != plat::S_OK) break;
    char description[256];
    plat::WideToCp932(caps.wszDescription, description, sizeof description);
    LogPrintf("%s  Device%d:%s ", caps.dwClass == plat::DMUS_PC_OUTPUTCLASS ? "出力ポート" : "入力ポート",
              static_cast<int>(index), description);
  }
}

// A step after the loader failed: sound stays off. Shut-down does nothing
// while the sound device is not there, so what the music system made so
// far is let go here.
int FailMusicStart(const char* line) {
  LogOutput(line);
  EndDirectSound();
  ReleaseMusicSystem();
  return -1;
}

}  // namespace

void ReleaseMusicSystem() {
  SoundState& s = GetSoundState();
  if (s.musicPerformance != nullptr) {
    s.musicPerformance->Stop(nullptr, nullptr, 0, 0);
    s.musicPerformance->CloseDown();
    s.musicPerformance->Release();
    s.musicPerformance = nullptr;
  }
  if (s.musicLoader != nullptr) {
    s.musicLoader->Release();
    s.musicLoader = nullptr;
  }
}

int InitThroughDirectMusic() {
  SoundState& s = GetSoundState();
  LogOutput("DirectSound8 の初期化を行います\n");
  if (plat::Failed(plat::CreateDirectMusicLoader(&s.musicLoader))) {
    s.musicLoader = nullptr;
    LogOutput("DirectMusicLoader8 オブジェクトの作成に失敗しました\n");
    LogOutput("前バージョンでの初期化処理に移ります\n");
    s.directMusicMode = 0;
    return InitDirectSound();
  }
  if (plat::Failed(plat::CreateDirectMusicPerformance(&s.musicPerformance))) {
    s.musicPerformance = nullptr;
    return FailMusicStart("DirectMusicPerformance オブジェクトの作成に失敗しました\n");
  }
  plat::IDirectMusic* music = nullptr;
  if (plat::Failed(plat::CreateDirectMusic(&music))) {
    return FailMusicStart("DirectMusic オブジェクトの取得に失敗しました\n");
  }
  plat::IDirectMusic8* music8 = nullptr;
  if (plat::Failed(music->QueryInterface(&music8))) {
    music->Release();
    return FailMusicStart("DirectMusic8 オブジェクトの取得に失敗しました\n");
  }
  ReportPorts(music8);
  music8->Release();
  music->Release();

  plat::DMUS_AUDIOPARAMS params{};
  params.dwSize = sizeof params;
  params.fInitNow = 1;
  params.dwValidData = plat::DMUS_AUDIOPARAMS_FEATURES | plat::DMUS_AUDIOPARAMS_SAMPLERATE;
  params.dwFeatures = plat::DMUS_AUDIOF_ALL;
  params.dwSampleRate = 44100;
  plat::IDirectMusic* received = nullptr;
  plat::IDirectSound* device = nullptr;
  if (plat::Failed(s.musicPerformance->InitAudio(&received, &device, 0, plat::DMUS_APATH_SHARED_STEREOPLUSREVERB,
                                                  64, plat::DMUS_AUDIOF_ALL, &params))) {
    return FailMusicStart("DirectMusicPerformanceオブジェクトの初期化に失敗しました\n");
  }
  // The music object handed back has no further use.
  if (received != nullptr) received->Release();
  s.directSound = device;
  int32_t volume = 0;
  s.musicPerformance->GetGlobalParam(plat::DmGlobalParam::MasterVolume, &volume, sizeof volume);
  s.masterVolume = volume;
  return FinishSoundStartUp();
}

}  // namespace qor
