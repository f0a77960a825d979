#include "framework/qorlib.h"

#include "framework/core/archives/archive.h"
#include "framework/core/input/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/time_helpers.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/images/soft_image.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "framework/graphics/images/pixel_format.h"
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
int SleepUntilNearMillisPublic(uint32_t tick) {
  SleepUntilNearMillis(tick);
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

int CreateBlankGraphPublic(int width, int height, int no3D) { return CreateBlankGraph(width, height, no3D); }
int OpenGraphFilePublic(const char* path, int no3D) { return OpenGraphFile(path, no3D); }
int OpenDividedGraphPublic(const char* path, int count, int xCount, int yCount, int width, int height,
                           int* handles, int no3D) {
  return OpenDividedGraph(path, count, xCount, yCount, width, height, handles, no3D);
}
int BlitGraphPublic(int x, int y, int graph, int transparent) { return BlitGraph(x, y, graph, transparent); }
int BlitGraphRotatedIntPublic(int x, int y, double scale, double angle, int graph, int transparent, int turn) {
  return BlitGraphRotatedInt(x, y, scale, angle, graph, transparent, turn);
}
int BlitGraphMirroredPublic(int x, int y, int graph, int transparent) {
  return BlitGraphMirrored(x, y, graph, transparent);
}
int BlitGraphPartPublic(int x, int y, int sourceX, int sourceY, int width, int height, int graph, int transparent,
                        int mirror) {
  return BlitGraphPart(x, y, sourceX, sourceY, width, height, graph, transparent, mirror);
}
int PaintBoxPublic(int x1, int y1, int x2, int y2, int color, int fill) {
  return PaintBox(x1, y1, x2, y2, static_cast<uint32_t>(color), fill);
}
int CaptureScreenToGraphPublic(int x1, int y1, int x2, int y2, int graph, int flag) {
  return CaptureScreenToGraph(x1, y1, x2, y2, graph, flag);
}

int CreateSoftImageFromFilePublic(const char* path) { return CreateSoftImageFromFile(path); }
int DeleteAllSoftImagesPublic() { return DeleteAllSoftImages(); }
int DeleteSoftImageHandlePublic(int handle) { return DeleteSoftImageHandle(handle); }
int GetSoftImagePixel(int handle, int x, int y, int* r, int* g, int* b, int* a) {
  const SoftImage* record = LookupSoftImage(handle);
  return record != nullptr ? GetGraphImagePixel(&record->image, x, y, r, g, b, a) : -1;
}

}  // namespace qor
