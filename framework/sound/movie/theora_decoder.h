// The Ogg Theora movie decoder: opened over the framework's file access (so
// movies inside resource archives play like loose files), one scan of the
// file builds a page index and a keyframe table, and a decode thread keeps a
// small stock of decoded frames just ahead of the frame the owner shows.
//
// The owner (the movie code, on the main thread) and the decode thread share
// the record without a lock: requests and the current frame are written by
// the owner only, the thread state, end-of-data flag and stock entries by the
// thread only, all as atomics. A stock entry is handed over by its state
// word: the thread fills an empty entry and publishes it as filled; the owner
// holds a filled entry while it reads, and the thread neither drops nor
// rewrites a held entry.
#pragma once

#include <ogg/ogg.h>
#include <theora/theora.h>

#include <atomic>
#include <cstdint>

#include "framework/core/files/file_access.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/sound/movie/yuv_convert.h"

namespace plat {
struct Thread;
}

namespace qor {

enum TheoraThreadState : int32_t {
  kTheoraIdle = 0,
  kTheoraDecoding = 1,
  kTheoraSeeking = 2,
  kTheoraEnded = 3,
  kTheoraPaused = 4,
};

enum TheoraStockState : int32_t { kStockEmpty = 0, kStockFilled = 1, kStockHeld = 2 };

struct TheoraPageIndexEntry {
  int64_t byteOffset;  // where the page starts; the first entry's is 0
  int32_t firstFrame;  // the first frame whose packet came out after this page
  int32_t keyframe;    // 1 when one of its frames is a keyframe
  int32_t frames;
};

struct TheoraFrameStockEntry {
  std::atomic<int32_t> state;  // TheoraStockState
  std::atomic<int32_t> frame;
  uint8_t* buffers[3];  // Y, U and V copies, owned (thread-side malloc)
  YuvPlanes planes;     // the copies as planes: rows packed at their width
};

struct TheoraMovieInfo {
  double frameRate;
  int32_t frameCount;
  int32_t width;
  int32_t height;
};

struct TheoraDecoder {
  std::atomic<int32_t> threadState;
  std::atomic<int32_t> pauseRequest;
  std::atomic<int32_t> stopRequest;
  std::atomic<int32_t> seekRequest;
  std::atomic<int32_t> seekTarget;
  std::atomic<int32_t> endOfData;
  std::atomic<int32_t> currentFrame;  // -1 until the first seek
  plat::Thread* thread;

  FileAccessTable files;  // a copy of the table given to the open
  FileHandle file;        // owned by the caller, who closes it after the decoder

  ogg_sync_state sync;
  ogg_page page;
  ogg_stream_state stream;
  ogg_packet packet;
  theora_info info;
  theora_comment comment;
  theora_state state;
  int32_t decodeStarted;  // theora_decode_init succeeded
  int32_t serial;
  int32_t headersRead;

  TheoraPageIndexEntry* pages;
  int32_t pageCount;
  int32_t pageCapacity;
  uint8_t* keyframes;  // one byte per frame
  int32_t keyframeCapacity;
  int32_t frameCount;

  int32_t decodedFrame;  // the decode thread's own: the frame libtheora holds
  int32_t pictureReady;  // the thread's own: libtheora has decoded a frame

  TheoraFrameStockEntry* stock;
  int32_t stockCount;

  GraphImage rgbImage;  // X8R8G8B8, the coded frame size
  void* yuvSurface;     // from the YUV surface maker, or null
  uint32_t yuvFourcc;   // 0 when there is no surface
  int32_t rgbDone;
  int32_t yuvDone;
};

// How the decoder reaches the display's YUV surfaces. The display code
// installs its own; without one (no display, tests) a movie shows its frames
// from the RGB image only.
struct TheoraSurfaceOps {
  void* (*create)(int32_t width, int32_t height, uint32_t fourcc);  // null when refused
  int (*lock)(void* surface, YuvSurfaceBlock* block);               // 0, or -1 (lost or busy)
  void (*unlock)(void* surface);
  void (*release)(void* surface);
};
// Null removes them.
void SetTheoraSurfaceOps(const TheoraSurfaceOps* ops);
// Back to the load state: no surface maker.
void ResetTheoraModule();
const TheoraSurfaceOps& TheoraSurfaceOpsInUse();

// --- opening, indexes and closing -----------------------------------------------
// Null when the file is not a usable Theora movie or a resource ran out (with
// a log line for the latter). The file stays the caller's; it must stay open
// until CloseTheoraMovie has returned.
TheoraDecoder* OpenTheoraMovie(const FileAccessTable* files, FileHandle file, int32_t stockEntries);
// Stops the decode thread, waits for it to end, frees everything. 0.
int CloseTheoraMovie(TheoraDecoder* decoder);
int FeedTheoraSyncBuffer(TheoraDecoder* decoder, int32_t bytes);
int ReadTheoraHeaders(TheoraDecoder* decoder);
void CreateTheoraYuvSurface(TheoraDecoder* decoder);
GraphImage* GetTheoraFrameImage(TheoraDecoder* decoder);
void* GetTheoraYuvSurface(TheoraDecoder* decoder);
uint32_t GetTheoraYuvFourcc(TheoraDecoder* decoder);

// --- the decode thread and the frame stock --------------------------------------
int DecodeTheoraPacket(TheoraDecoder* decoder, int32_t count);
int SeekTheoraFrame(TheoraDecoder* decoder, int32_t frame);
int AdvanceTheoraFrame(TheoraDecoder* decoder, int32_t count);
int UpdateTheoraFrame(TheoraDecoder* decoder, int wantRgb, int wantYuv);
int GetTheoraMovieInfo(TheoraDecoder* decoder, TheoraMovieInfo* info);
int32_t GetTheoraCurrentFrame(TheoraDecoder* decoder);
// The thread's body (started by the open).
void TheoraDecodeThreadProc(void* decoder);

// The bytes read from the file at each feed.
constexpr int32_t kTheoraFeedBytes = 4096;
// Page index and keyframe table: first capacity and growth step.
constexpr int32_t kTheoraIndexStep = 1000;

}  // namespace qor
