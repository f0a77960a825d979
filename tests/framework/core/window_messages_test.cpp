// The message pump's passes and the window procedure's handling of the
// messages the framework acts on.
#include <gtest/gtest.h>

#include "life_test_support.h"

using namespace qor;
using lifetest::LifeScope;
namespace hl = plat::headless;

namespace {

int g_userMessages = 0;
void CountUserMessages(plat::Hwnd, uint32_t message, plat::WParam, plat::LParam) {
  if (message >= plat::WM_USER && message < plat::WM_USER + 100) ++g_userMessages;
}

struct Started : LifeScope {
  Started() {
    EXPECT_EQ(InitFramework(), 0);
    g_userMessages = 0;
    GetMainWindowState().settings.messageHook = CountUserMessages;
  }
  ~Started() { EndFramework(); }
};

void Post(uint32_t message, plat::WParam w = 0, plat::LParam l = 0) {
  plat::PostMessage(GetFrameWindowHandle(), message, w, l);
}

TEST(WindowMessages, TwelveMessagesGoInPassesOfFive) {
  Started s;
  for (int i = 0; i < 12; ++i) Post(plat::WM_USER + i);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(g_userMessages, 12);
  EXPECT_EQ(GetMainWindowState().lastPumpDispatched, 12);
  EXPECT_EQ(plat::QueuedMessageCount(), 0);
}

TEST(WindowMessages, CharactersGoIntoTheRing) {
  Started s;
  Post(plat::WM_CHAR, 'a');
  Post(plat::WM_CHAR, 0x0A);  // line feed becomes carriage return
  Post(plat::WM_CHAR, 0x07);  // bell is dropped
  Post(plat::WM_CHAR, 0x1B);
  Post(plat::WM_CHAR, 0x08);
  Post(plat::WM_KEYDOWN, plat::VK_LEFT);
  Post(plat::WM_KEYDOWN, plat::VK_DELETE);
  PumpMessages();
  EXPECT_EQ(lifetest::TakeRingText(), "a\x0D\x1B\x08\x1D\x10");
  // Typed on the host: text, Ctrl+J, Ctrl+G, Return.
  lifetest::Key(true, plat::hid::LeftCtrl);
  lifetest::Key(true, plat::hid::A + 9);
  lifetest::Key(true, plat::hid::A + 6);
  lifetest::Key(false, plat::hid::LeftCtrl);
  plat::HostEvent text;
  text.kind = plat::HostEventKind::TextInput;
  std::snprintf(text.text, sizeof text.text, "%s", reinterpret_cast<const char*>(u8"xあ"));
  hl::PushEvent(text);
  lifetest::Key(true, plat::hid::Return);
  PumpMessages();
  EXPECT_EQ(lifetest::TakeRingText(), "\x0Dx\x82\xA0\x0D");
}

TEST(WindowMessages, WheelCountsNotches) {
  Started s;
  Post(plat::WM_MOUSEWHEEL, static_cast<plat::WParam>(120) << 16);
  Post(plat::WM_MOUSEWHEEL, static_cast<plat::WParam>(static_cast<uint16_t>(-240)) << 16);
  Post(plat::WM_MOUSEWHEEL, 0);  // no delta counts as a notch down
  PumpMessages();
  EXPECT_EQ(GetMainWindowState().wheel, -1);
}

TEST(WindowMessages, AltEnterTogglesTheModeWhenAllowed) {
  Started s;
  lifetest::Key(true, plat::hid::LeftAlt);
  lifetest::Key(true, plat::hid::Return);
  PumpMessages();
  EXPECT_EQ(IsWindowedMode(), 1);  // not allowed: nothing
  GetMainWindowState().settings.toggleAllowed = 1;
  lifetest::Key(false, plat::hid::Return);
  lifetest::Key(true, plat::hid::Return);
  PumpMessages();  // the request
  EXPECT_EQ(GetMainWindowState().toggleRequested, 1);
  PumpMessages();  // served at the next pass
  EXPECT_EQ(IsWindowedMode(), 0);
  EXPECT_TRUE(hl::GetWindowState().fullscreen);
}

TEST(WindowMessages, UnsupportedDisplayChangeClosesTheWindow) {
  Started s;
  Post(plat::WM_DISPLAYCHANGE, 32, plat::MakeLParam(1920, 1080));
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(IsWindowClosing(), 0);  // a usable desktop: restored, the window stays
  Post(plat::WM_DISPLAYCHANGE, 24, plat::MakeLParam(1920, 1080));
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_TRUE(s.Logged("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します"));
  EXPECT_EQ(GetMainWindowState().displayChangeSeen, 1);
}

TEST(WindowMessages, MinimisingDeactivatesAndRestoringResumes) {
  Started s;
  hl::PushEvent(lifetest::Simple(plat::HostEventKind::Minimized));
  const uint64_t back = hl::PeekClock() + 1'000'000;
  hl::ScriptEventAtTime(back, lifetest::Simple(plat::HostEventKind::Restored));
  hl::ScriptEventAtTime(back, lifetest::Simple(plat::HostEventKind::FocusGained));
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_GE(hl::PeekClock(), back);
  EXPECT_EQ(IsWindowActive(), 1);
  EXPECT_EQ(plat::IsIconic(GetFrameWindowHandle()), false);
}

TEST(WindowMessages, CloseWhileInactiveStillEnds) {
  Started s;
  hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
  hl::ScriptEventAtTime(hl::PeekClock() + 500'000, lifetest::Simple(plat::HostEventKind::CloseRequest));
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(IsQuitRequested(), 1);
}

}  // namespace
