// The character ring, the IME capture and the per-frame text-input step.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "life_test_support.h"
#include "platform/window/ime.h"
#include "platform/window/window_state.h"

using namespace qor;
using lifetest::LifeScope;
namespace hl = plat::headless;

namespace {

TEST(CharRing, HoldsExactly1024Bytes) {
  LifeScope scope;
  InitCharCodeBuffer();
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(PutCharToInputBuffer(static_cast<uint8_t>('a' + i % 26)), 0) << i;
  EXPECT_EQ(PutCharToInputBuffer('z'), -1);
  EXPECT_EQ(IsCharRingFull(), 1);
  uint8_t c[2];
  EXPECT_EQ(GetCharFromInputBuffer(c, 1), 1);
  EXPECT_EQ(c[0], 'a');
  EXPECT_EQ(PutCharToInputBuffer('z'), 0);  // wraps round
  const std::string all = lifetest::TakeRingText();
  EXPECT_EQ(all.size(), 1024u);
  EXPECT_EQ(all.back(), 'z');
}

TEST(CharRing, PeekThenTakeGiveTheSameCharacter) {
  LifeScope scope;
  InitCharCodeBuffer();
  PutCharToInputBuffer(0x82);
  uint8_t c[2] = {};
  EXPECT_EQ(GetCharFromInputBuffer(c, 1), 0);  // the lead byte waits for its trail
  PutCharToInputBuffer(0xA0);
  PutCharToInputBuffer('x');
  EXPECT_EQ(GetCharFromInputBuffer(c, 0), 2);
  EXPECT_EQ(c[0], 0x82);
  EXPECT_EQ(c[1], 0xA0);
  uint8_t d[2] = {};
  EXPECT_EQ(GetCharFromInputBuffer(d, 1), 2);
  EXPECT_EQ(std::memcmp(c, d, 2), 0);
  EXPECT_EQ(lifetest::TakeRingText(), "x");
  // 0x7F is no trail byte: the lead byte before it goes.
  PutCharToInputBuffer(0x82);
  PutCharToInputBuffer(0x7F);
  EXPECT_EQ(lifetest::TakeRingText(), "\x7F");
  // A control code in the lead range is one byte: 0x1D then 'q'.
  PutCharToInputBuffer(0x1D);
  PutCharToInputBuffer('q');
  EXPECT_EQ(lifetest::TakeRingText(), "\x1Dq");
}

TEST(CharRing, NeverKeepsALeadByteWithoutItsTrail) {
  LifeScope scope;
  InitCharCodeBuffer();
  for (int i = 0; i < 1023; ++i) PutCharToInputBuffer('a');
  EXPECT_EQ(PutCharToInputBuffer(0x88), -1);  // one place left: no room for the pair
  EXPECT_EQ(PutCharToInputBuffer(0x9F), -1);  // nor for its trail byte alone
  EXPECT_EQ(PutCharToInputBuffer(0x88), -1);
  EXPECT_EQ(PutCharToInputBuffer('A'), -1);   // a trail byte that reads as a letter too
  EXPECT_EQ(PutCharToInputBuffer('b'), 0);
  EXPECT_EQ(lifetest::TakeRingText(), std::string(1023, 'a') + "b");
  // A lead byte followed by something that cannot be its trail goes.
  PutCharToInputBuffer(0x88);
  PutCharToInputBuffer(0x0D);
  PutCharToInputBuffer('c');
  EXPECT_EQ(lifetest::TakeRingText(), "\x0D" "c");
}

TEST(CharRing, CountsAndControlCodes) {
  EXPECT_EQ(CountCharsSjis("a\x82\xA0" "b", 4), 3);
  EXPECT_EQ(CountCharsSjis("a\x82\xA0" "b", 2), 2);  // a lead byte at the end counts once
  EXPECT_EQ(CountCharsSjis("ab", 10), 2);
  for (int b = 0; b < 256; ++b) {
    const bool control = b == 0x10 || b == 0x1C || b == 0x1D || b == 0x1E || b == 0x1F;
    EXPECT_EQ(IsControlCharCode(static_cast<uint8_t>(b)), control ? 1 : 0) << b;
  }
}

struct Started : LifeScope {
  Started() { EXPECT_EQ(InitFramework(), 0); }
  ~Started() { EndFramework(); }
};

void Editing(const char8_t* utf8, int cursor) {
  plat::HostEvent e;
  e.kind = plat::HostEventKind::TextEditing;
  std::snprintf(e.text, sizeof e.text, "%s", reinterpret_cast<const char*>(utf8));
  e.cursor = cursor;
  hl::PushEvent(e);
}

void Committed(const char8_t* utf8) {
  plat::HostEvent e;
  e.kind = plat::HostEventKind::TextInput;
  std::snprintf(e.text, sizeof e.text, "%s", reinterpret_cast<const char*>(utf8));
  hl::PushEvent(e);
}

TEST(Ime, CompositionAndResultReachTheFramework) {
  Started s;
  Editing(u8"かな", 1);
  PumpMessages();
  EXPECT_EQ(GetTextInputState().composing, 0);  // the IME is off after start-up
  EXPECT_EQ(lifetest::TakeRingText(), "");

  SetImeEnabled(1);
  Editing(u8"かな", 1);
  PumpMessages();
  const TextInputState& t = GetTextInputState();
  EXPECT_EQ(t.composing, 1);
  EXPECT_STREQ(t.composition, "\x82\xA9\x82\xC8");
  EXPECT_EQ(t.imeCursor, 1);
  Committed(u8"仮名");
  PumpMessages();
  EXPECT_EQ(t.composing, 0);
  EXPECT_STREQ(t.composition, "");
  EXPECT_EQ(lifetest::TakeRingText(), "\x89\xBC\x96\xBC");
}

TEST(Ime, CompositionTextEndsInsideItsBufferAndTheCursorIsClamped) {
  Started s;
  SetImeEnabled(1);
  TextInputState& t = GetTextInputState();
  std::memset(t.composition, 'x', sizeof t.composition);
  Editing(u8"ab", 2);
  PumpMessages();
  EXPECT_STREQ(t.composition, "ab");
  // An input method that reports a cursor past its text.
  plat::win::State().ime.cursor = 500;
  CaptureImeCandidates(plat::WM_IME_COMPOSITION, 0, plat::GCS_CURSORPOS, GetFrameWindowHandle());
  EXPECT_EQ(t.imeCursor, 2);
  // A composition as long as the input method holds.
  std::string longText(1200, 'k');
  plat::ImmSetCompositionString(GetFrameWindowHandle(), plat::SCS_SETSTR, longText.data(),
                                static_cast<uint32_t>(longText.size()));
  PumpMessages();
  EXPECT_EQ(std::strlen(t.composition), static_cast<size_t>(kImeBufferSize - 1));
}

TEST(Ime, CandidatesAreCopiedOrTheFailureLogged) {
  Started s;
  SetImeEnabled(1);
  const plat::Hwnd w = GetFrameWindowHandle();
  CaptureImeCandidates(plat::WM_IME_NOTIFY, plat::IMN_OPENCANDIDATE, 0, w);
  EXPECT_TRUE(s.Logged("漢字変換候補のデータサイズが０でした"));
  const char* texts[] = {"\x89\xBC\x96\xBC", "\x82\xA9\x82\xC8"};
  plat::SetImeCandidates(texts, 2);
  CaptureImeCandidates(plat::WM_IME_NOTIFY, plat::IMN_OPENCANDIDATE, 0, w);
  const TextInputState& t = GetTextInputState();
  ASSERT_NE(t.candidates, nullptr);
  uint32_t words[8];
  std::memcpy(words, t.candidates, sizeof words);
  EXPECT_EQ(words[2], 2u);  // count
  EXPECT_STREQ(reinterpret_cast<const char*>(t.candidates) + words[6], texts[0]);
  plat::FailNextCandidateRead();
  CaptureImeCandidates(plat::WM_IME_NOTIFY, plat::IMN_CHANGECANDIDATE, 0, w);
  EXPECT_TRUE(s.Logged("漢字変換候補の取得に失敗しました  BufSize:"));
  SetImeEnabled(0);
  EXPECT_EQ(t.candidates, nullptr);
}

TEST(TextInput, ActiveHandleTakesTheRing) {
  Started s;
  const int h = MakeTextInputHandle(6);
  ASSERT_GT(h, 0);
  ASSERT_EQ(SetActiveTextInputHandle(h), 0);
  for (const char* p = "abc"; *p; ++p) PutCharToInputBuffer(static_cast<uint8_t>(*p));
  PutCharToInputBuffer(0x08);              // backspace
  PutCharToInputBuffer(0x1D);              // left
  PutCharToInputBuffer(0x82);
  PutCharToInputBuffer(0xA0);              // a double-byte character
  PutCharToInputBuffer('z');
  EXPECT_EQ(ProcessTextInput(), 0);
  TextInputRecord* r = FindTextInput(h);
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->buffer, "a\x82\xA0zb");
  for (const char* p = "xyz"; *p; ++p) PutCharToInputBuffer(static_cast<uint8_t>(*p));
  PutCharToInputBuffer(0x0D);
  ProcessTextInput();
  EXPECT_STREQ(r->buffer, "a\x82\xA0zxb");  // full at six bytes
  EXPECT_EQ(r->done, 1);
  EXPECT_EQ(GetTextInputState().activeHandle, -1);

