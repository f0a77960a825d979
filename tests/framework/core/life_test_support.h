// A scratch directory plus every module the framework's life touches reset
// on both ends: host (headless), window system, devices, COM, timer, the
// framework's window, input, text input, hooks, lock and status.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core_test_support.h"
#include "framework/core/life/api_lock.h"
#include "framework/core/archives/archive.h"
#include "framework/core/files/file_access.h"
#include "framework/core/life/framework_life.h"
#include "framework/core/life/framework_status.h"
#include "framework/core/input/input_devices.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/life/system_info.h"
#include "framework/core/input/text_input.h"
#include "framework/graphics/screen/graphics_reset.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_state.h"
#include "platform/dinput/dinput.h"
#include "platform/dsound/dsound.h"
#include "platform/host/headless/headless_control.h"
#include "platform/kernel/com.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/os_version.h"
#include "platform/window/window.h"

namespace lifetest {

inline void ResetLife() {
  qor::ResetMovieModule();  // its threads and player objects go before the devices they use
  qor::ResetTextInput();  // these free through the allocator, so before it is reset
  qor::ResetSoundState();
  plat::dsound::ResetDirectSoundState();
  qor::ResetInputDevices();
  qor::ResetMainWindow();
  qor::ResetModuleHooks();
  qor::ResetGraphicsState();
  qor::ResetSystemInfo();
  qor::CloseApiLock();
  qor::ResetArchiveTables();
  qor::ResetFileAccessState();
  plat::ResetDinputStandIn();
  plat::ResetWindowStandIn();
  plat::ResetComStandIn();
  plat::ResetTimerStandIn();
  plat::ResetOsVersionStandIn();
  plat::headless::Reset();
}

struct LifeScope : coretest::ScratchDir {
  LifeScope() { ResetLife(); }
  ~LifeScope() { ResetLife(); }
  std::string Log() const { return coretest::WithoutStamps(Read("Log.txt")); }
  bool Logged(const char* cp932) const { return Read("Log.txt").find(cp932) != std::string::npos; }
  int CountLogged(const char* cp932) const {
    const std::string text = Read("Log.txt");
    int n = 0;
    for (size_t at = text.find(cp932); at != std::string::npos; at = text.find(cp932, at + 1)) ++n;
    return n;
  }
};

inline void Key(bool down, int hid) { plat::headless::PushEvent(plat::headless::KeyEvent(down, hid)); }

// Everything the character ring holds, taken out.
inline std::string TakeRingText() {
  std::string out;
  uint8_t c[2];
  for (int n; (n = qor::GetCharFromInputBuffer(c, 1)) > 0;) out.append(reinterpret_cast<char*>(c), static_cast<size_t>(n));
  return out;
}

inline plat::HostEvent Simple(plat::HostEventKind kind) {
  plat::HostEvent e;
  e.kind = kind;
  return e;
}

}  // namespace lifetest
