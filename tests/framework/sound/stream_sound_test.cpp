// Stream sounds on the manual sink: what the mixer plays must be the sound's
// PCM, sample for sample, through parts, loops, the ring's wrap and the
// decoders, and never stale ring contents.
#include "framework/sound/stream_sound.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "encoded_audio.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/sound_buffers.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/stream_play.h"
#include "sound_test_util.h"

using namespace qor;
using plat::dsound::AdvanceManual;
using soundtest::Pcm;
using soundtest::SoundTest;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

constexpr int kRate = 44100;
constexpr int kPass = 2205;  // frames mixed between two pump passes (50 ms)

// 16-bit stereo at the output rate, so the mixer passes samples unchanged.
std::vector<int16_t> Samples(size_t frames, uint32_t seed) {
  std::vector<uint8_t> bytes = Pcm(frames * 4, seed);
  std::vector<int16_t> v(frames * 2);
  std::memcpy(v.data(), bytes.data(), bytes.size());
  for (auto& s : v) s = static_cast<int16_t>(s | 1);  // never silent
  return v;
}

std::vector<uint8_t> Wav(const std::vector<int16_t>& samples, int rate = kRate) {
  WavSpec s;
  s.rate = static_cast<uint32_t>(rate);
  s.data.resize(samples.size() * 2);
  if (!samples.empty()) std::memcpy(s.data.data(), samples.data(), s.data.size());
  return WriteWav(s);
}

std::vector<int16_t> Concat(std::initializer_list<const std::vector<int16_t>*> parts) {
  std::vector<int16_t> v;
  for (const auto* p : parts) v.insert(v.end(), p->begin(), p->end());
  return v;
}

class StreamSound : public SoundTest {
 protected:
  // A stream sound of a file image, made as the movie player makes one.
  int LoadStream(const std::vector<uint8_t>& image, int mode = 2) {
    SetSoundDataCreateMode(mode);
    const int h = CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1);
    SetSoundDataCreateMode(0);
    return h;
  }
  int AddPart(int h, const std::vector<uint8_t>& image, int loops, int kind = 2) {
    const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    int owns = 0;
    const int r = AddSreamSound(&source, loops, h, kind, &owns, -1);
    FreeMemoryStream(stream);
    return r;
  }
  // Mixes `frames` output frames, pumping the stream refill between passes.
  std::vector<int16_t> Play(size_t frames, bool pump = true) {
    std::vector<int16_t> out(frames * 2);
    for (size_t done = 0; done < frames;) {
      const int n = static_cast<int>(std::min<size_t>(kPass, frames - done));
      AdvanceManual(n, out.data() + done * 2);
      done += static_cast<size_t>(n);
      if (pump) UpdateStreamSounds();
    }
    return out;
  }
  static bool AllSilent(const std::vector<int16_t>& v, size_t from, size_t to) {
    return std::all_of(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(to),
                       [](int16_t s) { return s == 0; });
  }
  static bool Prefix(const std::vector<int16_t>& out, const std::vector<int16_t>& expected) {
    return out.size() >= expected.size() && std::equal(expected.begin(), expected.end(), out.begin());
  }
};

TEST_F(StreamSound, OnePartPlaysOnceThenStops) {
  const auto pcm = Samples(10 * kRate, 3);  // longer than the 6-second ring
  const int h = LoadStream(Wav(pcm));
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundData(h)->kind, 1u);
  EXPECT_EQ(GetSoundLengthSamples(h), 10 * kRate);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  const auto out = Play(11 * kRate);
  EXPECT_TRUE(Prefix(out, pcm));
  EXPECT_TRUE(AllSilent(out, pcm.size(), out.size()));
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_LE(GetSoundPositionMs(h), GetSoundLengthMs(h));
}

TEST_F(StreamSound, LoopCountsAndPartsFollowEachOther) {
  const auto a = Samples(kRate / 2, 5);
  const auto b = Samples(kRate / 3, 6);
  const auto shortPart = Samples(300, 7);
  // Loop count 2 plays the part three times; a count of 130 loops (counts
  // are unsigned), then the next part follows.
  const int h = AddSoundData(-1);
  ASSERT_EQ(AddPart(h, Wav(a), 2), 0);
  ASSERT_EQ(AddPart(h, Wav(shortPart), 130), 0);
  ASSERT_EQ(AddPart(h, Wav(b), 0, kStreamPartWhole), 0);  // converted whole at once
  EXPECT_EQ(AddPart(h, Wav(b), 0), -1);        // a fourth part does not fit
  EXPECT_TRUE(Logged("ストリーム風サウンドの制御データ領域がいっぱいです"));
  EXPECT_EQ(GetSoundLengthSamples(h), kRate / 2 + 300 + kRate / 3);

  std::vector<int16_t> expected = Concat({&a, &a, &a});
  for (int i = 0; i < 131; ++i) expected.insert(expected.end(), shortPart.begin(), shortPart.end());
  expected.insert(expected.end(), b.begin(), b.end());
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  const auto out = Play(expected.size() / 2 + kRate);
  EXPECT_TRUE(Prefix(out, expected));
  EXPECT_TRUE(AllSilent(out, expected.size(), out.size()));
}

