// Sound start-up and shut-down step by step, on both roads (the sound device
// alone, and through the music system), against the stand-ins: the log in
// its order, the sound library loaded by name for the device list, every
// step of the music road made to fail, the capture header, and the music
// handles' poll, stop and delete.
#include <gtest/gtest.h>

#include "framework/core/window/main_window.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "platform/dmusic/dmusic.h"
#include "platform/dsound/mci.h"
#include "platform/kernel/library.h"
#include "platform/window/desktop_window.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::Pcm;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

class SoundStartupRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    OpenLogFile();
  }
  void TearDown() override {
    Reset();
    EXPECT_EQ(GetAllocatorState().liveCount, 0);
  }
  static void Reset() {
    ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, 0);
    EXPECT_EQ(plat::library::LoadedCount(), 0);
    plat::dmusic::ResetDirectMusicState();
    plat::library::ResetLibraryStandIn();
    plat::mci::ResetMciState();
  }
  // The log's lines without their time stamps.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    const std::string text = coretest::WithoutStamps(dir_.Read("Log.txt"));
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      out.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return out;
  }
  // Whether `wanted` appear in this order, each inside one line, with no
  // other line of `wanted` between; returns the index of the line of each.
  static std::vector<int> Find(const std::vector<std::string>& lines, const std::vector<const char*>& wanted) {
    std::vector<int> at;
    size_t line = 0;
    for (const char* w : wanted) {
      while (line < lines.size() && lines[line].find(w) == std::string::npos) ++line;
      if (line == lines.size()) return at;
      at.push_back(static_cast<int>(line++));
    }
    return at;
  }
  static int Count(const std::vector<std::string>& lines, const char* text) {
    int n = 0;
    for (const std::string& l : lines) n += l.find(text) != std::string::npos ? 1 : 0;
    return n;
  }
  static int Indent(const std::string& line) {
    int n = 0;
    while (n < static_cast<int>(line.size()) && line[static_cast<size_t>(n)] == '\t') ++n;
    return n;
  }
  static int LoadEffect() {
    WavSpec s;
    s.data = Pcm(400);
    const std::vector<uint8_t> image = WriteWav(s);
    return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 3, -1);
  }

  coretest::ScratchDir dir_;
};

// The sound device's road in its order; the device list comes from the
// sound library, whose load and look-up each have their own line, and the
// library is let go and the log indent restored on every path.
TEST_F(SoundStartupRoad, DeviceRoadLogsItsStepsInOrder) {
  enum { kListed, kNoLibrary, kNoFunction };
  for (int road : {kListed, kNoLibrary, kNoFunction}) {
    Reset();
    dir_.WriteFile("Log.txt", {});
    OpenLogFile();
    if (road == kNoLibrary) plat::library::FailNextLoad();
    if (road == kNoFunction) plat::library::FailNextLookup();
    ASSERT_EQ(InitDirectSound(), 0) << road;
    const std::vector<std::string> lines = Lines();
    std::vector<const char*> wanted = {"DirectSound の初期化を行います",
                                       "DirectSound インターフェースの取得を行います....  成功",
                                       "引き続きインターフェースの初期化処理...  成功",
                                       "DirectSound デバイスを列挙します"};
    if (road == kListed) {
      for (const char* w : {"モジュール名:", "最大サンプリングレート:", "利用可能サンプリング精度", " プライマリ １６bit",
                            "利用可能チャンネル", " プライマリ MONO"}) {
        wanted.push_back(w);
      }
    }
    if (road == kNoLibrary) wanted.push_back("DSOUND.DLL のロードに失敗しました");
    if (road == kNoFunction) wanted.push_back("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました");
    wanted.push_back("DirectSound の初期化は正常に終了しました");
    const std::vector<int> at = Find(lines, wanted);
    ASSERT_EQ(at.size(), wanted.size()) << road;
    EXPECT_EQ(Count(lines, "モジュール名:"), road == kListed ? 1 : 0) << road;
    EXPECT_EQ(Count(lines, "最大サンプリングレート:"), road == kListed ? 1 : 0) << road;
    // The list one level in, the device lines two; the last line back out.
    const int base = Indent(lines[static_cast<size_t>(at[0])]);
    EXPECT_EQ(Indent(lines[static_cast<size_t>(at[3])]), base + 1) << road;
    EXPECT_EQ(Indent(lines[static_cast<size_t>(at[4])]), base + 2) << road;
    EXPECT_EQ(Indent(lines[static_cast<size_t>(at.back())]), base) << road;
    EXPECT_EQ(plat::library::LoadedCount(), 0) << road;
    // The priority level, taken for the desktop.
    const plat::IDirectSound* device = GetSoundState().directSound;
    EXPECT_EQ(device->cooperativeLevel, plat::DSSCL_PRIORITY);
    EXPECT_EQ(device->cooperativeWindow, plat::GetDesktopWindow());
    EXPECT_NE(GetSoundState().primaryBuffer, nullptr);
    EXPECT_NE(LoadEffect(), -1) << road;
  }
}

