// The on-screen log's drawing: its edged font, and its lines drawn over the
// picture by the present when the log is enabled.
#include <cstring>

#include "framework/core/window/main_window.h"
#include "framework/core/screen_log.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"

namespace qor {

int CreateScreenLogFont() {
  ScreenLogState& log = GetScreenLogState();
  // Edged, so the black edge shows on any picture.
  log.fontHandle = CreateFontHandle(nullptr, log.fontSize, 4, kFontTypeEdged, -1, 1, -1, -1, -1);
  RegisterFontLostFlag(log.fontHandle, &log.fontLost);
  log.setUp = 1;
  return 0;
}

int InitScreenLog() {
  const ScreenState& s = GetScreenState();
  // Without a DirectDraw object (the software road has none) the log is
  // not set up; start-up goes on without it.
  if (s.directDraw == nullptr || GetFrameWindowHandle() == 0) return -1;
  ScreenLogState& log = GetScreenLogState();
  if (log.setUp) ReleaseFontHandle(log.fontHandle);
  log.fontSize = 16;
  CreateScreenLogFont();
  log.enabled = 0;
  log.lineCount = log.cursorLine = log.cursorColumn = 0;
  std::memset(log.lines, 0, sizeof log.lines);
  return 0;
}

int DrawScreenLog() {
  ScreenLogState& log = GetScreenLogState();
  if (!log.setUp) return 0;
  if (log.fontLost || !IsValidFontHandle(log.fontHandle)) CreateScreenLogFont();
  int32_t height = 0;
  QueryScreenState(nullptr, &height, nullptr);
  int32_t lines = log.fontSize > 0 ? height / log.fontSize : 0;
  if (lines > kScreenLogLines) lines = kScreenLogLines;
  const uint32_t white = PackColorRGB(255, 255, 255), black = PackColorRGB(0, 0, 0);
  char line[kScreenLogLineSize + 1];
  for (int32_t i = 0; i < lines; ++i) {
    std::memcpy(line, log.lines[i], kScreenLogLineSize);
    line[kScreenLogLineSize] = '\0';
    DrawStringWithFont(0, 16 * i, line, white, log.fontHandle, black, 0);
  }
  return 0;
}

void DrawScreenLogOverlay() {
  if (!GetScreenLogEnabled()) return;
  const KeptDrawSettings kept = KeepDrawSettings();
  int32_t w = 0, h = 0;
  QueryScreenState(&w, &h, nullptr);
  SetClipArea(0, 0, w, h);
  SelectBlend(0, 0);
  SetTintRGB(255, 255, 255);
  DrawScreenLog();
  PutBackDrawSettings(kept);
}

void ReleaseScreenLogFont(int handle) { ReleaseFontHandle(handle); }

}  // namespace qor
