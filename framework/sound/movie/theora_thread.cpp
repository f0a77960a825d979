// The Theora decode thread and its frame stock, and the owner's side: the
// wanted frame moved by steps and seeks, and shown from the stock.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/sound/movie/theora_decoder.h"
#include "platform/kernel/threads.h"

namespace qor {

namespace {

// The owner never waits without bound for a frame: after this many polls of
// 1 ms (beyond the first yields) UpdateTheoraFrame gives up with 0.
constexpr int kUpdateYieldPolls = 200;
constexpr int kUpdateSleepPolls = 5000;

bool StopAsked(const TheoraDecoder* d) { return d->stopRequest.load() != 0; }

// Takes the next page of any stream into the Theora stream state, feeding
// the sync layer as needed. False at the end of the data.
bool PullPage(TheoraDecoder* d) {
  while (ogg_sync_pageout(&d->sync, &d->page) != 1) {
    if (StopAsked(d)) return false;
    if (FeedTheoraSyncBuffer(d, kTheoraFeedBytes) == 0) return false;
  }
  ogg_stream_pagein(&d->stream, &d->page);
  return true;
}

// Restarts the reader at a byte offset of the file.
void Reposition(TheoraDecoder* d, int64_t offset) {
  ogg_sync_reset(&d->sync);
  ogg_stream_reset(&d->stream);
  d->files.seek(d->file, offset, 0);
}

int32_t FindStock(const TheoraDecoder* d, int32_t frame) {
  for (int32_t i = 0; i < d->stockCount; ++i) {
    if (d->stock[i].state.load() != kStockEmpty && d->stock[i].frame.load() == frame) return i;
  }
  return -1;
}

int32_t FindEmpty(const TheoraDecoder* d) {
  for (int32_t i = 0; i < d->stockCount; ++i) {
    if (d->stock[i].state.load() == kStockEmpty) return i;
  }
  return -1;
}

// A filled entry may be dropped; one the owner holds is left alone.
void Drop(TheoraFrameStockEntry& e) {
  int32_t filled = kStockFilled;
  e.state.compare_exchange_strong(filled, kStockEmpty);
}

// True when frame f is among the n frames from c on, counting through the
// end of the movie to its start.
bool InWindow(int32_t f, int32_t c, int32_t n, int32_t count) {
  const int64_t ahead = (static_cast<int64_t>(f) - c + count) % count;
  return ahead >= 0 && ahead < n;
}

void DropStale(TheoraDecoder* d, int32_t c) {
  const int64_t count = d->frameCount;
  const int64_t limit = static_cast<int64_t>(c) + d->stockCount;
  for (int32_t i = 0; i < d->stockCount; ++i) {
    TheoraFrameStockEntry& e = d->stock[i];
    if (e.state.load() != kStockFilled) continue;
    const int64_t f = e.frame.load();
    const bool behind = f < c && (limit < count || f > limit - count);
    const bool beyond = f >= c && f > d->decodedFrame && f > limit;
    if (behind || beyond) Drop(e);
  }
  // When the wanted frame moved back past the whole stock, every entry may
  // still be kept by the rule above and the wanted frame would never come:
  // free what lies outside the window ahead of it.
  if (FindEmpty(d) < 0 && FindStock(d, c) < 0) {
    for (int32_t i = 0; i < d->stockCount; ++i) {
      TheoraFrameStockEntry& e = d->stock[i];
      if (e.state.load() == kStockFilled && !InWindow(e.frame.load(), c, d->stockCount, d->frameCount)) Drop(e);
    }
  }
}

// Copies `height` rows of `width` bytes, `stride` apart in the source (a
// negative stride for bottom-up planes), packed into the entry's buffer. Only
// the picture's own bytes are read: the decoder's rows need not extend a
// whole stride past the last one.
bool CopyPlane(uint8_t** buffer, const uint8_t* source, int32_t width, int32_t stride, int32_t height,
               bool sizeChanged) {
  if (sizeChanged) {
    std::free(*buffer);
    *buffer = nullptr;
  }
  if (*buffer == nullptr) *buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(width) * height));
  if (*buffer == nullptr) return false;
  for (int32_t r = 0; r < height; ++r) {
    std::memcpy(*buffer + static_cast<size_t>(r) * width, source + static_cast<intptr_t>(r) * stride,
                static_cast<size_t>(width));
  }
  return true;
}