// The music system's road, step by step: every step made to fail in turn
// (the loader's failure falls back to the device's road), then every step
// passing.
TEST_F(SoundStartupRoad, MusicRoadTakesEachStepAndStopsAtAFailure) {
  using Step = plat::dmusic::Step;
  const struct {
    int failStep;
    int result;
    const char* line;
  } cases[] = {
      {static_cast<int>(Step::CreateLoader), 0, "DirectMusicLoader8 オブジェクトの作成に失敗しました"},
      {static_cast<int>(Step::CreatePerformance), -1, "DirectMusicPerformance オブジェクトの作成に失敗しました"},
      {static_cast<int>(Step::CreateDirectMusic), -1, "DirectMusic オブジェクトの取得に失敗しました"},
      {static_cast<int>(Step::QueryDirectMusic8), -1, "DirectMusic8 オブジェクトの取得に失敗しました"},
      {static_cast<int>(Step::InitAudio), -1, "DirectMusicPerformanceオブジェクトの初期化に失敗しました"},
      {-1, 0, "DirectSound の初期化は正常に終了しました"},
  };
  for (const auto& c : cases) {
    Reset();
    dir_.WriteFile("Log.txt", {});
    OpenLogFile();
    plat::dmusic::GetControl().available = true;
    plat::dmusic::GetControl().failStep = c.failStep;
    plat::dmusic::GetControl().masterVolume = -300;
    SetDirectMusicMode(1);
    ASSERT_EQ(InitDirectSound(), c.result) << c.line;
    const std::vector<std::string> lines = Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("DirectSound8 の初期化を行います"), std::string::npos) << c.line;
    EXPECT_EQ(Find(lines, {c.line}).size(), 1u) << c.line;
    const bool portsListed = c.failStep == -1 || c.failStep == static_cast<int>(Step::InitAudio);
    EXPECT_EQ(Count(lines, "出力ポート  Device0:ソフトウェア シンセサイザ "), portsListed ? 1 : 0) << c.line;
    EXPECT_EQ(Count(lines, "入力ポート  Device1:MIDI In "), portsListed ? 1 : 0) << c.line;
    SoundState& s = GetSoundState();
    if (c.result == -1) {
      // Sound stays off and nothing of the music system is kept.
      EXPECT_EQ(s.directSound, nullptr) << c.line;
      EXPECT_EQ(s.musicPerformance, nullptr) << c.line;
      EXPECT_EQ(s.musicLoader, nullptr) << c.line;
      EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, 0) << c.line;
      EXPECT_EQ(plat::dsound::GetCounters().liveBuffers, 0) << c.line;
      EXPECT_EQ(LoadEffect(), -1) << c.line;
      continue;
    }
    EXPECT_NE(LoadEffect(), -1) << c.line;
    if (c.failStep == static_cast<int>(Step::CreateLoader)) {
      EXPECT_EQ(Find(lines, {c.line, "前バージョンでの初期化処理に移ります", "DirectSound の初期化を行います",
                             "DirectSound の初期化は正常に終了しました"})
                    .size(),
                4u);
      EXPECT_EQ(s.directMusicMode, 0u);
      EXPECT_NE(s.primaryBuffer, nullptr);
      continue;
    }
    // Through the music system: the device is the performance's, with no
    // primary buffer of the framework's own, and what was passed is the
    // road's.
    EXPECT_EQ(s.directMusicMode, 1u);
    EXPECT_EQ(s.primaryBuffer, nullptr);
    EXPECT_NE(s.silenceBuffer, nullptr);
    EXPECT_EQ(s.masterVolume, -300);
    const plat::dmusic::InitAudioCall& call = plat::dmusic::GetCounters().lastInitAudio;
    EXPECT_TRUE(call.askedMusic && call.askedSound);
    EXPECT_EQ(call.window, 0);
    EXPECT_EQ(call.pathType, 1u);
    EXPECT_EQ(call.channelCount, 64u);
    EXPECT_EQ(call.flags, 0x3Fu);
    EXPECT_EQ(call.params.fInitNow, 1);
    EXPECT_EQ(call.params.dwValidData, plat::DMUS_AUDIOPARAMS_FEATURES | plat::DMUS_AUDIOPARAMS_SAMPLERATE);
    EXPECT_EQ(call.params.dwFeatures, 0x3Fu);
    EXPECT_EQ(call.params.dwSampleRate, 44100u);
    EXPECT_EQ(Find(lines, {"DirectSound8 の初期化を行います", "出力ポート", "入力ポート", "DirectSound デバイスを列挙します",
                           "モジュール名:", "DirectSound の初期化は正常に終了しました"})
                  .size(),
              6u);
    ASSERT_EQ(EndDirectSound(), 0);
    EXPECT_EQ(plat::dmusic::GetCounters().closeDown, 1);
    EXPECT_EQ(plat::dmusic::GetCounters().stopAll, 1);
    EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, 0);
    EXPECT_EQ(plat::dsound::GetCounters().liveBuffers, 0);
  }
}

