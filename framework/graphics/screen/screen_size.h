// The screen's size and colour depth as far as the pixel code needs them:
// the target size of the two screens, the aspect of a default projection and
// the format kind of screen memory images. The screen-mode code records each
// mode it sets here (in the screen state); before any mode is set the screen
// counts as 640 x 480 at 16 bits.
#pragma once

#include <cstdint>

namespace qor {

void ResetScreenSizeState();
void RecordScreenSize(int32_t width, int32_t height, int32_t colorBits);

// 640 x 480 until a mode is set; either pointer may be null. 0.
int QueryScreenSize(int32_t* width, int32_t* height);
// 16 until a mode is set.
int32_t GetScreenColorBits();

}  // namespace qor
