#include "framework/sound/sound_buffers.h"

#include "sound_test_util.h"

using namespace qor;
using soundtest::SoundTest;

namespace {

using SoundSlots = SoundTest;

TEST_F(SoundSlots, SlotsRefuseTheWrongStateAndLocksWrapTheRing) {
  const WAVEFORMATEX f{1, 2, 44100, 176400, 4, 16, 0};
  const plat::DSBUFFERDESC desc{plat::kDsBufferDescSize, 0x80E2, 400, 0, &f};
  SoundBufferSlot slot{}, copy{};
  EXPECT_EQ(ReleaseSoundBuffer(&slot), -1);
  EXPECT_EQ(PlaySoundBuffer(&slot, 0), -1);
  EXPECT_EQ(DuplicateSoundBuffer(&copy, &slot), -1);
  ASSERT_EQ(CreateSoundBuffer(&slot, &desc), 0);
  plat::IDirectSoundBuffer* first = slot.buffer;
  EXPECT_EQ(CreateSoundBuffer(&slot, &desc), -1);  // the old buffer stays
  EXPECT_EQ(slot.buffer, first);
  ASSERT_EQ(DuplicateSoundBuffer(&copy, &slot), 0);
  EXPECT_EQ(DuplicateSoundBuffer(&copy, &slot), -1);

  void *p1 = nullptr, *p2 = nullptr;
  uint32_t s1 = 0, s2 = 0;
  ASSERT_EQ(LockSoundBuffer(&slot, 300, 200, &p1, &s1, &p2, &s2), 0);
  EXPECT_EQ(s1, 100u);
  EXPECT_EQ(s2, 100u);
  EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 300);  // region 2 at offset 0
  EXPECT_EQ(UnlockSoundBuffer(&slot, p1, s1, p2, s2), 0);
  EXPECT_EQ(ReleaseSoundBuffer(&copy), 0);
  EXPECT_EQ(ReleaseSoundBuffer(&slot), 0);
  EXPECT_EQ(ReleaseSoundBuffer(&slot), -1);
}

// Silence fills region 1, then region 2, and stops when both are full;
// unsigned 8-bit samples are silent at 128, 16-bit ones at 0.
TEST_F(SoundSlots, SilenceFillsBothRegionsAndStops) {
  for (uint16_t bits : {8, 16}) {
    SoundData sound{};
    sound.format.wBitsPerSample = bits;
    uint8_t a[8], b[8];
    std::memset(a, 0x55, sizeof a);
    std::memset(b, 0x55, sizeof b);
    SoundLockRegions r{0, a, b, 6, 5, 1, 0, 5, 5};
    FillSoundBufferSilence(&sound, &r, 3);
    FillSoundBufferSilence(&sound, &r, 100);
    const uint8_t silence = bits == 8 ? 128 : 0;
    EXPECT_EQ(a[0], 0x55);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(a[i], silence) << bits;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(b[i], silence) << bits;
    EXPECT_EQ(a[6], 0x55);
    EXPECT_EQ(b[5], 0x55);
    EXPECT_EQ(r.used1, 6u);
    EXPECT_EQ(r.used2, 5u);
    EXPECT_EQ(r.left1 + r.left2, 0u);
  }
}

}  // namespace
