#include "framework/graphics/screen_size.h"

namespace qor {

namespace {
ScreenSizeState g_screenSize = {};
}

void ResetScreenSizeState() { g_screenSize = {}; }

void RecordScreenSize(int32_t width, int32_t height, int32_t colorBits) {
  g_screenSize.width = width;
  g_screenSize.height = height;
  g_screenSize.colorBits = colorBits;
}

int QueryScreenSize(int32_t* width, int32_t* height) {
  bool set = g_screenSize.width > 0 && g_screenSize.height > 0;
  if (width != nullptr) *width = set ? g_screenSize.width : 640;
  if (height != nullptr) *height = set ? g_screenSize.height : 480;
  return 0;
}

int32_t GetScreenColorBits() { return g_screenSize.colorBits != 0 ? g_screenSize.colorBits : 16; }

}  // namespace qor
