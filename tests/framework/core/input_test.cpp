// Key queries and pad bits against scripted keys and pads.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/qorlib.h"
#include "life_test_support.h"

using namespace qor;
using lifetest::Key;
using lifetest::LifeScope;
namespace hl = plat::headless;
namespace hid = plat::hid;

namespace {

struct Started : LifeScope {
  Started() { EXPECT_EQ(InitFramework(), 0); }
  ~Started() { EndFramework(); }
};

plat::HostPadState Pad(int x, int y, int button = -1) {
  plat::HostPadState s;
  s.axes[0] = x;
  s.axes[1] = y;
  if (button >= 0) s.buttons[button] = 1;
  return s;
}

TEST(Input, QueryKeyPressedFollowsPhysicalKeys) {
  Started s;
  const struct {
    int hid, dik;
  } kKeys[] = {{hid::Escape, 0x01},  {hid::LeftAlt, 0x38}, {hid::RightAlt, 0xB8}, {hid::F4, 0x3E},
               {hid::Up, 0xC8},      {hid::Left, 0xCB},    {hid::Right, 0xCD},    {hid::Down, 0xD0},
               {hid::Delete, 0xD3},  {hid::Space, 0x39},   {hid::A + 25, 0x2C},   {hid::Num1, 0x02},
               {hid::Return, 0x1C},  {90, 0x50}};
  for (const auto& k : kKeys) {
    EXPECT_EQ(QueryKeyPressed(k.dik), 0) << k.dik;
    Key(true, k.hid);
    EXPECT_EQ(QueryKeyPressed(k.dik), 1) << k.dik;
    Key(false, k.hid);
    EXPECT_EQ(QueryKeyPressed(k.dik), 0) << k.dik;
  }
  Key(true, hid::Escape);
  EXPECT_EQ(QueryKeyPressed(-1), 0);
  EXPECT_EQ(QueryKeyPressed(256), 0);
  EXPECT_EQ(QueryKeyPressed(0x101), 0);  // not key 1 again
  EXPECT_EQ(QueryKeyPressedPublic(0x01), 1);
}

TEST(Input, KeyStateIsReadOncePerMillisecondUnlessItChanged) {
  Started s;
  hl::SetClockStep(0);  // the millisecond clock stands still
  QueryKeyPressed(0x01);
  const int reads = plat::GetDiCounters().stateReads;
  QueryKeyPressed(0x01);
  QueryKeyPressed(0x02);
  EXPECT_EQ(plat::GetDiCounters().stateReads, reads);
  Key(true, hid::Escape);
  EXPECT_EQ(QueryKeyPressed(0x01), 1);  // the keyboard signalled a change
  EXPECT_EQ(plat::GetDiCounters().stateReads, reads + 1);
}

TEST(Input, KeysMapOntoPadOne) {
  Started s;  // no pads attached
  EXPECT_EQ(ReadPadInputBits(0x1001), 0);
  Key(true, hid::Down);
  EXPECT_EQ(ReadPadInputBits(0x1001), 0x1);
  EXPECT_EQ(ReadPadInputBitsPublic(0x1000), 0x1);  // pad number 0 reads pad 1's keys
  EXPECT_EQ(ReadPadInputBits(0x1002), 0);          // other pads have no keys
  EXPECT_EQ(ReadPadInputBits(0x1009), 0);          // past the map: none
  EXPECT_EQ(ReadPadInputBits(0x1000 | 0x7FF), 0);
  EXPECT_EQ(ReadPadInputBits(INT32_MIN), 0);  // numbers at the ends of the range are no pad
  EXPECT_EQ(ReadPadInputBits(INT32_MIN | 0x1000), 0);
  EXPECT_EQ(StopPadVibration(INT32_MIN), 0);
  EXPECT_EQ(ReadPadInputBits(1), 0);               // without the flag keys do not count
  Key(false, hid::Down);
  Key(true, 96);  // numpad 8
  Key(true, hid::A + 25);  // Z
  Key(true, hid::Escape);
  Key(true, hid::Space);
  EXPECT_EQ(ReadPadInputBits(0x1001), 0x8 | 0x10 | 0x1000 | 0x2000);
  // Every slot of every unused entry says "no key".
  const InputDeviceState& in = GetInputDeviceState();
  for (int pad = 0; pad < kMaxPads; ++pad) {
    for (int bit = 0; bit < kPadMapBits; ++bit) {
      for (int slot = (pad == 0 && bit < 14) ? 2 : 0; slot < kPadMapKeys; ++slot) {
        ASSERT_EQ(in.keyMap[pad][bit][slot], -1) << pad << " " << bit << " " << slot;
      }
    }
  }
}

TEST(Input, PadsGiveDirectionsAndButtons) {
  LifeScope scope;
  hl::AddPad("Pad A", 6, 1, 16, true);
  hl::AddPad("Pad B", 2, 0, 8, false);
  ASSERT_EQ(InitFramework(), 0);
  EXPECT_EQ(GetInputDeviceState().padCount, 2);
  EXPECT_TRUE(scope.Logged("デバイスの製品登録名:Pad A"));
  EXPECT_TRUE(scope.Logged("周期的エフェクトの作成に失敗しました。"));  // pad B cannot rumble

  hl::SetPadState(0, Pad(32767, 0, 3));
  EXPECT_EQ(ReadPadInputBits(1), 0x4 | 0x80);
  hl::SetPadState(0, Pad(-32768, -32768));
  EXPECT_EQ(ReadPadInputBits(1), 0x2 | 0x8);
  hl::SetPadState(0, Pad(8000, -8000));  // inside the 25 % dead zone
  EXPECT_EQ(ReadPadInputBits(1), 0);
  hl::SetPadState(1, Pad(0, 20000, 0));
  EXPECT_EQ(ReadPadInputBits(2), 0x1 | 0x10);
  EXPECT_EQ(ReadPadInputBits(9), 0);  // no such pad
  EXPECT_EQ(ReadPadInputBits(0), 0);

  // Keys and the pad together.
  Key(true, hid::Up);
  hl::SetPadState(0, Pad(32767, 0));
  EXPECT_EQ(ReadPadInputBits(0x1001), 0x4 | 0x8);

  // A pad that goes reads neutral; the other keeps its place.
  hl::RemovePad(0);
  Key(false, hid::Up);
  EXPECT_EQ(ReadPadInputBits(1), 0);
  EXPECT_EQ(ReadPadInputBits(2), 0x1 | 0x10);
  EndFramework();
}

TEST(Input, WithoutDirectInputTheTableDecides) {
  LifeScope scope;
  hl::AddPad("Old stick", 4, 0, 4, false);
  plat::DiFailNext(plat::DiFailPoint::Create7, plat::DiDeviceKind::Mouse);
  plat::DiFailNext(plat::DiFailPoint::Create8, plat::DiDeviceKind::Mouse);
  ASSERT_EQ(InitFramework(), 0);
  EXPECT_TRUE(scope.Logged("DirectInput を使用しません。"));
  EXPECT_TRUE(scope.Logged("パッドの数は 1 個です"));
  EXPECT_EQ(GetInputDeviceState().winmmMode, 1);
  EXPECT_EQ(GetInputDeviceState().padCount, kMaxPads);

  Key(true, hid::Left);  // the arrows are not in the table
  Key(true, hid::A + 23);  // X
  EXPECT_EQ(QueryKeyPressed(0xCB), 0);
  EXPECT_EQ(QueryKeyPressed(0x2D), 1);

  hl::SetPadState(0, Pad(32000 - 32768, 32767, 2));  // 32,000 on the stick's scale: the middle band
  ReadPadInputBits(1);
  EXPECT_EQ(GetInputDeviceState().pads[0].state.lX, 0);
  EXPECT_EQ(GetInputDeviceState().pads[0].state.lY, 1000);
  EXPECT_EQ(ReadPadInputBits(1), 0x1 | 0x40);
  hl::SetPadState(0, Pad(-32768, 0));
  plat::Sleep(1);  // a stick is read at most once a millisecond
  ReadPadInputBits(1);
  EXPECT_EQ(GetInputDeviceState().pads[0].state.lX, -1000);
  EXPECT_EQ(ReadPadInputBits(5), 0);  // a pad that does not answer is neutral
  EndFramework();
}

// The object is created and then initialised for the program; one that
// does not initialise is let go with its own line and the next version
// tried, and when neither starts the keyboard table and winmm take over.
TEST(Input, DirectInputThatDoesNotInitialiseIsLetGo) {
  const struct {
    bool create7Fails;
    const char* lines;
    int created, winmm;
  } kCases[] = {
      {false,
       "\tDirectInput7 の取得中... 成功\r\n"
       "\t引き続き初期化処理... 初期化に失敗。エラーコード 0x80004005\r\n"
       "\tDirectInput8 の取得を試みます...成功\r\n"
       "\t引き続き初期化処理... 初期化成功\r\n",
       2, 0},
      {true,
       "\tDirectInput7 の取得中... 取得に失敗。\r\n"
       "\tエラーコード 0x80040154\r\n"
       "\tDirectInput8 の取得を試みます...成功\r\n"
       "\t引き続き初期化処理... 初期化に失敗。エラーコード 0x80004005\r\n"
       "\tDirectInput を使用しません。\r\n",
       1, 1},
  };
  for (const auto& c : kCases) {
    LifeScope scope;
    if (c.create7Fails) plat::DiFailNext(plat::DiFailPoint::Create7, plat::DiDeviceKind::Mouse);
    plat::DiFailNext(plat::DiFailPoint::Initialize, plat::DiDeviceKind::Mouse);
    ASSERT_EQ(InitFramework(), 0);
    const std::string log = scope.Log();
    EXPECT_NE(log.find(c.lines), std::string::npos) << log;
    EXPECT_EQ(plat::GetDiCounters().created, c.created);
    EXPECT_EQ(plat::GetDiCounters().initialized, 1 - c.winmm);
    EXPECT_EQ(plat::GetDiCounters().released, 1);  // the object that did not initialise
    EXPECT_EQ(GetInputDeviceState().winmmMode, c.winmm);
    Key(true, hid::Escape);
    EXPECT_EQ(QueryKeyPressed(0x01), 1);
    EndFramework();
    EXPECT_EQ(plat::GetDiCounters().released, c.created);
  }
}

TEST(Input, VibrationFollowsItsRequestAndTimeLimit) {
  LifeScope scope;
  hl::AddPad("Rumble", 2, 0, 4, true);
  ASSERT_EQ(InitFramework(), 0);
  PadRecord& p = GetInputDeviceState().pads[0];
  p.vibrationOn = 1;
  p.vibrationPower = 8000;
  p.vibrationLimit = 100;
  p.lastVibrationTick = plat::timeGetTime();
  ProcessFrameMessages();
  hl::PadRumble r;
  hl::GetPadRumble(0, &r);
  EXPECT_GT(r.low, 0);
  EXPECT_GT(r.high, 0);  // above 5,000 the constant force runs too
  plat::Sleep(150);
  ProcessFrameMessages();
  hl::GetPadRumble(0, &r);
  EXPECT_EQ(r.low, 0);
  EXPECT_EQ(r.high, 0);
  EXPECT_EQ(p.vibrationOn, 0);
  EXPECT_EQ(p.vibrationPower, 10000);
  EndFramework();
}

}  // namespace
