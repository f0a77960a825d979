// Keeping a playing movie's picture in step with time: the frame due from
// the soundtrack or the clock, overlays placed on the screen, and pausing
// and resuming with the program's activation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/core/window/main_window.h"
#include "framework/core/time_helpers.h"
#include "framework/graphics/screen/movie_display.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_play.h"
#include "platform/media/media_player.h"
#include "platform/window/window.h"

namespace qor {

namespace {

plat::Rect ToPlat(const Rect& r) { return plat::Rect{r.left, r.top, r.right, r.bottom}; }

int32_t SaturateToInt32(double value) {
  if (!(value > 0.0)) return 0;  // also NaN
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

void UpdateTheoraMovie(MovieData* m) {
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(m->decoder, &info);
  const int32_t n = info.frameCount;
  if (m->stopped == 0 && n > 0) {
    int32_t due;
    if (m->soundtrack != -1) {
      // The sound's position in ms, as microseconds in 64 bits: 35 minutes
      // of milliseconds times 1000 no longer fit 32 bits.
      const int64_t p = std::max(0, GetSoundPositionMs(m->soundtrack));
      due = std::min(MovieFrameDue(p * 1000, info.frameRate), n - 1);
    } else {
      due = MovieFrameDue(GetNowMicros() - m->startTime, info.frameRate);
      if (due >= n) due = (m->playType & 2) ? due % n : n - 1;
    }
    const int32_t c = GetTheoraCurrentFrame(m->decoder);
    if (due == c) {
      if (due == n - 1 && (m->playType & 2) == 0 && m->soundtrack == -1) {
        m->resumeMark = 0;
        m->stopped = 1;
      }
    } else if (due < c) {
      AdvanceTheoraFrame(m->decoder, n - c + due);  // forward through the end
    } else {
      AdvanceTheoraFrame(m->decoder, due - c);
    }
  }
  if (m->callback != nullptr) m->callback(m, m->callbackData);
}

}  // namespace

int32_t MovieFrameDue(int64_t micros, double rate) {
  return SaturateToInt32(static_cast<double>(micros) * rate * 0.000001);
}

int UpdateMovie(int32_t movie, int wait) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return 0;
  if (m->theora) UpdateTheoraMovie(m);
  else UpdateMoviePlayerFrame(m, wait);
  return 0;
}

int DrawMovieDirect(int32_t x, int32_t y, int32_t scale, int32_t movie, int32_t show) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return -1;
  if (m->surfaceMode != kMovieSurfaceOverlay || m->sampleSurface == nullptr) return 0;
  // A scale below 1 has no picture to show (and the source crop below
  // divides by it): the overlay is hidden.
  if (scale < 1) show = 0;
  const int64_t s = std::max(scale, 1);
  Rect source{0, 0, m->width, m->height};
  const int64_t right = static_cast<int64_t>(x) + m->width * s;
  const int64_t bottom = static_cast<int64_t>(y) + m->height * s;
  Rect destination{x, y, static_cast<int32_t>(std::min<int64_t>(right, INT32_MAX)),
                   static_cast<int32_t>(std::min<int64_t>(bottom, INT32_MAX))};
  Rect visible = destination;
  if (IsWindowedMode()) {
    plat::Rect client{};
    if (plat::GetClientRect(GetFrameWindowHandle(), &client)) {
      visible.left = std::max(visible.left, client.left);
      visible.top = std::max(visible.top, client.top);
      visible.right = std::min(visible.right, client.right);
      visible.bottom = std::min(visible.bottom, client.bottom);
    } else {
      show = 0;
    }
  }
  plat::Rect area{};
  GetDrawAreaRect(&area);
  const auto shift = [&](Rect* r) {
    r->left += area.left;
    r->right += area.left;
    r->top += area.top;
    r->bottom += area.top;
  };
  shift(&destination);
  shift(&visible);
  visible.left = std::max(visible.left, area.left);
  visible.top = std::max(visible.top, area.top);
  visible.right = std::min(visible.right, area.right);
  visible.bottom = std::min(visible.bottom, area.bottom);
  if (visible.right <= visible.left || visible.bottom <= visible.top) show = 0;
  source.left += static_cast<int32_t>((visible.left - destination.left) / s);
  source.right -= static_cast<int32_t>((destination.right - visible.right) / s);
  source.top += static_cast<int32_t>((visible.top - destination.top) / s);
  source.bottom -= static_cast<int32_t>((destination.bottom - visible.bottom) / s);
  destination = visible;