// Copies the picture libtheora holds into an empty entry and publishes it.
// False when there is no usable picture or no memory for it.
bool StorePicture(TheoraDecoder* d, TheoraFrameStockEntry& e) {
  yuv_buffer yuv;
  if (!d->pictureReady || theora_decode_YUVout(&d->state, &yuv) != 0 || yuv.y == nullptr || yuv.u == nullptr || yuv.v == nullptr ||
      yuv.y_width <= 0 || yuv.y_height <= 0 || yuv.uv_width <= 0 || yuv.uv_height <= 0 ||
      std::abs(yuv.y_stride) < yuv.y_width || std::abs(yuv.uv_stride) < yuv.uv_width) {
    return false;
  }
  YuvPlanes& p = e.planes;
  const bool lumaChanged = yuv.y_width != p.yWidth || yuv.y_height != p.yHeight;
  const bool chromaChanged = yuv.uv_width != p.chromaWidth || yuv.uv_height != p.chromaHeight;
  p = YuvPlanes{nullptr,     nullptr,       nullptr,       yuv.y_width, yuv.y_height,
                yuv.y_width, yuv.uv_width,  yuv.uv_height, yuv.uv_width};
  if (!CopyPlane(&e.buffers[0], yuv.y, yuv.y_width, yuv.y_stride, yuv.y_height, lumaChanged) ||
      !CopyPlane(&e.buffers[1], yuv.u, yuv.uv_width, yuv.uv_stride, yuv.uv_height, chromaChanged) ||
      !CopyPlane(&e.buffers[2], yuv.v, yuv.uv_width, yuv.uv_stride, yuv.uv_height, chromaChanged)) {
    p.yWidth = p.chromaWidth = 0;  // forces fresh buffers next time
    return false;
  }
  p.y = e.buffers[0];
  p.u = e.buffers[1];
  p.v = e.buffers[2];
  e.frame.store(d->decodedFrame);
  e.state.store(kStockFilled);  // last: a reader that sees it sees the whole frame
  return true;
}

// False when the thread is to end: the target lies past every indexed frame.
bool SeekPass(TheoraDecoder* d) {
  const int32_t target = d->seekTarget.load();
  int32_t entry = 0;
  while (entry < d->pageCount &&
         static_cast<int64_t>(d->pages[entry].firstFrame) + d->pages[entry].frames <= target) {
    ++entry;
  }
  if (entry == d->pageCount) return false;
  // Land on the page before the one whose keyframe starts the run, so the
  // decoder meets that keyframe whole.
  if (entry > 0) {
    --entry;
    while (entry > 0 && d->pages[entry].keyframe == 0) --entry;
    if (entry > 0) --entry;
  }
  Reposition(d, d->pages[entry].byteOffset);
  int32_t atHand = d->pages[entry].firstFrame;
  bool ok = true;
  if (entry > 0) {
    while (ogg_sync_pageout(&d->sync, &d->page) != 1) {
      if (StopAsked(d) || FeedTheoraSyncBuffer(d, kTheoraFeedBytes) == 0) {
        ok = false;
        break;
      }
    }
    if (ok) {
      // The packet finished on this page began on an earlier one: it is lost.
      if (ogg_page_continued(&d->page)) ++atHand;
      ogg_stream_pagein(&d->stream, &d->page);
    }
  }
  d->decodedFrame = atHand - 1;
  if (ok && target >= atHand) DecodeTheoraPacket(d, target - atHand + 1);
  // An entry the owner holds is kept: its frame number still names its picture.
  for (int32_t i = 0; i < d->stockCount; ++i) Drop(d->stock[i]);
  d->decodedFrame = target;
  // Cleared even when the decode above failed: the flag also keeps the stock
  // from being thinned, and a movie whose tail cannot be read must still play
  // what it can once it wraps to its start. Where the data really ends, the
  // next decode sets the flag again (and sleeps), so nothing spins.
  d->endOfData = 0;
  d->seekRequest = 0;
  return true;
}