// A capture left open gets its 46-byte header at shut-down; what follows
// the header stays. The oracle is the test's own WAV writer.
TEST_F(SoundStartupRoad, ShutDownFinishesAnOpenCapture) {
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_EQ(FinishSoundCapture(), -1);  // none open
  const std::vector<uint8_t> samples = Pcm(4 * 300, 5);
  std::vector<uint8_t> body(46, 0xAA);
  body.insert(body.end(), samples.begin(), samples.end());
  SoundState& s = GetSoundState();
  s.captureFile = plat::OpenFileForWrite("capture.wav", plat::FileCreate::CreateAlways);
  ASSERT_NE(s.captureFile, plat::kNoFile);
  ASSERT_EQ(plat::WriteFileBytes(s.captureFile, body.data(), body.size()), static_cast<int64_t>(body.size()));
  s.captureOpen = 1;
  s.capturedFrames = 300;
  ASSERT_EQ(EndDirectSound(), 0);
  EXPECT_EQ(s.captureOpen, 0u);
  WavSpec spec;
  spec.fmtSize = 18;
  spec.data = samples;
  EXPECT_EQ(dir_.Read("capture.wav"), std::string(reinterpret_cast<const char*>(WriteWav(spec).data()),
                                                  WriteWav(spec).size()));
}

// A music record, as a loader would leave one (nothing in the framework
// makes music).
int AddMusicRecord(plat::IDirectMusicSegment8* segment) {
  auto* r = static_cast<MusicRecord*>(AllocMemoryZeroed(sizeof(MusicRecord), "", 0));
  r->segment = segment;
  r->data = static_cast<uint8_t*>(AllocMemory(16, "", 0));
  r->dataSize = 16;
  const int handle = AddHandleEntry(&GetMusicState().table, r);
  r->check = (static_cast<uint32_t>(handle) >> 16) & 0x7FF;
  return handle;
}

