// Opening a Theora movie: the signature, the three header packets, one scan
// of the whole file for the page index and keyframe table, the decode
// thread, the two places a frame is shown from; and closing.
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/sound/movie/theora_decoder.h"
#include "platform/kernel/threads.h"

namespace qor {

namespace {

TheoraSurfaceOps g_surfaceOps{};

bool HaveSurfaceOps() { return g_surfaceOps.create != nullptr; }

void ReleaseYuvSurface(TheoraDecoder* d) {
  if (d->yuvSurface != nullptr && g_surfaceOps.release != nullptr) g_surfaceOps.release(d->yuvSurface);
  d->yuvSurface = nullptr;
  d->yuvFourcc = 0;
}

// Grows a table by one step; false (the table unchanged) when memory runs out
// or the count would leave 32 bits.
template <typename T>
bool GrowTable(T** table, int32_t* capacity) {
  if (*capacity > INT32_MAX - kTheoraIndexStep) return false;
  const int32_t grown = *capacity + kTheoraIndexStep;
  void* block = ReallocMemory(*table, sizeof(T) * static_cast<size_t>(grown), __FILE__, __LINE__);
  if (block == nullptr) return false;
  *table = static_cast<T*>(block);
  *capacity = grown;
  return true;
}

// Tries one beginning-of-stream page as the Theora stream's first header.
bool TryTheoraStream(TheoraDecoder* d) {
  ogg_stream_state scratch;
  if (ogg_stream_init(&scratch, ogg_page_serialno(&d->page)) != 0) return false;
  ogg_packet first;
  if (ogg_stream_pagein(&scratch, &d->page) == 0 && ogg_stream_packetout(&scratch, &first) == 1 &&
      theora_decode_header(&d->info, &d->comment, &first) >= 0) {
    d->serial = ogg_page_serialno(&d->page);
    d->headersRead = 1;
    ogg_stream_clear(&d->stream);
    d->stream = scratch;
    return true;
  }
  ogg_stream_clear(&scratch);
  return false;
}

// One pass over the whole file: a page index entry for every page after
// which video packets came out, and one keyframe byte per frame. Offsets
// count every byte of the file, skipped garbage included, so they stay true
// for a damaged file. False when a table cannot grow.
bool ScanFile(TheoraDecoder* d) {
  int64_t offset = 0;
  int64_t lastPageStart = 0;
  bool newPage = false;
  for (;;) {
    const int got = ogg_stream_packetout(&d->stream, &d->packet);
    if (got == 0) {
      const long n = ogg_sync_pageseek(&d->sync, &d->page);
      if (n > 0) {
        lastPageStart = offset;
        offset += n;
        newPage = true;
        ogg_stream_pagein(&d->stream, &d->page);
      } else if (n < 0) {
        offset -= n;
      } else if (FeedTheoraSyncBuffer(d, kTheoraFeedBytes) == 0) {
        return true;
      }
      continue;
    }
    if (got < 0) continue;  // a hole in the data
    const int key = theora_packet_iskeyframe(&d->packet);
    if (key < 0) continue;  // a header packet
    if (d->frameCount == INT32_MAX) return true;
    if (newPage) {
      if (d->pageCount == d->pageCapacity && !GrowTable(&d->pages, &d->pageCapacity)) {
        LogOutput("Theora ページ情報格納用メモリの確保に失敗しました\n");
        return false;
      }
      d->pages[d->pageCount++] = TheoraPageIndexEntry{lastPageStart, d->frameCount, 0, 0};
      newPage = false;
    }
    if (d->pageCount == 0) continue;
    if (d->frameCount == d->keyframeCapacity && !GrowTable(&d->keyframes, &d->keyframeCapacity)) {
      LogOutput("Theora キーフレーム情報格納用メモリの確保に失敗しました\n");
      return false;
    }
    TheoraPageIndexEntry& last = d->pages[d->pageCount - 1];
    if (key == 1) last.keyframe = 1;
    d->keyframes[d->frameCount] = key == 1 ? 1 : 0;
    ++d->frameCount;
    ++last.frames;
  }
}

TheoraDecoder* Fail(TheoraDecoder* d, const char* line) {
  if (line != nullptr) LogOutput(line);
  CloseTheoraMovie(d);
  return nullptr;
}

}  // namespace

void SetTheoraSurfaceOps(const TheoraSurfaceOps* ops) { g_surfaceOps = ops != nullptr ? *ops : TheoraSurfaceOps{}; }

void ResetTheoraModule() { g_surfaceOps = TheoraSurfaceOps{}; }

int FeedTheoraSyncBuffer(TheoraDecoder* d, int32_t bytes) {
  char* buffer = ogg_sync_buffer(&d->sync, bytes);
  if (buffer == nullptr) return 0;
  const size_t got = d->files.read(buffer, 1, static_cast<size_t>(bytes), d->file);
  const int32_t count = got > static_cast<size_t>(bytes) ? bytes : static_cast<int32_t>(got);
  ogg_sync_wrote(&d->sync, count);
  return count;
}

int ReadTheoraHeaders(TheoraDecoder* d) {
  // The first page of the Theora stream: a beginning page whose first packet
  // the header decoder accepts. Streams before it are passed over.
  while (d->headersRead == 0) {
    if (FeedTheoraSyncBuffer(d, kTheoraFeedBytes) == 0) return -1;
    bool leave = false;
    while (!leave && ogg_sync_pageout(&d->sync, &d->page) == 1) {
      if (!ogg_page_bos(&d->page)) {
        if (d->headersRead == 0) return -1;  // data before any Theora stream began
        ogg_stream_pagein(&d->stream, &d->page);
        leave = true;
      } else if (TryTheoraStream(d)) {
        leave = true;
      }
    }
  }
  while (d->headersRead < 3) {
    const int got = ogg_stream_packetout(&d->stream, &d->packet);
    if (got < 0) return -1;
    if (got == 1) {
      if (theora_decode_header(&d->info, &d->comment, &d->packet) < 0) return -1;
      ++d->headersRead;
      continue;
    }
    while (ogg_sync_pageout(&d->sync, &d->page) != 1) {
      if (FeedTheoraSyncBuffer(d, kTheoraFeedBytes) == 0) return -1;
    }
    ogg_stream_pagein(&d->stream, &d->page);
  }
  return 1;
}

void CreateTheoraYuvSurface(TheoraDecoder* d) {
  ReleaseYuvSurface(d);
  if (!HaveSurfaceOps()) return;
  const int32_t width = static_cast<int32_t>(d->info.width);
  const int32_t height = static_cast<int32_t>(d->info.height);
  for (const uint32_t fourcc : {kFourCCYV12, kFourCCYUY2, kFourCCUYVY}) {
    d->yuvSurface = g_surfaceOps.create(width, height, fourcc);
    if (d->yuvSurface != nullptr) {
      d->yuvFourcc = fourcc;
      const char name[5] = {static_cast<char>(fourcc), static_cast<char>(fourcc >> 8), static_cast<char>(fourcc >> 16),
                            static_cast<char>(fourcc >> 24), 0};
      LogPrintf("Theora ムービーのフレームは YUV サーフェス(%s)で転送します\n", name);
      return;
    }
  }
  LogOutput("Theora ムービー用の YUV サーフェスを作成できませんでした、フレームは RGB 画像で転送します\n");
}

TheoraDecoder* OpenTheoraMovie(const FileAccessTable* files, FileHandle file, int32_t stockEntries) {
  if (files == nullptr || file == 0 || stockEntries < 1) return nullptr;
  char signature[4] = {};
  if (files->read(signature, 1, 4, file) != 4 || std::memcmp(signature, "OggS", 4) != 0) return nullptr;
  files->seek(file, 0, 0);

  void* block = AllocMemoryZeroed(sizeof(TheoraDecoder), __FILE__, __LINE__);
  if (block == nullptr) {
    LogOutput("Theora ムービーデコード処理用のメモリ確保に失敗しました\n");
    return nullptr;
  }
  TheoraDecoder* d = new (block) TheoraDecoder{};
  d->currentFrame = -1;
  ogg_sync_init(&d->sync);
  theora_info_init(&d->info);
  theora_comment_init(&d->comment);
  d->files = *files;
  d->file = file;

  if (ReadTheoraHeaders(d) != 1) return Fail(d, nullptr);
  // A stream that cannot be timed or shown is not played as Theora: a zero
  // frame-rate term would divide by zero in the frame-due arithmetic.
  if (d->info.fps_numerator == 0 || d->info.fps_denominator == 0 || d->info.width == 0 || d->info.height == 0 ||
      d->info.width > 16384 || d->info.height > 16384) {
    return Fail(d, nullptr);
  }

  d->pauseRequest = 1;
  d->threadState = kTheoraIdle;
  d->thread = plat::CreateThread(TheoraDecodeThreadProc, d);
  if (d->thread == nullptr) return Fail(d, "Theora ムービーデコード用スレッドの作成に失敗しました\n");

  if (theora_decode_init(&d->state, &d->info) != 0) return Fail(d, nullptr);
  d->decodeStarted = 1;
  ogg_sync_reset(&d->sync);
  ogg_stream_reset(&d->stream);
  d->files.seek(d->file, 0, 0);

  d->pages = static_cast<TheoraPageIndexEntry*>(
      AllocMemory(sizeof(TheoraPageIndexEntry) * kTheoraIndexStep, __FILE__, __LINE__));
  if (d->pages == nullptr) return Fail(d, "Theora ページ情報格納用メモリの確保に失敗しました\n");
  d->pageCapacity = kTheoraIndexStep;
  d->keyframes = static_cast<uint8_t*>(AllocMemory(kTheoraIndexStep, __FILE__, __LINE__));
  if (d->keyframes == nullptr) return Fail(d, "Theora キーフレーム情報格納用メモリの確保に失敗しました\n");
  d->keyframeCapacity = kTheoraIndexStep;
  if (!ScanFile(d)) return Fail(d, nullptr);
  // Without a single video frame there is nothing to show or to time.
  if (d->frameCount == 0 || d->pageCount == 0) return Fail(d, nullptr);
  d->pages[0].byteOffset = 0;

  CreateTheoraYuvSurface(d);
  if (AllocGraphImagePixels(static_cast<int32_t>(d->info.width), static_cast<int32_t>(d->info.height),
                            &d->rgbImage) != 0) {
    return Fail(d, "Theora ムービーデコードフレームストック用画像バッファの確保に失敗しました\n");
  }
  void* stock = AllocMemoryZeroed(sizeof(TheoraFrameStockEntry) * static_cast<size_t>(stockEntries), __FILE__,
                                  __LINE__);
  if (stock == nullptr) return Fail(d, "Theora ムービーデコードフレームストック用のメモリ確保に失敗しました\n");
  d->stock = static_cast<TheoraFrameStockEntry*>(stock);
  for (int32_t i = 0; i < stockEntries; ++i) new (&d->stock[i]) TheoraFrameStockEntry{};
  d->stockCount = stockEntries;

  SeekTheoraFrame(d, 0);
  UpdateTheoraFrame(d, 1, 1);
  return d;
}

int CloseTheoraMovie(TheoraDecoder* d) {
  if (d == nullptr) return 0;
  if (d->thread != nullptr) {
    d->stopRequest = 1;
    plat::JoinThread(d->thread);  // every pass of the thread ends; it looks at the request between them
    d->thread = nullptr;
  }
  if (d->stock != nullptr) {
    for (int32_t i = 0; i < d->stockCount; ++i) {
      for (uint8_t* buffer : d->stock[i].buffers) std::free(buffer);
    }
    FreeMemory(d->stock);
  }
  ReleaseYuvSurface(d);
  if (d->pages != nullptr) FreeMemory(d->pages);
  if (d->keyframes != nullptr) FreeMemory(d->keyframes);
  FreeGraphImage(&d->rgbImage);
  ogg_stream_clear(&d->stream);
  if (d->decodeStarted) theora_clear(&d->state);
  theora_comment_clear(&d->comment);
  theora_info_clear(&d->info);
  ogg_sync_clear(&d->sync);
  d->~TheoraDecoder();
  FreeMemory(d);
  return 0;
}

GraphImage* GetTheoraFrameImage(TheoraDecoder* d) { return d != nullptr ? &d->rgbImage : nullptr; }
void* GetTheoraYuvSurface(TheoraDecoder* d) { return d != nullptr ? d->yuvSurface : nullptr; }
uint32_t GetTheoraYuvFourcc(TheoraDecoder* d) { return d != nullptr ? d->yuvFourcc : 0; }

const TheoraSurfaceOps& TheoraSurfaceOpsInUse() { return g_surfaceOps; }

}  // namespace qor