  // A handle whose record went is stale.
  const int h2 = MakeTextInputHandle(4);
  SetActiveTextInputHandle(h2);
  GetTextInputState().records[h2 & 0xFFFF].check ^= 1;
  EXPECT_EQ(ProcessTextInput(), -1);
  GetTextInputState().records[h2 & 0xFFFF].check ^= 1;
  EXPECT_EQ(DeleteTextInputHandle(h2), 0);
  EXPECT_EQ(DeleteTextInputHandle(h2), -1);
  EXPECT_TRUE(plat::IsImeEnabled());  // one record is left
  EXPECT_EQ(DeleteTextInputHandle(h), 0);
  EXPECT_FALSE(plat::IsImeEnabled());
}

TEST(TextInput, CompositionIsCutToTheRoomLeft) {
  Started s;
  const int h = MakeTextInputHandle(5);
  SetActiveTextInputHandle(h);
  PutCharToInputBuffer('a');
  PutCharToInputBuffer('b');
  ProcessTextInput();
  Editing(u8"かなか", 3);  // 6 bytes for 3 places
  PumpMessages();
  EXPECT_STREQ(GetTextInputState().composition, "\x82\xA9");
  char text[16] = {};
  plat::ImmGetCompositionString(GetFrameWindowHandle(), plat::GCS_COMPSTR, text, sizeof text - 1);
  EXPECT_STREQ(text, "\x82\xA9");
  DeleteAllTextInputHandles();
}

TEST(TextInput, ActivationResetsTheOpenImeOverFrames) {
  Started s;
  SetImeEnabled(1);
  Editing(u8"かな", 2);
  PumpMessages();
  hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
  hl::ScriptEventAtTime(hl::PeekClock() + 100'000, lifetest::Simple(plat::HostEventKind::FocusGained));
  PumpMessages();  // waits, then the activation starts the sequence and its first step runs
  EXPECT_FALSE(plat::ImmGetOpenStatus(GetFrameWindowHandle()));
  PumpMessages();
  EXPECT_TRUE(plat::ImmGetOpenStatus(GetFrameWindowHandle()));
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(GetTextInputState().resetState, 0);
  EXPECT_STREQ(GetTextInputState().composition, "\x82\xA9\x82\xC8");  // put back
}

}  // namespace
