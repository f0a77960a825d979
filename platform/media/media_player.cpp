#include "platform/media/media_player.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <cstring>

#include "platform/host/host.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"
#include "platform/media/media_internal.h"

namespace plat {

namespace {

struct MediaStandIn {
  std::atomic<int> failNext[kMediaStepCount];
  std::atomic<int> calls[kMediaStepCount];
};
MediaStandIn g_media{};

}  // namespace

bool MediaStepFails(MediaStep step) {
  ++g_media.calls[step];
  return g_media.failNext[step].exchange(0) != 0;
}

struct MediaSample {
  MediaFile* file;
  SwsContext* scaler;
  AVPixelFormat sourceFormat;  // the decoder's layout the scaler was made for
  // The scaler's output: swscale's vector code writes past the end of a row
  // whose byte width is not a multiple of its vector width, so it converts
  // into this frame of FFmpeg's own allocation (rows padded to its
  // alignment) and only the row bytes go on into the caller's block.
  AVFrame* converted;
  int32_t rowBytes;  // the bytes of one row of the block's format
  uint8_t* pixels;
  int32_t pitch;
  Thread* worker;
  Event* wake;       // automatic reset: a request or the end
  Event* done;       // manual reset: the worker finished the request
  std::atomic<int> quit;
  std::atomic<int> pending;
  std::atomic<int> result;
  std::atomic<int> waitForTime;
  Event* caller;     // the caller's event for the pending request
};

namespace {

constexpr uint32_t DdFourCCCode(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

AVPixelFormat BlockFormat(const MediaSampleFormat& format) {
  if (format.fourCC != 0) {
    if (format.fourCC == DdFourCCCode('Y', 'U', 'Y', '2')) return AV_PIX_FMT_YUYV422;
    if (format.fourCC == DdFourCCCode('U', 'Y', 'V', 'Y')) return AV_PIX_FMT_UYVY422;
    return AV_PIX_FMT_NONE;
  }
  if (format.bitsPerPixel == 32 && format.redMask == 0xFF0000 && format.greenMask == 0xFF00 && format.blueMask == 0xFF)
    return AV_PIX_FMT_BGR0;
  if (format.bitsPerPixel == 24 && format.redMask == 0xFF0000 && format.greenMask == 0xFF00 && format.blueMask == 0xFF)
    return AV_PIX_FMT_BGR24;
  if (format.bitsPerPixel == 16 && format.redMask == 0xF800 && format.greenMask == 0x7E0 && format.blueMask == 0x1F)
    return AV_PIX_FMT_RGB565LE;
  if (format.bitsPerPixel == 16 && format.redMask == 0x7C00 && format.greenMask == 0x3E0 && format.blueMask == 0x1F)
    return AV_PIX_FMT_RGB555LE;
  return AV_PIX_FMT_NONE;
}

// One request: the next frame, at its time when asked, into the block.
int Deliver(MediaSample* s) {
  MediaFile* f = s->file;
  int64_t due = 0;
  {
    std::lock_guard<std::mutex> hold(f->decoderLock);
    const int got = ReadNextFrame(&f->video);
    if (got <= 0) return got == 0 ? kMediaUpdateEnd : kMediaUpdateError;
    due = ReaderFrameTime(&f->video, f->video.frame);
  }
  while (s->waitForTime.load() && s->quit.load() == 0 &&
         (IsMediaRunning(f) == 0 || GetMediaTime(f) < due)) {
    SleepRealMs(1);
  }
  if (s->quit.load() != 0) return kMediaUpdateError;
  std::lock_guard<std::mutex> hold(f->decoderLock);
  const AVFrame* frame = f->video.frame;
  if (frame->width != f->width || frame->height != f->height || frame->format != s->sourceFormat) {
    return kMediaUpdateError;  // a change of picture size mid-stream is not followed
  }
  AVFrame* out = s->converted;
  if (sws_scale(s->scaler, frame->data, frame->linesize, 0, f->height, out->data, out->linesize) <= 0) {
    return kMediaUpdateError;
  }
  for (int32_t row = 0; row < f->height; ++row) {
    std::memcpy(s->pixels + static_cast<intptr_t>(row) * s->pitch,
                out->data[0] + static_cast<intptr_t>(row) * out->linesize[0], static_cast<size_t>(s->rowBytes));
  }
  return kMediaUpdateOk;
}

void Worker(void* argument) {
  MediaSample* s = static_cast<MediaSample*>(argument);
  for (;;) {
    WaitEvent(s->wake, -1);
    if (s->quit.load() != 0) return;
    if (s->pending.load() == 0) continue;
    const int result = Deliver(s);
    if (s->quit.load() != 0) return;  // the caller's event may be gone already
    s->result = result;
    Event* caller = s->caller;
    s->pending = 0;
    SetEvent(s->done);
    if (caller != nullptr) SetEvent(caller);
  }
}

}  // namespace

MediaFile* OpenMediaFile(const char* path, MediaStep* failedStep) {
  MediaStep ignored;
  MediaStep& failed = failedStep != nullptr ? *failedStep : ignored;
  failed = kMediaStepAudio;
  if (path == nullptr || MediaStepFails(kMediaStepAudio)) return nullptr;
  failed = kMediaStepOpen;
  if (MediaStepFails(kMediaStepOpen)) return nullptr;
  av_log_set_level(AV_LOG_FATAL);  // the movie code logs its own lines
  char host[4096];
  if (MapPathToHost(path, host, sizeof host) != 0) return nullptr;
  MediaFile* f = new MediaFile;
  bool opened = false;
  const bool refused = MediaStepFails(kMediaStepStreams);
  if (refused || !OpenStreamReader(host, AVMEDIA_TYPE_VIDEO, &f->video, &opened)) {
    failed = refused || opened ? kMediaStepStreams : kMediaStepOpen;
    delete f;
    return nullptr;
  }
  const AVCodecContext* codec = f->video.codec;
  // The picture's size and pixel layout must be known, and convertible.
  failed = kMediaStepCodec;
  if (MediaStepFails(kMediaStepCodec) || codec->width <= 0 || codec->height <= 0 || codec->width > 16384 ||
      codec->height > 16384 || codec->pix_fmt == AV_PIX_FMT_NONE || !sws_isSupportedInput(codec->pix_fmt)) {
    CloseMediaFile(f);
    return nullptr;
  }
  f->width = codec->width;
  f->height = codec->height;
  f->hasAudio = av_find_best_stream(f->video.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0 ? 1 : 0;
  if (f->hasAudio) f->audio = StartMediaAudio(host);
  return f;
}

void CloseMediaFile(MediaFile* f) {
  if (f == nullptr) return;
  if (f->sample != nullptr) DeleteMediaSample(f->sample);
  EndMediaAudio(f->audio);
  CloseStreamReader(&f->video);
  delete f;
}

int GetMediaVideoSize(const MediaFile* f, int32_t* width, int32_t* height) {
  if (f == nullptr) return -1;
  if (width != nullptr) *width = f->width;
  if (height != nullptr) *height = f->height;
  return 0;
}

int MediaHasAudio(const MediaFile* f) { return f != nullptr ? f->hasAudio : 0; }

int RunMedia(MediaFile* f) {
  if (f == nullptr) return -1;
  {
    std::lock_guard<std::mutex> hold(f->clockLock);
    if (f->running) return 0;
    f->running = 1;
    f->runStart = HostMicros();
  }
  PlayMediaAudio(f->audio, true);
  return 0;
}

int StopMedia(MediaFile* f) {
  if (f == nullptr) return -1;
  {
    std::lock_guard<std::mutex> hold(f->clockLock);
    if (!f->running) return 0;
    f->base += static_cast<int64_t>(HostMicros() - f->runStart) * 10;
    f->running = 0;
  }
  PlayMediaAudio(f->audio, false);
  return 0;
}

int IsMediaRunning(const MediaFile* f) {
  if (f == nullptr) return 0;
  std::lock_guard<std::mutex> hold(f->clockLock);
  return f->running;
}

int64_t GetMediaTime(const MediaFile* f) {
  if (f == nullptr) return 0;
  std::lock_guard<std::mutex> hold(f->clockLock);
  if (!f->running) return f->base;
  return f->base + static_cast<int64_t>(HostMicros() - f->runStart) * 10;
}

int SeekMedia(MediaFile* f, int64_t time) {
  if (f == nullptr || MediaStepFails(kMediaStepSeek)) return -1;
  if (time < 0) time = 0;
  {
    std::lock_guard<std::mutex> hold(f->decoderLock);
    if (SeekStreamReader(&f->video, time) != 0) return -1;
  }
  SeekMediaAudio(f->audio, time);
  std::lock_guard<std::mutex> hold(f->clockLock);
  f->base = time;
  f->runStart = HostMicros();
  return 0;
}

MediaSample* CreateMediaSample(MediaFile* f, const MediaSampleFormat& format, uint8_t* pixels, int32_t pitch,
                               int32_t width, int32_t height) {
  if (f == nullptr || f->sample != nullptr || pixels == nullptr || MediaStepFails(kMediaStepSample)) return nullptr;
  const AVPixelFormat target = BlockFormat(format);
  const int rowBytes = target != AV_PIX_FMT_NONE ? av_image_get_linesize(target, width, 0) : -1;
  if (target == AV_PIX_FMT_NONE || width != f->width || height != f->height || rowBytes <= 0 || pitch < rowBytes) {
    return nullptr;
  }
  SwsContext* scaler = sws_getContext(f->width, f->height, f->video.codec->pix_fmt, width, height, target, SWS_POINT,
                                      nullptr, nullptr, nullptr);
  AVFrame* converted = scaler != nullptr ? av_frame_alloc() : nullptr;
  if (converted != nullptr) {
    converted->format = target;
    converted->width = width;
    converted->height = height;
  }
  if (converted == nullptr || av_frame_get_buffer(converted, 0) < 0) {
    av_frame_free(&converted);
    sws_freeContext(scaler);
    return nullptr;
  }
  MediaSample* s = new MediaSample{};
  s->file = f;
  s->scaler = scaler;
  s->converted = converted;
  s->rowBytes = rowBytes;
  s->sourceFormat = f->video.codec->pix_fmt;
  s->pixels = pixels;
  s->pitch = pitch;
  s->wake = CreateEvent(false, false);
  s->done = CreateEvent(true, true);
  s->worker = CreateThread(Worker, s);
  if (s->worker == nullptr) {
    CloseEvent(s->wake);
    CloseEvent(s->done);
    av_frame_free(&s->converted);
    sws_freeContext(scaler);
    delete s;
    return nullptr;
  }
  f->sample = s;
  return s;
}

void DeleteMediaSample(MediaSample* s) {
  if (s == nullptr) return;
  s->quit = 1;
  SetEvent(s->wake);
  JoinThread(s->worker);
  CloseEvent(s->wake);
  CloseEvent(s->done);
  av_frame_free(&s->converted);
  sws_freeContext(s->scaler);
  s->file->sample = nullptr;
  delete s;
}

int UpdateMediaSample(MediaSample* s, Event* event) {
  if (s == nullptr) return kMediaUpdateError;
  if (s->pending.load() != 0) {
    if (event != nullptr) return kMediaUpdatePending;
    // A caller that wants a frame now must not wait for the pending request's
    // frame time: a stopped stream, or a time stamp far ahead in a damaged
    // file, would hold it for ever. The pending request delivers at once.
    s->waitForTime = 0;
    WaitEvent(s->done, -1);
  }
  if (MediaStepFails(kMediaStepUpdate)) return kMediaUpdateError;
  s->caller = event;
  s->waitForTime = event != nullptr ? 1 : 0;
  ResetEvent(s->done);
  s->pending = 1;
  SetEvent(s->wake);
  if (event != nullptr) return kMediaUpdatePending;
  WaitEvent(s->done, -1);
  return s->result.load();
}

int MediaSampleResult(const MediaSample* s) { return s != nullptr ? s->result.load() : kMediaUpdateError; }

int AskMediaInterface(MediaStep step) { return MediaStepFails(step) ? -1 : 0; }

void FailNextMediaStep(MediaStep step) { g_media.failNext[step] = 1; }
int MediaStepCalls(MediaStep step) { return g_media.calls[step].load(); }

void ResetMediaStandIn() {
  for (int i = 0; i < kMediaStepCount; ++i) {
    g_media.failNext[i] = 0;
    g_media.calls[i] = 0;
  }
  SetMediaSoundDevice(nullptr);
}

}  // namespace plat