void DecodeAheadPass(TheoraDecoder* d) {
  const int32_t c = d->currentFrame.load();
  if (d->endOfData.load() == 0) DropStale(d, c);
  const int32_t empty = FindEmpty(d);
  if (empty < 0) {
    // Idle until the owner moves on. A bare yield would spin a whole core
    // while the movie is held; a frame lasts far longer than this sleep.
    d->threadState = kTheoraIdle;
    plat::SleepRealMs(1);
    return;
  }
  d->threadState = kTheoraDecoding;
  const bool decodedInStock = FindStock(d, d->decodedFrame) >= 0;
  const bool currentInStock = FindStock(d, c) >= 0;
  // A wanted frame that is missing is decoded straight away: ahead of the
  // decoder directly, behind it through the end of the movie and its start.
  const bool jump = !currentInStock && c >= 0 && c != d->decodedFrame;
  if (decodedInStock || jump) {
    const int32_t step = jump ? static_cast<int32_t>((static_cast<int64_t>(c) - d->decodedFrame + d->frameCount) %
                                                     d->frameCount)
                              : 1;
    if (static_cast<int64_t>(d->decodedFrame) + step < d->frameCount) {
      if (DecodeTheoraPacket(d, step) == -1) {
        d->endOfData = 1;
        plat::SleepRealMs(1);
        return;
      }
    } else {
      // Through the end of the movie to its start.
      const int32_t wrapped = static_cast<int32_t>(static_cast<int64_t>(d->decodedFrame) + step - d->frameCount);
      Reposition(d, d->pages[0].byteOffset);
      d->decodedFrame = -1;
      if (DecodeTheoraPacket(d, wrapped + 1) == -1) {
        d->endOfData = 1;
        plat::SleepRealMs(1);
        return;
      }
    }
  }
  if (StopAsked(d)) return;
  if (FindStock(d, d->decodedFrame) >= 0) {
    plat::YieldThread();  // already there (reached again through the start)
    return;
  }
  if (!StorePicture(d, d->stock[empty])) {
    // The frame cannot be had: the owner is told so instead of waiting.
    d->endOfData = 1;
    plat::SleepRealMs(1);
    return;
  }
  plat::YieldThread();
}

}  // namespace

int DecodeTheoraPacket(TheoraDecoder* d, int32_t count) {
  // The last keyframe among the frames to be read: packets before it need
  // not be decoded. Looked up only inside the table.
  int64_t keyframe = -1;
  const int64_t first = std::max<int64_t>(static_cast<int64_t>(d->decodedFrame) + 1, 0);
  const int64_t last = std::min<int64_t>(static_cast<int64_t>(d->decodedFrame) + count, d->frameCount - 1);
  for (int64_t f = last; f >= first; --f) {
    if (d->keyframes[f] != 0) {
      keyframe = f;
      break;
    }
  }
  int result = 0;
  for (int32_t read = 0; read < count;) {
    const int got = ogg_stream_packetout(&d->stream, &d->packet);
    if (got == 0) {
      if (!PullPage(d)) return -1;
      continue;
    }
    if (got < 0) continue;  // a hole in the data
    const int key = theora_packet_iskeyframe(&d->packet);
    if (key < 0) continue;  // a header packet met again after a restart
    if (keyframe < 0 || keyframe <= static_cast<int64_t>(d->decodedFrame) + 1) {
      // libtheora has a picture to hand out only once it has decoded a
      // frame of its own; an empty packet repeats a frame, it makes none.
      if (theora_decode_packetin(&d->state, &d->packet) == 0 && d->packet.bytes > 0) d->pictureReady = 1;
    }
    ++d->decodedFrame;
    ++read;
    result = key == 1 ? 1 : 0;
  }
  return result;
}

void TheoraDecodeThreadProc(void* argument) {
  TheoraDecoder* d = static_cast<TheoraDecoder*>(argument);
  while (!StopAsked(d)) {
    if (d->pauseRequest.load() != 0) {
      d->threadState = kTheoraPaused;
      plat::SleepRealMs(1);
    } else if (d->seekRequest.load() != 0) {
      d->threadState = kTheoraSeeking;
      if (!SeekPass(d)) break;
    } else {
      DecodeAheadPass(d);
    }
  }
  d->threadState = kTheoraEnded;
}

