// Sound start-up and shut-down on both roads (the sound device alone, and
// through the music system) against the stand-ins: the log in its order,
// the sound library loaded by name, each step of the music road made to
// fail, the capture header, and the music handles' poll, stop and delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "framework/core/window/main_window.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/sound_load.h"
#include "platform/dsound/mci.h"
#include "platform/kernel/library.h"
#include "platform/window/desktop_window.h"
#include "sound_test_util.h"

using namespace qor;

namespace {

class SoundStartupRoad : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    Reset();
    EXPECT_EQ(GetAllocatorState().liveCount, 0);
  }
  // Everything back to its load state, with a fresh log.
  void Reset() {
    ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, 0);
    EXPECT_EQ(plat::library::LoadedCount(), 0);
    plat::dmusic::ResetDirectMusicState();
    plat::mci::ResetMciState();
    dir_.WriteFile("Log.txt", {});
    OpenLogFile();
  }
  // The log's lines, without time stamps.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    const std::string text = coretest::WithoutStamps(dir_.Read("Log.txt"));
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
      end = std::min(text.find("\r\n", at), text.size());
      out.push_back(text.substr(at, end - at));
    }
    return out;
  }
  // The line of each text of `wanted`, found in this order; fewer when one
  // is missing.
  static std::vector<size_t> Find(const std::vector<std::string>& lines, const std::vector<const char*>& wanted) {
    std::vector<size_t> at;
    size_t line = 0;
    for (const char* w : wanted) {
      while (line < lines.size() && lines[line].find(w) == std::string::npos) ++line;
      if (line == lines.size()) break;
      at.push_back(line++);
    }
    return at;
  }
  static size_t Indent(const std::string& line) { return line.find_first_not_of('\t'); }
  static int LoadEffect() {
    soundtest::WavSpec s;
    s.data = soundtest::Pcm(400);
    const std::vector<uint8_t> image = soundtest::WriteWav(s);
    return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 3, -1);
  }

  coretest::ScratchDir dir_;
};

// The device's road in order; the device list comes from the sound library,
// whose load and look-up each have their line; the library is let go and
// the indent restored on every path.
TEST_F(SoundStartupRoad, DeviceRoadLogsItsStepsInOrder) {
  const char* const kListed[] = {"モジュール名:", "最大サンプリングレート:", "利用可能サンプリング精度", "利用可能チャンネル"};
  for (int road = 0; road < 3; ++road) {
    Reset();
    if (road == 1) plat::library::FailNextLoad();
    if (road == 2) plat::library::FailNextLookup();
    ASSERT_EQ(InitDirectSound(), 0) << road;
    std::vector<const char*> wanted = {"DirectSound の初期化を行います", "DirectSound インターフェースの取得を行います....  成功",
                                       "引き続きインターフェースの初期化処理...  成功", "DirectSound デバイスを列挙します"};
    if (road == 0) wanted.insert(wanted.end(), std::begin(kListed), std::end(kListed));
    if (road == 1) wanted.push_back("DSOUND.DLL のロードに失敗しました");
    if (road == 2) wanted.push_back("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました");
    wanted.push_back("DirectSound の初期化は正常に終了しました");
    const std::vector<std::string> lines = Lines();
    const std::vector<size_t> at = Find(lines, wanted);
    ASSERT_EQ(at.size(), wanted.size()) << road;
    EXPECT_EQ(Find(lines, {"最大サンプリングレート:"}).size(), road == 0 ? 1u : 0u) << road;
    // The list one level in, the devices (or the failure) two; then back.
    const size_t base = Indent(lines[at[0]]);
    EXPECT_EQ(Indent(lines[at[3]]), base + 1) << road;
    EXPECT_EQ(Indent(lines[at[4]]), base + 2) << road;
    EXPECT_EQ(Indent(lines[at.back()]), base) << road;
    EXPECT_EQ(plat::library::LoadedCount(), 0) << road;
    const plat::IDirectSound* device = GetSoundState().directSound;
    EXPECT_EQ(device->cooperativeLevel, plat::DSSCL_PRIORITY);
    EXPECT_EQ(device->cooperativeWindow, plat::GetDesktopWindow());
  }
}