TEST_F(StreamSound, PlayTypeThreeWrapsToTheFirstPart) {
  const auto a = Samples(kRate * 2, 8);
  const auto b = Samples(kRate * 3, 9);
  const int h = AddSoundData(-1);
  ASSERT_EQ(AddPart(h, Wav(a), 0), 0);
  ASSERT_EQ(AddPart(h, Wav(b), 0), 0);
  // Another rate cannot join.
  EXPECT_EQ(AddPart(h, Wav(Samples(100, 1), 22050), 0), -1);
  EXPECT_TRUE(Logged("フォーマットの違う音声データは同時に使うことは出来ません"));
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  const auto first = Play(kRate * 6);
  EXPECT_GE(GetSoundPositionMs(h), 900);
  Play(kRate / 2);
  EXPECT_LT(GetSoundPositionMs(h), 1600);  // part 1 came round again
  const auto expected = Concat({&a, &b, &a});
  EXPECT_TRUE(std::equal(first.begin(), first.end(), expected.begin()));
  EXPECT_EQ(IsSoundPlaying(h), 1);
  EXPECT_EQ(StopSound(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(StreamSound, Mp3AndVorbisLoopsRepeatTheirFirstPass) {
  const auto tone = soundtest::Tone(kRate * 2, 2);
  const auto mp3 = soundtest::EncodeMp3(tone, 2, kRate, 128);
  const auto ogg = soundtest::EncodeVorbis(tone, 2, kRate);
  for (const auto* file : {&mp3, &ogg}) {
    const int whole = CreateSoundFromMemory(file->data(), static_cast<uint32_t>(file->size()), 1, -1);
    ASSERT_NE(whole, -1);
    const SoundData* w = GetSoundData(whole);
    std::vector<int16_t> pass(w->pcmSize / 2);
    std::memcpy(pass.data(), w->pcmData, w->pcmSize);
    const int h = AddSoundData(-1);
    ASSERT_EQ(AddPart(h, *file, 1), 0);
    // The length is what a whole conversion reserves: for Ogg Vorbis 44,100
    // samples more than the stream holds.
    EXPECT_EQ(static_cast<uint32_t>(GetSoundLengthSamples(h)), w->pcmSize / 4 + (file == &ogg ? 44100u : 0u));
    ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
    const auto out = Play(pass.size() + kRate / 2);
    const auto twice = Concat({&pass, &pass});
    size_t same = 0;
    while (same < twice.size() && out[same] == twice[same]) ++same;
    EXPECT_EQ(same, twice.size()) << pass.size();
    DeleteSound(h);
    DeleteSound(whole);
  }
}

TEST_F(StreamSound, StarvedPumpPlaysSilenceThenCarriesOn) {
  const auto pcm = Samples(12 * kRate, 11);
  const int h = LoadStream(Wav(pcm));
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  auto out = Play(kRate);
  const auto unpumped = Play(5 * kRate, false);
  out.insert(out.end(), unpumped.begin(), unpumped.end());
  const auto rest = Play(8 * kRate);
  out.insert(out.end(), rest.begin(), rest.end());
  // Data as far as it was written, then silence, then the data from where it
  // stopped: no sample of old ring contents, none lost.
  size_t written = 0;
  while (written < out.size() && out[written] == pcm[written]) ++written;
  ASSERT_GT(written, 3u * kRate * 2);
  size_t gap = written;
  while (gap < out.size() && out[gap] == 0) ++gap;
  ASSERT_GT(gap - written, static_cast<size_t>(kRate));  // about a second of silence
  EXPECT_EQ(written % 2, 0u);
  const size_t resumed = std::min(pcm.size() - written, out.size() - gap);
  EXPECT_TRUE(std::equal(pcm.begin() + static_cast<long>(written), pcm.begin() + static_cast<long>(written + resumed),
                         out.begin() + static_cast<long>(gap)));
}

// The mixer on a thread of its own, as the host's audio callback runs it,
// while the pump refills (run by hand under ThreadSanitizer as well).
TEST_F(StreamSound, RefillAgainstAMixerThread) {
  const auto pcm = Samples(8 * kRate, 17);
  const int h = LoadStream(Wav(pcm));
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  std::vector<int16_t> out(9 * kRate * 2 / 512 * 512);
  std::atomic<bool> done{false};
  std::thread mixer([&] {
    for (size_t at = 0; at < out.size(); at += 512) {
      AdvanceManual(256, out.data() + at);
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    done = true;
  });
  while (!done) {
    UpdateStreamSounds();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  mixer.join();
  // Whatever the timing, what plays is the sound in order, or silence.
  std::vector<int16_t> heard;
  for (int16_t v : out) {
    if (v != 0) heard.push_back(v);
  }
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), pcm.begin()));
  EXPECT_GT(heard.size(), pcm.size() / 2);
}

TEST_F(StreamSound, SharedRingsAndDeferredDeletion) {
  const auto a = Samples(kRate, 12);
  const auto b = Samples(kRate, 13);
  const int owner = LoadStream(Wav(a));
  const int buffers = SoundBuffers();
  SetSoundDataCreateMode(2);
  const auto bWav = Wav(b);
  const int sharer = CreateSoundFromMemory(bWav.data(), static_cast<uint32_t>(bWav.size()), 1, owner);
  SetSoundDataCreateMode(0);
  ASSERT_NE(sharer, -1);
  EXPECT_EQ(SoundBuffers(), buffers);  // no second ring
  EXPECT_EQ(GetSoundData(owner)->sharerCount, 1u);

  ASSERT_EQ(PlaySoundHandle(owner, 1, 1), 0);
  Play(kRate / 4);
  ASSERT_EQ(PlaySoundHandle(sharer, 1, 1), 0);  // takes the ring: the owner stops
  EXPECT_EQ(IsSoundPlaying(owner), 0);
  EXPECT_EQ(GetSoundData(owner)->primed, 0);
  const auto out = Play(kRate + kRate / 2);
  EXPECT_TRUE(Prefix(out, b));

  EXPECT_EQ(DeleteSound(owner), 0);  // deferred while the sharer lives
  EXPECT_NE(GetSoundData(owner), nullptr);
  EXPECT_EQ(GetSoundData(owner)->deletePending, 1u);
  EXPECT_EQ(DeleteSound(sharer), 0);
  EXPECT_EQ(GetSoundData(owner), nullptr);
  EXPECT_EQ(SoundBuffers(), buffers - 1);
}

// Only the sound that now plays through a ring may move its cursor, refill it
// or stop it: a sound that shares the ring, or whose ring another sound
// holds, gets 0 from each and changes nothing, and a free ring stays free.
TEST_F(StreamSound, OnlyTheRingsCurrentUserMovesRefillsOrStopsIt) {
  const int owner = LoadStream(Wav(Samples(8 * kRate, 31)));
  SetSoundDataCreateMode(2);
  const auto sharerWav = Wav(Samples(8 * kRate, 32));
  const int sharer = CreateSoundFromMemory(sharerWav.data(), static_cast<uint32_t>(sharerWav.size()), 1, owner);
  SetSoundDataCreateMode(0);
  ASSERT_NE(sharer, -1);
  SoundData* ring = GetSoundData(owner);
  struct Seen {
    std::vector<uint8_t> bytes;
    uint32_t status, cursor;
    int32_t user;
    std::vector<uint32_t> fields;  // each sound's played position, last cursor, write offset, primed
    bool operator==(const Seen&) const = default;
  };
  const auto seen = [&] {
    Seen s{};
    void *p1 = nullptr, *p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    EXPECT_EQ(LockSoundBuffer(&ring->slots[0], 0, ring->ringSize, &p1, &n1, &p2, &n2), 0);
    s.bytes.assign(static_cast<uint8_t*>(p1), static_cast<uint8_t*>(p1) + n1);
    UnlockSoundBuffer(&ring->slots[0], p1, n1, p2, n2);
    GetSoundBufferStatus(&ring->slots[0], &s.status);
    GetSoundBufferPosition(&ring->slots[0], &s.cursor);
    s.user = ring->currentUser;
    for (int h : {owner, sharer}) {
      const SoundData* r = GetSoundData(h);
      s.fields.insert(s.fields.end(),
                      {r->playedPosition, r->lastCursor, static_cast<uint32_t>(r->writeOffset), r->primed});
    }
    return s;
  };
  const struct {
    const char* name;
    int (*call)(int);
  } calls[] = {
      {"cursor read", [](int h) { return UpdateStreamPlayCursor(h, -1); }},
      {"cursor given", [](int h) { return UpdateStreamPlayCursor(h, 4000); }},
      {"refill", RefillStreamSound},
      {"stop", StopStreamSound},
  };
  const auto noneChanges = [&](int caller, const char* state) {
    for (const auto& c : calls) {
      const Seen before = seen();
      EXPECT_EQ(c.call(caller), 0) << state << ": " << c.name;
      EXPECT_TRUE(seen() == before) << state << ": " << c.name << " by " << (caller == owner ? "owner" : "sharer");
    }
  };

  ASSERT_EQ(PlaySoundHandle(sharer, 1, 1), 0);
  Play(kRate / 2);
  noneChanges(owner, "the sharer plays");
  ASSERT_EQ(StopSound(sharer), 0);  // a sharer lets the ring go
  ASSERT_EQ(ring->currentUser, -1);
  noneChanges(sharer, "free ring");
  noneChanges(owner, "free ring");
  ASSERT_EQ(PlaySoundHandle(owner, 1, 1), 0);
  Play(kRate / 2);
  noneChanges(sharer, "the owner plays");
  EXPECT_EQ(IsSoundPlaying(owner), 1);
}

TEST_F(StreamSound, RefusalsEndCleanly) {
  // A ring no buffer can hold (a rate past the frequency control): -1 and a
  // log line before the device is asked, nothing left behind.
  const int created = plat::dsound::GetCounters().createBuffer;
  EXPECT_EQ(LoadStream(Wav(Samples(1000, 1), 200001)), -1);
  EXPECT_EQ(plat::dsound::GetCounters().createBuffer, created);
  EXPECT_TRUE(Logged("再生できない形式の音声データです"));
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  // Creation mode 1 loads nothing.
  EXPECT_EQ(LoadStream(Wav(Samples(1000, 1)), 1), -1);
  // A part with no data that loops endlessly ends instead of spinning.
  const int h = AddSoundData(-1);
  ASSERT_EQ(AddPart(h, Wav({}), 255), 0);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  const auto out = Play(kRate / 2);
  EXPECT_TRUE(AllSilent(out, 0, out.size()));
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(StreamSound, DirectFilePartsAndLengths) {
  const auto pcm = Samples(kRate, 21);
  ASSERT_EQ(WriteWholeFile("track.wav", Wav(pcm)), 0);
  SetSoundDataCreateMode(3);
  const int h = LoadSoundFile("TRACK.WAV", 3, -1);
  SetSoundDataCreateMode(0);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundData(h)->parts[0].kind, 3u);
  EXPECT_EQ(GetSoundData(h)->ownsStream[0], 1);
  EXPECT_EQ(GetSoundLengthMs(h), 1000);
  ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
  EXPECT_TRUE(Prefix(Play(kRate + kRate / 4), pcm));
  EXPECT_EQ(DeleteSound(h), 0);  // closes the file it kept open
  EXPECT_EQ(DeleteSound(h), -1);
}

TEST_F(StreamSound, MusicHandlesAreCheckedAndReleased) {
  EXPECT_EQ(GetMusicState(0x58000000), -1);
  EXPECT_EQ(StopMusicHandle(0x58000000), -1);
  EXPECT_EQ(DeleteMusic(-1), -1);
  // A record placed in the table is found, stopped and freed with its data.
  auto* r = static_cast<MusicRecord*>(AllocMemoryZeroed(sizeof(MusicRecord), "", 0));
  r->data = static_cast<uint8_t*>(AllocMemory(64, "", 0));
  r->dataSize = 64;
  const int handle = AddHandleEntry(&GetMusicState().table, r);
  r->check = (static_cast<uint32_t>(handle) >> 16) & 0x7FF;
  EXPECT_EQ(GetMusicState(handle), 0);
  GetMusicState().midiLoop = 1;
  EXPECT_EQ(StopMusicHandle(handle), 0);
  EXPECT_EQ(GetMusicState().midiLoop, 0u);
  EXPECT_EQ(DeleteMusic(handle), 0);
  EXPECT_EQ(DeleteMusic(handle), -1);
}

}  // namespace