// Through the music system: the poll asks the performance, a stop stops the
// segment at once, a delete unloads it from the performance, lets the
// loader go of it and releases it; shut-down deletes what is left.
TEST_F(SoundStartupRoad, MusicHandlesFollowTheirSegments) {
  plat::dmusic::GetControl().available = true;
  SetDirectMusicMode(1);
  ASSERT_EQ(InitDirectSound(), 0);
  const auto& n = plat::dmusic::GetCounters();
  plat::IDirectMusicSegment8* a = plat::dmusic::NewSegment();
  plat::IDirectMusicSegment8* b = plat::dmusic::NewSegment();
  const int ha = AddMusicRecord(a);
  const int hb = AddMusicRecord(b);
  MusicRecord* ra = static_cast<MusicRecord*>(LookupHandleEntry(&GetMusicState().table, ha));
  ra->playing = 1;  // asked to play, not heard yet
  const int before = n.isPlaying;
  EXPECT_EQ(PollMusicPlaying(), 0);
  EXPECT_EQ(n.isPlaying, before + 1);  // only the record that is to play is asked
  EXPECT_EQ(ra->started, 0u);
  EXPECT_EQ(GetMusicState(ha), 1);
  a->playing = true;
  PollMusicPlaying();
  EXPECT_EQ(ra->started, 1u);
  a->playing = false;  // the segment ended by itself
  PollMusicPlaying();
  EXPECT_EQ(GetMusicState(ha), 0);

  a->playing = true;
  ra->playing = 1;
  EXPECT_EQ(StopMusicHandle(ha), 0);
  EXPECT_EQ(n.stopEx, 1);
  EXPECT_FALSE(a->playing);
  EXPECT_EQ(ra->playing, 0u);
  EXPECT_EQ(ra->started, 0u);

  const int live = n.liveObjects;
  EXPECT_EQ(DeleteMusic(ha), 0);
  EXPECT_EQ(n.unload, 1);
  EXPECT_EQ(n.releaseObject, 1);
  EXPECT_EQ(n.liveObjects, live - 1);
  EXPECT_EQ(DeleteMusic(ha), -1);
  ASSERT_EQ(EndDirectSound(), 0);  // deletes b with the rest
  EXPECT_EQ(GetMusicState(hb), -1);
  EXPECT_EQ(n.unload, 2);
  EXPECT_EQ(n.liveObjects, 0);
}

// Through MCI: a looping piece is played again from its start with the main
// window told when it ends; otherwise a playing device is closed.
TEST_F(SoundStartupRoad, MciNotificationsReplayOrClose) {
  ASSERT_EQ(InitDirectSound(), 0);
  plat::mci::SetDeviceAvailable(true);
  GetMainWindowState().window = 0x4321;
  MusicState& m = GetMusicState();
  m.mciDevice = 7;
  m.midiLoop = 1;
  EXPECT_EQ(OnMusicNotify(), 0);
  const plat::mci::Command& sent = plat::mci::LastCommand();
  EXPECT_EQ(sent.device, 7u);
  EXPECT_EQ(sent.message, plat::MCI_PLAY);
  EXPECT_EQ(sent.flags, plat::MCI_NOTIFY | plat::MCI_FROM);
  ASSERT_TRUE(sent.hasPlayParams);
  EXPECT_EQ(sent.play.dwFrom, 0u);
  EXPECT_EQ(sent.play.dwCallback, 0x4321u);
  EXPECT_EQ(m.midiPlaying, 1u);

  const int handle = AddMusicRecord(nullptr);
  EXPECT_EQ(GetMusicState(handle), 1);  // MCI's flag speaks for every record
  EXPECT_EQ(StopMusicHandle(handle), 0);  // the loop ends and the device closes
  EXPECT_EQ(plat::mci::LastCommand().message, plat::MCI_CLOSE);
  EXPECT_EQ(m.midiPlaying, 0u);
  EXPECT_EQ(m.midiLoop, 0u);
  const int calls = plat::mci::CommandCalls();
  EXPECT_EQ(OnMusicNotify(), 0);  // nothing plays: nothing sent
  EXPECT_EQ(plat::mci::CommandCalls(), calls);
  EXPECT_EQ(DeleteMusic(handle), 0);
  GetMainWindowState().window = 0;
}

}  // namespace