int SeekTheoraFrame(TheoraDecoder* d, int32_t frame) {
  if (d == nullptr || frame == d->currentFrame.load()) return 0;
  d->rgbDone = 0;
  d->yuvDone = 0;
  const int32_t target = d->frameCount > 0 ? std::clamp(frame, 0, d->frameCount - 1) : 0;
  // A thread that has ended cannot be paused: the frame is only recorded.
  if (d->thread == nullptr || d->threadState.load() == kTheoraEnded) {
    d->currentFrame = target;
    return 0;
  }
  d->pauseRequest = 1;
  for (;;) {
    const int32_t state = d->threadState.load();
    if (state == kTheoraPaused) break;
    if (state == kTheoraEnded) {
      d->pauseRequest = 0;
      d->currentFrame = target;
      return 0;
    }
    plat::YieldThread();
  }
  d->currentFrame = target;
  d->seekTarget = target;
  d->seekRequest = 1;
  d->pauseRequest = 0;
  return 0;
}

int AdvanceTheoraFrame(TheoraDecoder* d, int32_t count) {
  if (d == nullptr || count < 1) return 0;
  int64_t frame = static_cast<int64_t>(d->currentFrame.load()) + count;
  if (frame >= d->frameCount) frame -= d->frameCount;
  // A step of more than the whole movie still lands inside it.
  if (frame >= d->frameCount || frame < 0) frame = d->frameCount > 0 ? frame % d->frameCount : 0;
  d->currentFrame = static_cast<int32_t>(frame);
  d->rgbDone = 0;
  d->yuvDone = 0;
  return 0;
}

int UpdateTheoraFrame(TheoraDecoder* d, int wantRgb, int wantYuv) {
  if (d == nullptr) return 0;
  const TheoraSurfaceOps& ops = TheoraSurfaceOpsInUse();
  const bool yuvWork = wantYuv && d->yuvDone == 0 && d->yuvSurface != nullptr;
  const bool rgbWork = wantRgb && d->rgbDone == 0;
  if (!yuvWork && !rgbWork) return 0;

  // Take hold of the stock entry of the current frame.
  TheoraFrameStockEntry* entry = nullptr;
  const int32_t c = d->currentFrame.load();
  for (int poll = 0; entry == nullptr; ++poll) {
    const int32_t state = d->threadState.load();
    if (state == kTheoraEnded && d->seekRequest.load() == 0 && FindStock(d, c) < 0) return 0;
    const int32_t i = state == kTheoraSeeking ? -1 : FindStock(d, c);
    if (i >= 0) {
      int32_t filled = kStockFilled;
      TheoraFrameStockEntry& e = d->stock[i];
      if (e.state.compare_exchange_strong(filled, kStockHeld)) {
        if (e.frame.load() == c) entry = &e;
        else e.state.store(kStockFilled);
      }
      continue;
    }
    // The end of the data was met; a seek still to be done clears it.
    if (state != kTheoraSeeking && d->seekRequest.load() == 0 && d->endOfData.load() != 0) return 0;
    if (state == kTheoraEnded || poll >= kUpdateYieldPolls + kUpdateSleepPolls) return 0;
    if (poll < kUpdateYieldPolls) plat::YieldThread();
    else plat::SleepRealMs(1);
  }

  const YuvPlanes& planes = entry->planes;
  if (yuvWork) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      YuvSurfaceBlock block{};
      if (d->yuvSurface != nullptr && ops.lock != nullptr && ops.lock(d->yuvSurface, &block) == 0) {
        block.fourcc = d->yuvFourcc;
        CopyYuvToSurface(planes, block);
        if (ops.unlock != nullptr) ops.unlock(d->yuvSurface);
        d->yuvDone = 1;
        break;
      }
      if (attempt < 2) CreateTheoraYuvSurface(d);
    }
  }
  if (rgbWork) {
    GraphImage& image = d->rgbImage;
    ConvertYuvToRgb32(planes, image.pixels, image.pitch, image.width, image.height);
    d->rgbDone = 1;
  }
  entry->state.store(kStockFilled);
  return 1;
}

int GetTheoraMovieInfo(TheoraDecoder* d, TheoraMovieInfo* info) {
  if (d == nullptr || info == nullptr) return 0;
  info->frameRate = d->info.fps_denominator != 0
                        ? static_cast<double>(d->info.fps_numerator) / static_cast<double>(d->info.fps_denominator)
                        : 0.0;
  info->frameCount = d->frameCount;
  info->width = static_cast<int32_t>(d->info.width);
  info->height = static_cast<int32_t>(d->info.height);
  return 0;
}

int32_t GetTheoraCurrentFrame(TheoraDecoder* d) { return d != nullptr ? d->currentFrame.load() : -1; }

}  // namespace qor