  plat::DDCaps caps;
  CopyDisplayCaps(&caps);
  if ((caps.caps & plat::DDCAPS_ALIGNBOUNDARYSRC) && caps.alignBoundarySrc != 0) {
    source.left -= static_cast<int32_t>(source.left % static_cast<int32_t>(caps.alignBoundarySrc));
  }
  if ((caps.caps & plat::DDCAPS_ALIGNSIZESRC) && caps.alignSizeSrc != 0) {
    source.right -= (source.right - source.left) % static_cast<int32_t>(caps.alignSizeSrc);
  }
  int64_t width = m->width * s;
  if ((caps.caps & plat::DDCAPS_ALIGNBOUNDARYDEST) && caps.alignBoundaryDest != 0) {
    const int32_t cut = destination.left % static_cast<int32_t>(caps.alignBoundaryDest);
    destination.left -= cut;
    width -= cut;
  }
  if ((caps.caps & plat::DDCAPS_ALIGNSIZEDEST) && caps.alignSizeDest != 0) {
    const int32_t cut = static_cast<int32_t>(width % caps.alignSizeDest);
    destination.right -= cut;
    width -= cut;
  }
  if (width <= 0) show = 0;

  plat::DDSurface* primary = GetPrimaryOrTempSurface();
  if (show) {
    const bool changed = m->directShow == 0 || std::memcmp(&source, &m->directSource, sizeof source) != 0 ||
                         std::memcmp(&destination, &m->directDestination, sizeof destination) != 0;
    const plat::Rect from = ToPlat(source), to = ToPlat(destination);
    if (changed && primary != nullptr) m->sampleSurface->UpdateOverlay(&from, primary, &to, plat::DDOVER_SHOW);
  } else {
    if (primary != nullptr) m->sampleSurface->UpdateOverlay(nullptr, primary, nullptr, plat::DDOVER_HIDE);
    source = Rect{};
    destination = Rect{};
  }
  m->directX = x;
  m->directY = y;
  m->directScale = scale;
  m->directShow = show != 0 ? 1 : 0;
  m->directSource = source;
  m->directDestination = destination;
  return 0;
}

int PauseMovie(int32_t movie, int32_t keepMark) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return -1;
  if (m->stopped == 1) return 0;
  if (m->theora) {
    if (m->soundtrack != -1) StopSound(m->soundtrack);
    UpdateMovie(movie, 0);
  } else {
    if (m->media == nullptr) return 0;  // released around a display change
    plat::StopMedia(m->media);
  }
  m->stopped = 1;
  if (keepMark == 0) m->resumeMark = 0;
  return 0;
}

void ResumeOneMovie(MovieData* m, int32_t playType) {
  if (playType == 0) playType = 1;
  if (m->stopped != 1 || m->resumeMark != 1) return;
  if (m->theora) {
    TheoraMovieInfo info{};
    GetTheoraMovieInfo(m->decoder, &info);
    const int32_t c = std::max(GetTheoraCurrentFrame(m->decoder), 0);
    const double back = info.frameRate > 0.0 ? c / info.frameRate * 1000000.0 : 0.0;
    m->startTime = GetNowMicros() - static_cast<int64_t>(std::min(back, 9.0e15));
    if (m->soundtrack != -1) PlaySoundHandle(m->soundtrack, playType, 0);
  } else {
    if (m->media == nullptr) return;  // released: left alone
    plat::RunMedia(m->media);
  }
  m->stopped = 0;
  m->playType = playType;
  m->resumeMark = 1;
}

int ResumeAllMovies() {
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    MovieData* m = GetMovieData(MovieHandleOfSlot(slot));
    if (m != nullptr) ResumeOneMovie(m, m->playType);
  }
  return 0;
}

int PauseAllMovies() {
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    const int32_t handle = MovieHandleOfSlot(slot);
    if (handle != -1) PauseMovie(handle, 1);
  }
  return 0;
}

int DrawDirectMovies() {
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    const int32_t handle = MovieHandleOfSlot(slot);
    const MovieData* m = GetMovieData(handle);
    if (m != nullptr && !m->theora && m->surfaceMode == kMovieSurfaceOverlay) {
      DrawMovieDirect(m->directX, m->directY, m->directScale, handle, m->directShow);
    }
  }
  return 0;
}

}  // namespace qor
