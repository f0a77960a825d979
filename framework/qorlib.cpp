#include "framework/qorlib.h"

#include "framework/core/archive.h"
#include "framework/core/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/main_window.h"
#include "framework/graphics/draw_state.h"
#include "framework/graphics/graph_image.h"
#include "framework/graphics/graph_record.h"
#include "framework/graphics/screen.h"
#include "framework/graphics/surface_data.h"
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
int SleepMillisPublic(int ms) {
  plat::Sleep(ms > 0 ? static_cast<uint32_t>(ms) : 0);
  return 0;
}
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

int SetVSyncOnPresentPublic(int on) { return SetVSyncOnPresent(on); }
int GetScreenPixelMasksPublic(uint32_t* red, uint32_t* green, uint32_t* blue, uint32_t* alpha) {
  return GetScreenPixelMasks(red, green, blue, alpha);
}
int PackColorRGBPublic(int r, int g, int b) { return static_cast<int>(PackColorRGB(r, g, b)); }
int BuildDirectDrawPixelFormatPublic(void* format, int32_t bits, uint32_t red, uint32_t green, uint32_t blue,
                                     uint32_t alpha) {
  return BuildDirectDrawPixelFormat(static_cast<plat::DDPixelFormat*>(format), bits, red, green, blue, alpha);
}
int PresentFramePublic() { return PresentFrame(); }
int RequestScreenModePublic(int width, int height, int bits, int rate) {
  return RequestScreenMode(width, height, bits, rate);
}
int DestroyGraphPublic(int graph) { return DestroyGraph(graph, 0); }
int EraseDrawTargetPublic() { return EraseDrawTarget(); }
int ChooseDrawModePublic(int mode) { return ChooseDrawMode(mode); }
int SelectBlendPublic(int mode, int parameter) { return SelectBlend(mode, parameter); }
int SetTintRGBPublic(int r, int g, int b) { return SetTintRGB(r, g, b); }
int SelectDrawTargetPublic(int target) { return SelectDrawTarget(target); }
int SetKeyColorRGBPublic(int r, int g, int b) { return SetKeyColorRGB(r, g, b); }

}  // namespace qor
