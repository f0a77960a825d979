// The screen's size and depth live in the screen state; these read and
// record them there.
#include "framework/graphics/screen/screen_size.h"

#include "framework/graphics/screen/screen.h"

namespace qor {

void ResetScreenSizeState() { RecordScreenSize(0, 0, 0); }

void RecordScreenSize(int32_t width, int32_t height, int32_t colorBits) {
  ScreenState& s = GetScreenState();
  s.width = width;
  s.height = height;
  s.colorBits = colorBits;
}

int QueryScreenSize(int32_t* width, int32_t* height) {
  const ScreenState& s = GetScreenState();
  const bool set = s.width > 0 && s.height > 0;
  if (width != nullptr) *width = set ? s.width : 640;
  if (height != nullptr) *height = set ? s.height : 480;
  return 0;
}

int32_t GetScreenColorBits() {
  const int32_t bits = GetScreenState().colorBits;
  return bits != 0 ? bits : 16;
}

}  // namespace qor
