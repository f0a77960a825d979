// Movies the Theora decoder does not take, played by the movie player
// (platform/media): the open with its surface choices and temporary copy,
// the frame update that asks for samples asynchronously, and the release
// and reopen of the player around a display change.
#include <algorithm>
#include <cstring>

#include "framework/core/files/file_access.h"
#include "framework/core/files/file_paths.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/screen/movie_display.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_state.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/threads.h"
#include "platform/media/media_player.h"

namespace qor {

namespace {

constexpr size_t kCopyPiece = 1048576;

bool PlayerPresent(const MovieData* m) { return m->sample != nullptr; }

int Fail(MovieData* m, const char* line) {
  if (line != nullptr) LogOutput(line);
  ReleaseMoviePlayerObjects(m);
  return -1;
}

// The pixel format of the sample surface for a mode other than the overlay.
plat::DDPixelFormat SampleFormat(int32_t mode) {
  plat::DDPixelFormat f;
  f.flags = plat::DDPF_RGB;
  if (mode == kMovieSurfaceRgb24) {
    f.bitCount = 24;
    f.redMask = 0xFF0000;
    f.greenMask = 0xFF00;
    f.blueMask = 0xFF;
    return f;
  }
  // In software rendering on a screen that is not 8-bit the sample comes
  // in the memory-image format of the screen's depth, as also when there is
  // no primary to describe.
  const ScreenState& s = GetScreenState();
  const int32_t bits = GetScreenColorBits();
  if ((s.softwareRendering && bits != 8) || s.primary == nullptr)
    return *GetMemImgColorFormatShort(bits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888, 0, 0);
  s.primary->GetPixelFormat(&f);
  return f;
}

plat::MediaSampleFormat MediaFormatOf(const plat::DDPixelFormat& f) {
  plat::MediaSampleFormat out{static_cast<int32_t>(f.bitCount), f.redMask, f.greenMask, f.blueMask};
  if (f.flags & plat::DDPF_FOURCC) out.fourCC = f.fourCC;
  return out;
}

// The sample's memory when there is no surface: X8R8G8B8, as a player
// makes its own.
int MakeOwnSample(MovieData* m, int32_t width, int32_t height) {
  const int32_t pitch = width * 4;
  m->sampleBlock = static_cast<uint8_t*>(
      AllocMemoryZeroed(static_cast<size_t>(pitch) * static_cast<size_t>(height), __FILE__, __LINE__));
  if (m->sampleBlock == nullptr) return -1;
  m->sampleBlockPitch = pitch;
  const plat::DDPixelFormat f{plat::DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0, 0};
  m->sample = plat::CreateMediaSample(m->media, MediaFormatOf(f), m->sampleBlock, pitch, width, height);
  return m->sample != nullptr ? 0 : -1;
}

// The sample in memory of the record's own, in `format` at `pitch`. An
// overlay is on the screen whenever the display shows it, so the player's
// worker must not write into it: its sample gets memory in the overlay's
// layout, copied into the overlay on the main thread when a frame has come
// (CopySampleToOverlay). Without a display object (the software road) this
// memory stands for the sample surface the object would have made.
plat::MediaSample* MakeBlockSample(MovieData* m, const plat::DDPixelFormat& format, int32_t pitch, int32_t width,
                                   int32_t height) {
  m->sampleBlock = static_cast<uint8_t*>(
      AllocMemoryZeroed(static_cast<size_t>(pitch) * static_cast<size_t>(height), __FILE__, __LINE__));
  if (m->sampleBlock == nullptr) return nullptr;
  m->sampleBlockPitch = pitch;
  return plat::CreateMediaSample(m->media, MediaFormatOf(format), m->sampleBlock, pitch, width, height);
}

void CopySampleToOverlay(MovieData* m) {
  if (m->sampleBlock == nullptr || m->sampleSurface == nullptr) return;
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
  if (m->sampleSurface->Lock(nullptr, &pitch, &bits, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK) return;
  const size_t bytes = static_cast<size_t>(std::min(pitch, m->sampleBlockPitch));
  for (int32_t row = 0; row < m->sampleSurface->height(); ++row) {
    std::memcpy(bits + static_cast<intptr_t>(row) * pitch, m->sampleBlock + static_cast<intptr_t>(row) * m->sampleBlockPitch,
                bytes);
  }
  m->sampleSurface->Unlock(nullptr);
}

// Opens the file by name, or from a temporary copy when it cannot be (a
// file inside a resource archive). The path is already in the record. Null
// when neither opens: `step` then tells the step that refused,
// kMediaStepOpen when the name and the copy both failed.
plat::MediaFile* OpenByNameOrCopy(MovieData* m, const char* path, plat::MediaStep* step) {
  plat::SetMediaSoundDevice(GetSoundState().directSound);
  plat::MediaFile* media = plat::OpenMediaFile(m->path, step);
  if (media != nullptr || *step != plat::kMediaStepOpen) return media;
  // The file's line is the open's failure from here on; it is logged only
  // when the copy does not open either.
  if (m->tempFile == 1 || CopyMovieToTempFile(m, path) != 0) return nullptr;
  media = plat::OpenMediaFile(m->path, step);
  if (media == nullptr) {
    plat::DeleteFileAt(m->path);
    m->tempFile = 0;
    *step = plat::kMediaStepOpen;
  }
  return media;
}

// The interfaces the open asks for, in its order, each with its line.
struct InterfaceStep {
  plat::MediaStep step;
  const char* line;
};

// Before the file is opened: the graph, its stream and their set-up.
constexpr InterfaceStep kGraphSteps[] = {
    {plat::kMediaStepFilterGraph, "CLSID_FilterGraph の作成に失敗しました"},
    {plat::kMediaStepMultiMediaStream, "IAMMultimediaインターフェイスを取得できませんでした！"},
    {plat::kMediaStepInitialize, "ストリームを読み取り用にセットアップできませんでした！"},
    {plat::kMediaStepMediaControl, "IID_IMediaControlインターフェイスの取得に失敗しました"},
    {plat::kMediaStepDirectDraw4, "DirectDraw4オブジェクトを取得できませんでした"},
    {plat::kMediaStepPrimaryVideo, "プライマリビデオストリームを追加できませんでした！"},
};

// After it: the graph's seeking and sound, and the video stream's interfaces.
constexpr InterfaceStep kStreamSteps[] = {
    {plat::kMediaStepMediaSeeking, "メディアシーキングインターフェースの取得に失敗しました"},
    {plat::kMediaStepBasicAudio, "BasicAudio インターフェースの取得に失敗しました"},
    {plat::kMediaStepVideoStream, "プライマリビデオストリームインターフェイスを取得できませんでした！"},
    {plat::kMediaStepAMMediaStream, "AMMediaStreamインターフェイスの取得に失敗しました"},
    {plat::kMediaStepDirectDrawStream, "DirectDrawメディアストリームインターフェイスを取得できませんでした！"},
};

// The line of the first step that fails, or null when all are there.
template <size_t N>
const char* AskInterfaces(const InterfaceStep (&steps)[N]) {
  for (const InterfaceStep& s : steps) {
    if (plat::AskMediaInterface(s.step) != 0) return s.line;
  }
  return nullptr;
}

}  // namespace

int CopyMovieToTempFile(MovieData* m, const char* path) {
  const FileAccessTable* files = GetFileAccessTable();
  const FileHandle in = files->open(path, 0, 0, 0);
  if (in == 0) return -1;
  int64_t size = -1;
  if (files->seek(in, 0, 2) == 0) size = files->tell(in);
  files->seek(in, 0, 0);
  uint8_t* buffer = size >= 0 ? static_cast<uint8_t*>(AllocMemory(kCopyPiece, __FILE__, __LINE__)) : nullptr;
  char temp[kMoviePathCapacity];
  const plat::FileDesc out = buffer != nullptr ? CreateTempFile(temp, sizeof temp) : plat::kNoFile;
  if (out == plat::kNoFile) {
    if (buffer != nullptr) FreeMemory(buffer);
    files->close(in);
    return -1;
  }
  // Every byte must arrive: a short read or write leaves a copy that would
  // play as a cut movie, so the copy fails instead.
  bool whole = true;
  for (int64_t left = size; left > 0 && whole;) {
    const size_t piece = static_cast<size_t>(std::min<int64_t>(left, kCopyPiece));
    const size_t got = files->read(buffer, 1, piece, in);
    whole = got == piece && plat::WriteFileBytes(out, buffer, got) == static_cast<int64_t>(got);
    left -= static_cast<int64_t>(piece);
  }
  files->close(in);
  plat::CloseFile(out);
  FreeMemory(buffer);
  if (!whole) {
    plat::DeleteFileAt(temp);
    return -1;
  }
  std::memcpy(m->path, temp, sizeof temp);
  m->tempFile = 1;
  return 0;
}

void ReleaseMoviePlayerObjects(MovieData* m) {
  if (m->sampleSurface != nullptr && m->surfaceMode == kMovieSurfaceOverlay) {
    plat::DDSurface* primary = GetPrimaryOrTempSurface();
    if (primary != nullptr) m->sampleSurface->UpdateOverlay(nullptr, primary, nullptr, plat::DDOVER_HIDE);
  }
  // The sample's worker writes into the surface: it goes first.
  if (m->sample != nullptr) plat::DeleteMediaSample(m->sample);
  m->sample = nullptr;
  if (m->media != nullptr) plat::CloseMediaFile(m->media);
  m->media = nullptr;
  if (m->sampleSurface != nullptr) m->sampleSurface->Release();
  m->sampleSurface = nullptr;
  if (m->sampleBlock != nullptr) FreeMemory(m->sampleBlock);
  m->sampleBlock = nullptr;
  m->updatePending = 0;
}

namespace {

int OpenPlayerSteps(MovieData* m, const char* path, int32_t* width, int32_t* height, int32_t surfaceMode) {
  FreeGraphImage(&m->frameImage);
  m->frameImage = GraphImage{};
  if (m->updateEvent != nullptr) plat::CloseEvent(m->updateEvent);
  m->updateEvent = nullptr;
  m->yuvSample = 0;
  m->directX = m->directY = m->directScale = m->directShow = 0;
  m->directSource = m->directDestination = Rect{};

  plat::DDPixelFormat overlayFormat;
  if (surfaceMode == kMovieSurfaceOverlay && GetOverlayPixelFormat(&overlayFormat) != 0) surfaceMode = kMovieSurfaceRgb24;
  if (surfaceMode == kMovieSurfaceRgb24 && GetScreenColorBits() == 32) surfaceMode = kMovieSurfaceScreen;
  if (surfaceMode < kMovieSurfaceScreen || surfaceMode > kMovieSurfaceRgb24) surfaceMode = kMovieSurfaceScreen;

  // Without a DirectDraw object (software rendering) the player's own
  // memory holds the sample; an overlay format needs the object, so mode 1
  // never comes here without it.
  plat::DirectDraw* dd = GetScreenState().directDraw;
  if (const char* line = AskInterfaces(kGraphSteps)) return Fail(m, line);
  // The record's path holds at most 259 bytes; a longer name is refused
  // rather than cut to another file's name.
  if (path != m->path) {
    if (std::strlen(path) >= sizeof m->path) {
      LogPrintf("ファイル:%s が開けませんでした", path);
      return Fail(m, nullptr);
    }
    std::strcpy(m->path, path);
  }
  plat::MediaStep refused = plat::kMediaStepOpen;
  m->media = OpenByNameOrCopy(m, path, &refused);
  if (m->media == nullptr && refused == plat::kMediaStepAudio) {
    return Fail(m, "デフォルトサウンドレンダラを追加できませんでした！\n");
  }
  if (m->media == nullptr && refused == plat::kMediaStepOpen) {
    LogPrintf("ファイル:%s が開けませんでした", path);
    return Fail(m, nullptr);
  }
  // A file that opens without a video stream it can show gives no format.
  if (m->media == nullptr) return Fail(m, "動画ファイルではない可能性があります！");
  if (const char* line = AskInterfaces(kStreamSteps)) return Fail(m, line);
  int32_t w = 0, h = 0;
  plat::GetMediaVideoSize(m->media, &w, &h);
  if (w <= 0 || h <= 0) return Fail(m, "動画ファイルではない可能性があります！");

  const plat::DDPixelFormat format = surfaceMode == kMovieSurfaceOverlay ? overlayFormat : SampleFormat(surfaceMode);
  if (dd != nullptr) {
    plat::DDSurfaceDesc desc;
    desc.caps = surfaceMode == kMovieSurfaceOverlay ? plat::DDSCAPS_OVERLAY | plat::DDSCAPS_VIDEOMEMORY
                                                    : plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY;
    desc.width = w;
    desc.height = h;
    desc.hasPixelFormat = true;
    desc.pixelFormat = format;
    if (dd->CreateSurface(&desc, &m->sampleSurface) != plat::DD_OK) {
      m->sampleSurface = nullptr;
      return Fail(m, "DirectDrawSurface オブジェクトの作成に失敗しました");
    }
  }
  m->surfaceMode = surfaceMode;
  plat::DDPixelFormat frameFormat = format;
  if (m->sampleSurface != nullptr && surfaceMode == kMovieSurfaceOverlay) {
    m->sampleSurface->GetPixelFormat(&frameFormat);
    m->sample = MakeBlockSample(m, format, m->sampleSurface->pitch(), w, h);
  } else if (m->sampleSurface != nullptr) {
    m->sampleSurface->GetPixelFormat(&frameFormat);
    m->sample = plat::CreateMediaSample(m->media, MediaFormatOf(format), m->sampleSurface->deviceMemory(),
                                        m->sampleSurface->pitch(), w, h);
  } else if (surfaceMode != kMovieSurfaceOverlay) {
    m->sample = MakeBlockSample(m, format, (static_cast<int32_t>(format.bitCount / 8) * w + 3) & ~3, w, h);
  }
  if (m->sample == nullptr) {
    if (m->sampleBlock != nullptr) FreeMemory(m->sampleBlock);
    m->sampleBlock = nullptr;
    // The player makes its own memory: the frame then comes in its format.
    if (m->sampleSurface != nullptr) m->sampleSurface->Release();
    m->sampleSurface = nullptr;
    m->surfaceMode = kMovieSurfaceScreen;
    if (MakeOwnSample(m, w, h) != 0) return Fail(m, "ストリームサンプルを作成できませんでした！");
    frameFormat = plat::DDPixelFormat{plat::DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0, 0};
  }
  if (plat::AskMediaInterface(plat::kMediaStepSampleSurface) != 0) {
    return Fail(m, "ストリームサンプルからIDirectDrawSurfaceインターフェイスを取得できませんでした！");
  }
  // An overlay asks only for the newest surface interface; the others for
  // both, the older first.
  if (m->surfaceMode != kMovieSurfaceOverlay && plat::AskMediaInterface(plat::kMediaStepSurface4) != 0) {
    return Fail(m, "IDirectDrawSurface4インターフェイスを取得できませんでした！");
  }
  if (plat::AskMediaInterface(plat::kMediaStepSurface7) != 0) {
    return Fail(m, "IDirectDrawSurface7インターフェイスを取得できませんでした！");
  }
  m->sampleRect = Rect{0, 0, w, h};
  m->width = w;
  m->height = h;
  if (width != nullptr) *width = m->alphaHalves ? w / 2 : w;
  if (height != nullptr) *height = h;

  if (m->surfaceMode == kMovieSurfaceOverlay) {
    if (!(frameFormat.flags & plat::DDPF_FOURCC)) MakeFormatFromDirectDraw(&frameFormat, &m->frameImage.format);
    m->yuvSample = (frameFormat.flags & plat::DDPF_FOURCC) ? 1 : 0;
  } else {
    MakeFormatFromDirectDraw(&frameFormat, &m->frameImage.format);
    const int32_t pitch = (m->frameImage.format.bytesPerPixel * w + 3) & ~3;
    m->frameImage.pixels = static_cast<uint8_t*>(
        AllocMemoryZeroed(static_cast<size_t>(pitch) * static_cast<size_t>(h), __FILE__, __LINE__));
    if (m->frameImage.pixels == nullptr) return Fail(m, "メモリの確保に失敗しました in OpenMovie");
    m->frameImage.pitch = pitch;
  }
  m->frameImage.width = w;
  m->frameImage.height = h;
  m->updateEvent = plat::CreateEvent(true, false);
  m->updatePending = 0;
  m->lastUpdateFrame = -1;
  m->lastUpdateTime = 0xFFFFFFFFu;
  return 0;
}

}  // namespace

int OpenMovieDirectShow(MovieData* m, const char* path, int32_t* width, int32_t* height, int32_t surfaceMode) {
  const int32_t hadCopy = m->tempFile;
  if (OpenPlayerSteps(m, path, width, height, surfaceMode) == 0) return 0;
  // A temporary copy made by this open goes with it: the record that would
  // delete it at its close is freed.
  if (hadCopy == 0 && m->tempFile == 1) {
    plat::DeleteFileAt(m->path);
    m->tempFile = 0;
  }
  return -1;
}

void UpdateMoviePlayerFrame(MovieData* m, int wait) {
  if (!PlayerPresent(m)) return;
  const bool running = plat::IsMediaRunning(m->media) != 0;
  if (!wait) {
    if (m->resumeMark != 1 || m->stopped != 0 || !running) return;
    if (static_cast<int64_t>(GetFrameCounter()) == m->lastUpdateFrame &&
        plat::timeGetTime() - m->lastUpdateTime <= 17) {
      return;
    }
  }
  for (int pass = 0; pass < 2; ++pass) {
    int result;
    if (pass == 0 && !wait && m->updatePending != 0) {
      if (plat::WaitEvent(m->updateEvent, 0) == 0) return;
      result = plat::MediaSampleResult(m->sample);  // the request has completed
    } else {
      result = plat::UpdateMediaSample(m->sample, wait ? nullptr : m->updateEvent);
    }
    if (result == plat::kMediaUpdatePending) {
      m->updatePending = 1;
      return;
    }
    if (result != plat::kMediaUpdateOk) {
      // The end of the stream (or an error): a looping movie starts again.
      m->updatePending = 0;
      plat::ResetEvent(m->updateEvent);
      if (m->playType & 2) {
        plat::SeekMedia(m->media, 0);
        plat::RunMedia(m->media);
        m->lastUpdateFrame = -1;
        m->lastUpdateTime = 0xFFFFFFFFu;
      } else {
        m->resumeMark = 0;
        m->stopped = 1;
      }
      return;
    }
    GraphImage& image = m->frameImage;
    if (image.pixels != nullptr && m->yuvSample == 0) {
      const uint8_t* bits = m->sampleBlock;
      int32_t pitch = m->sampleBlockPitch;
      uint8_t* locked = nullptr;
      if (m->sampleSurface != nullptr &&
          m->sampleSurface->Lock(nullptr, &pitch, &locked, plat::DDLOCK_WAIT) == plat::DD_OK) {
        bits = locked;
      } else if (m->sampleSurface != nullptr) {
        bits = nullptr;  // a failed lock skips the copy
      }
      if (bits != nullptr) {
        const int32_t bytes = std::min(image.pitch, image.format.bytesPerPixel * image.width);
        for (int32_t row = 0; row < image.height; ++row) {
          std::memcpy(image.pixels + static_cast<intptr_t>(row) * image.pitch, bits + static_cast<intptr_t>(row) * pitch,
                      static_cast<size_t>(bytes));
        }
      }
      if (locked != nullptr) m->sampleSurface->Unlock(nullptr);
    }
    if (m->surfaceMode == kMovieSurfaceOverlay) CopySampleToOverlay(m);
    if (m->surfaceMode != kMovieSurfaceOverlay && m->callback != nullptr) m->callback(m, m->callbackData);
    m->lastUpdateFrame = static_cast<int64_t>(GetFrameCounter());
    m->lastUpdateTime = plat::timeGetTime();
    plat::ResetEvent(m->updateEvent);
    m->updatePending = 0;
    if (wait) return;
  }
}

int RestoreMovieSurfaces(int32_t movie) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr || m->sampleSurface == nullptr) return 0;
  if (m->sampleSurface->IsLost() != plat::DD_OK) m->sampleSurface->Restore();
  return 0;
}

int ReleaseAllMovieStreams() {
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    MovieData* m = GetMovieData(MovieHandleOfSlot(slot));
    if (m == nullptr || m->theora || !PlayerPresent(m)) continue;
    m->savedStreamTime = plat::GetMediaTime(m->media);
    ReleaseMoviePlayerObjects(m);
  }
  return 0;
}

int ReopenAllMovies() {
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    MovieData* m = GetMovieData(MovieHandleOfSlot(slot));
    if (m == nullptr || m->theora || PlayerPresent(m)) continue;
    if (OpenMovieDirectShow(m, m->path, nullptr, nullptr, m->surfaceMode) != 0) return -1;
    plat::SeekMedia(m->media, m->savedStreamTime);
    if (m->stopped == 0) plat::RunMedia(m->media);
  }
  return 0;
}

}  // namespace qor