// The music road, each step made to fail in turn (the loader's failure
// falls back to the device's road), then every step passing.
TEST_F(SoundStartupRoad, MusicRoadTakesEachStepAndStopsAtAFailure) {
  using Step = plat::dmusic::Step;
  const struct {
    Step fail;
    int result;
    const char* line;
  } cases[] = {
      {Step::CreateLoader, 0, "前バージョンでの初期化処理に移ります"},
      {Step::CreatePerformance, -1, "DirectMusicPerformance オブジェクトの作成に失敗しました"},
      {Step::CreateDirectMusic, -1, "DirectMusic オブジェクトの取得に失敗しました"},
      {Step::QueryDirectMusic8, -1, "DirectMusic8 オブジェクトの取得に失敗しました"},
      {Step::InitAudio, -1, "DirectMusicPerformanceオブジェクトの初期化に失敗しました"},
      {Step::Count, 0, "DirectSound の初期化は正常に終了しました"},
  };
  for (const auto& c : cases) {
    Reset();
    plat::dmusic::GetControl() = {true, static_cast<int>(c.fail), 2, -300};
    SetDirectMusicMode(1);
    ASSERT_EQ(InitDirectSound(), c.result) << c.line;
    const std::vector<std::string> lines = Lines();
    const bool portsListed = c.fail >= Step::InitAudio;
    EXPECT_EQ(Find(lines, {"DirectSound8 の初期化を行います", c.line}).size(), 2u) << c.line;
    EXPECT_EQ(Find(lines, {"出力ポート  Device0:ソフトウェア シンセサイザ ", "入力ポート  Device1:MIDI In "}).size(),
              portsListed ? 2u : 0u)
        << c.line;
    SoundState& s = GetSoundState();
    // A failure leaves sound off and nothing of the music system held.
    EXPECT_EQ(s.directSound == nullptr, c.result == -1) << c.line;
    EXPECT_EQ(s.musicPerformance == nullptr, c.fail != Step::Count) << c.line;
    EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, c.fail == Step::Count ? 2 : 0) << c.line;
    EXPECT_EQ(LoadEffect() != -1, c.result == 0) << c.line;
    EXPECT_EQ(s.primaryBuffer != nullptr, c.fail == Step::CreateLoader) << c.line;
  }
  // Through the music system: the performance's device, the road's
  // arguments, the master volume; shut-down closes the performance.
  const plat::dmusic::InitAudioCall& call = plat::dmusic::GetCounters().lastInitAudio;
  EXPECT_TRUE(call.askedMusic && call.askedSound && call.window == 0 && call.params.fInitNow == 1);
  EXPECT_EQ(std::tie(call.pathType, call.channelCount, call.flags, call.params.dwValidData, call.params.dwFeatures,
                     call.params.dwSampleRate),
            std::make_tuple(1u, 64u, 0x3Fu, 5u, 0x3Fu, 44100u));
  EXPECT_EQ(GetSoundState().masterVolume, -300);
  EXPECT_EQ(Find(Lines(), {"入力ポート", "DirectSound デバイスを列挙します", "モジュール名:"}).size(), 3u);
  ASSERT_EQ(EndDirectSound(), 0);
  EXPECT_EQ(plat::dmusic::GetCounters().closeDown, 1);
  EXPECT_EQ(plat::dmusic::GetCounters().liveObjects, 0);
}

// A capture left open gets its 46-byte header at shut-down and keeps what
// follows; the oracle is the test's own WAV writer.
TEST_F(SoundStartupRoad, ShutDownFinishesAnOpenCapture) {
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_EQ(FinishSoundCapture(), -1);  // none open
  soundtest::WavSpec wav;
  wav.fmtSize = 18;
  wav.data = soundtest::Pcm(4 * 300, 5);
  // A 46-byte stand-in for the header the shut-down writes, then the data.
  std::vector<uint8_t> body(46 + wav.data.size(), 0xAA);
  std::copy(wav.data.begin(), wav.data.end(), body.begin() + 46);
  SoundState& s = GetSoundState();
  s.captureFile = plat::OpenFileForWrite("capture.wav", plat::FileCreate::CreateAlways);
  ASSERT_EQ(plat::WriteFileBytes(s.captureFile, body.data(), body.size()), static_cast<int64_t>(body.size()));
  s.captureOpen = 1;
  s.capturedFrames = 300;
  ASSERT_EQ(EndDirectSound(), 0);
  EXPECT_EQ(s.captureOpen, 0u);
  const std::vector<uint8_t> expected = soundtest::WriteWav(wav);
  EXPECT_EQ(dir_.Read("capture.wav"), std::string(expected.begin(), expected.end()));
}

