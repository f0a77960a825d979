#include "framework/qorlib.h"

#include "framework/core/archive.h"
#include "framework/core/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/main_window.h"
#include "framework/graphics/graph_image.h"
#include "framework/graphics/pixel_format.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "platform/kernel/mm_timer.h"

namespace qor {

int IsWindowedModePublic() { return IsWindowedMode(); }
int SwitchWindowModePublic(int windowed) { return SwitchWindowMode(windowed); }
int ApplyWindowTitlePublic(const char* text) { return ApplyWindowTitle(text); }
int SetDoubleLaunchPolicyPublic(int policy) { return SetDoubleLaunchPolicy(policy); }

int SetLogFileOutputPublic(int on) { return SetLogFileOutput(on); }
int SetArchiveExtensionPublic(const char* text) { return SetArchiveExtension(text); }
int SetArchiveKeyPublic(const char* text) { return SetArchiveKey(text); }

uint32_t GetNowMillisPublic() { return plat::timeGetTime(); }
int QueryKeyPressedPublic(int code) { return QueryKeyPressed(code); }
int ReadPadInputBitsPublic(int value) { return ReadPadInputBits(value); }

int MakeFormatFromMasksPublic(PixelFormatInfo* format, int32_t bitDepth, uint32_t red, uint32_t green,
                              uint32_t blue, uint32_t alpha) {
  return MakeFormatFromMasks(format, bitDepth, red, green, blue, alpha);
}
int AllocGraphImagePixelsPublic(int32_t width, int32_t height, GraphImage* image) {
  return AllocGraphImagePixels(width, height, image);
}
int FreeGraphImagePublic(GraphImage* image) { return FreeGraphImage(image); }

int LoadSoundFilePublic(const char* path, int bufferCount, int shareWith) {
  return LoadSoundFile(path, bufferCount, shareWith);
}
int DeleteSoundPublic(int handle, int flag) { return DeleteSound(handle, flag); }
int PlaySoundHandlePublic(int handle, int playType, int restart) { return PlaySoundHandle(handle, playType, restart); }
int StopSoundPublic(int handle) { return StopSound(handle); }

}  // namespace qor
