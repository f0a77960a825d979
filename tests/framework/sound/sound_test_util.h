// Shared pieces of the sound tests: a WAV writer of our own (so reading is
// checked against an independent writer), PCM makers and a fixture that
// starts sound on the manual sink.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/core_test_support.h"
#include "framework/core/files/file_access.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/sound_system.h"
#include "platform/dsound/dsound.h"

namespace soundtest {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
inline void PutId(std::vector<uint8_t>& v, const char* id) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(id[i]));
}

struct Chunk {
  std::string id;
  std::vector<uint8_t> body;
};

// A RIFF/WAVE file: "fmt " first (of 16, 18 or more bytes), then the given
// chunks, each padded to an even size as RIFF asks.
struct WavSpec {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  uint32_t fmtSize = 16;
  int32_t avgOverride = -1;
  int32_t alignOverride = -1;
  std::vector<Chunk> before;         // chunks between fmt and data
  std::vector<uint8_t> data;
  int64_t declaredDataSize = -1;     // the data chunk's size field, when not the data's
  bool fmtFirst = true;              // false: a LIST chunk comes before fmt
};

inline std::vector<uint8_t> WriteWav(const WavSpec& s) {
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, 0);
  PutId(out, "WAVE");
  auto chunk = [&](const char* id, const std::vector<uint8_t>& body, int64_t declared) {
    PutId(out, id);
    Put32(out, declared >= 0 ? static_cast<uint32_t>(declared) : static_cast<uint32_t>(body.size()));
    for (uint8_t b : body) out.push_back(b);
    if (body.size() & 1) out.push_back(0);
  };
  if (!s.fmtFirst) chunk("LIST", std::vector<uint8_t>(4, 'x'), -1);
  std::vector<uint8_t> fmt;
  const uint16_t align = s.alignOverride >= 0 ? static_cast<uint16_t>(s.alignOverride)
                                              : static_cast<uint16_t>(s.channels * s.bits / 8);
  Put16(fmt, s.tag);
  Put16(fmt, s.channels);
  Put32(fmt, s.rate);
  Put32(fmt, s.avgOverride >= 0 ? static_cast<uint32_t>(s.avgOverride) : s.rate * align);
  Put16(fmt, align);
  Put16(fmt, s.bits);
  if (s.fmtSize >= 18) Put16(fmt, s.fmtSize - 18);
  while (fmt.size() < s.fmtSize) fmt.push_back(0xEE);
  fmt.resize(s.fmtSize);
  chunk("fmt ", fmt, -1);
  for (const Chunk& c : s.before) chunk(c.id.c_str(), c.body, -1);
  chunk("data", s.data, s.declaredDataSize);
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(out.data() + 4, &riff, 4);
  return out;
}

// Deterministic PCM bytes.
inline std::vector<uint8_t> Pcm(size_t bytes, uint32_t seed = 1) {
  std::vector<uint8_t> v(bytes);
  uint32_t x = seed;
  for (auto& b : v) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return v;
}

// Sound started on the manual sink, in a scratch directory that receives the
// log; everything reset afterwards, and every block of the framework's
// allocator given back.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qor::ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    qor::OpenLogFile();
    ASSERT_EQ(qor::InitDirectSound(), 0);
    baseBuffers_ = plat::dsound::GetCounters().liveBuffers;
  }
  void TearDown() override {
    qor::ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    qor::ResetArchiveTables();
    qor::ResetFileAccessState();
    EXPECT_EQ(qor::GetAllocatorState().liveCount, 0);
  }
  // Buffers now alive beyond the primary and silence buffers of start-up.
  int SoundBuffers() const { return plat::dsound::GetCounters().liveBuffers - baseBuffers_; }
  // Whether the log holds a line with this text (CP932, as the code writes it).
  bool Logged(const char* text) const { return dir_.Read("Log.txt").find(text) != std::string::npos; }

  coretest::ScratchDir dir_;
  int baseBuffers_ = 0;
};

}  // namespace soundtest
