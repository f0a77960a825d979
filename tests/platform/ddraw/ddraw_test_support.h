// What the display stand-in's tests share: every stand-in a display test
// touches returned to its state at program load, and a visible window with
// a DirectDraw object made on it.
#pragma once

#include <gtest/gtest.h>

#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

namespace ddtest {

inline void ResetDisplayStandIns() {
  plat::ResetDirectDrawStandIn();
  plat::ResetGdiStandIn();
  plat::ResetWindowStandIn();
  plat::headless::Reset();
}

inline plat::LResult PlainProc(plat::Hwnd w, uint32_t m, plat::WParam wp, plat::LParam lp) {
  return plat::DefWindowProc(w, m, wp, lp);
}

// A popup window of class `name` at (x, y), w x h, and a DirectDraw object;
// the stand-ins are reset first.
inline void OpenDisplay(const char* name, int x, int y, int w, int h, plat::Hwnd* window, plat::DirectDraw** dd) {
  ResetDisplayStandIns();
  ASSERT_TRUE(plat::RegisterClass(name, PlainProc));
  *window = plat::CreateWindowEx(0, name, name, plat::WS_POPUP | plat::WS_VISIBLE, x, y, w, h);
  ASSERT_EQ(plat::DirectDrawCreate(dd), plat::DD_OK);
}

}  // namespace ddtest