// A music record as a loader would leave one (the framework makes none).
int AddMusicRecord(plat::IDirectMusicSegment8* segment) {
  auto* r = static_cast<MusicRecord*>(AllocMemoryZeroed(sizeof(MusicRecord), "", 0));
  r->segment = segment;
  const int handle = AddHandleEntry(&GetMusicState().table, r);
  r->check = (static_cast<uint32_t>(handle) >> 16) & 0x7FF;
  return handle;
}

// The music system's road: the poll asks the performance about records
// that are to play, a stop ends the segment at once, a delete unloads it,
// lets the loader go of it and releases it; shut-down deletes the rest.
TEST_F(SoundStartupRoad, MusicHandlesFollowTheirSegments) {
  plat::dmusic::GetControl().available = true;
  SetDirectMusicMode(1);
  ASSERT_EQ(InitDirectSound(), 0);
  const auto& n = plat::dmusic::GetCounters();
  plat::IDirectMusicSegment8* a = plat::dmusic::NewSegment();
  const int ha = AddMusicRecord(a);
  const int hb = AddMusicRecord(plat::dmusic::NewSegment());
  auto* ra = static_cast<MusicRecord*>(LookupHandleEntry(&GetMusicState().table, ha));
  ra->playing = 1;
  // Asked to play, heard, then ended by itself; the other record is not asked.
  for (auto [heard, started, playing, asked] : {std::tuple{false, 0u, 1, 1}, {true, 1u, 1, 2}, {false, 1u, 0, 3}}) {
    a->playing = heard;
    EXPECT_EQ(PollMusicPlaying(), 0);
    EXPECT_EQ(std::tie(ra->started, n.isPlaying), std::make_tuple(started, asked));
    EXPECT_EQ(GetMusicState(ha), playing);
  }
  a->playing = true;
  ra->playing = 1;
  EXPECT_EQ(StopMusicHandle(ha), 0);
  EXPECT_TRUE(n.stopEx == 1 && !a->playing && ra->playing == 0 && ra->started == 0);
  EXPECT_EQ(DeleteMusic(ha), 0);
  EXPECT_EQ(DeleteMusic(ha), -1);
  ASSERT_EQ(EndDirectSound(), 0);  // deletes the other record
  EXPECT_EQ(GetMusicState(hb), -1);
  EXPECT_EQ(std::tie(n.unload, n.releaseObject, n.liveObjects), std::make_tuple(2, 2, 0));
}

// Through MCI: a looping piece plays again from its start, telling the main
// window when it ends; otherwise a playing device is closed.
TEST_F(SoundStartupRoad, MciNotificationsReplayOrClose) {
  ASSERT_EQ(InitDirectSound(), 0);
  plat::mci::SetDeviceAvailable(true);
  GetMainWindowState().window = 0x4321;
  MusicState& m = GetMusicState();
  m.mciDevice = 7;
  m.midiLoop = 1;
  EXPECT_EQ(OnMusicNotify(), 0);
  const plat::mci::Command& sent = plat::mci::LastCommand();
  EXPECT_EQ(std::tie(sent.device, sent.message, sent.flags, sent.hasPlayParams, sent.play.dwFrom, sent.play.dwCallback),
            std::make_tuple(7u, plat::MCI_PLAY, uintptr_t{plat::MCI_NOTIFY | plat::MCI_FROM}, true, 0u,
                            uintptr_t{0x4321}));
  const int handle = AddMusicRecord(nullptr);
  EXPECT_EQ(GetMusicState(handle), 1);    // the device's flag speaks for the record
  EXPECT_EQ(StopMusicHandle(handle), 0);  // the loop ends and the device closes
  EXPECT_EQ(plat::mci::LastCommand().message, plat::MCI_CLOSE);
  EXPECT_EQ(m.midiPlaying + m.midiLoop, 0u);
  const int calls = plat::mci::CommandCalls();
  EXPECT_EQ(OnMusicNotify(), 0);  // nothing plays: nothing is sent
  EXPECT_EQ(plat::mci::CommandCalls(), calls);
  EXPECT_EQ(DeleteMusic(handle), 0);
  GetMainWindowState().window = 0;
}

}  // namespace
