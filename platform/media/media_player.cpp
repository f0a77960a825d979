#include "platform/media/media_player.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/host/host.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"

namespace plat {

namespace {

struct MediaStandIn {
  std::atomic<int> failNext[kMediaStepCount];
  std::atomic<int> calls[kMediaStepCount];
};
MediaStandIn g_media{};

// Counts the step and reports whether it is to fail this time.
bool StepFails(MediaStep step) {
  ++g_media.calls[step];
  return g_media.failNext[step].exchange(0) != 0;
}

constexpr int64_t kUnitsPerSecond = 10000000;  // the clock's 100-ns units

}  // namespace

struct MediaFile {
  std::mutex decoderLock;  // the format and codec contexts
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int videoIndex = -1;
  int hasAudio = 0;
  int draining = 0;
  int64_t skipBefore = -1;  // after a seek: frames before this time are passed over
  int32_t width = 0;
  int32_t height = 0;
  mutable std::mutex clockLock;
  int running = 0;
  int64_t base = 0;          // the stream time when the clock last started or was set
  uint64_t runStart = 0;     // host microseconds at that moment
  MediaSample* sample = nullptr;
};

struct MediaSample {
  MediaFile* file;
  SwsContext* scaler;
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

int64_t FrameTime(const MediaFile* f, const AVFrame* frame) {
  const AVStream* s = f->format->streams[f->videoIndex];
  int64_t pts = frame->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE) pts = frame->pts;
  if (pts == AV_NOPTS_VALUE) return 0;
  if (s->start_time != AV_NOPTS_VALUE) pts -= s->start_time;
  return av_rescale_q(pts, s->time_base, AVRational{1, kUnitsPerSecond});
}

// The next decoded frame of the video stream into f->frame: 1, 0 at the end,
// -1 on an error.
int DecodeNext(MediaFile* f) {
  for (;;) {
    const int got = avcodec_receive_frame(f->codec, f->frame);
    if (got == 0) {
      if (f->skipBefore >= 0 && FrameTime(f, f->frame) < f->skipBefore) continue;
      f->skipBefore = -1;
      return 1;
    }
    if (got == AVERROR_EOF) return 0;
    if (got != AVERROR(EAGAIN)) return -1;
    if (f->draining) return 0;
    const int read = av_read_frame(f->format, f->packet);
    if (read < 0) {
      f->draining = 1;
      avcodec_send_packet(f->codec, nullptr);
      continue;
    }
    if (f->packet->stream_index == f->videoIndex) avcodec_send_packet(f->codec, f->packet);
    av_packet_unref(f->packet);
  }
}

AVPixelFormat BlockFormat(const MediaSampleFormat& format) {
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
    const int got = DecodeNext(f);
    if (got <= 0) return got == 0 ? kMediaUpdateEnd : kMediaUpdateError;
    due = FrameTime(f, f->frame);
  }
  while (s->waitForTime.load() && s->quit.load() == 0 &&
         (IsMediaRunning(f) == 0 || GetMediaTime(f) < due)) {
    SleepRealMs(1);
  }
  if (s->quit.load() != 0) return kMediaUpdateError;
  std::lock_guard<std::mutex> hold(f->decoderLock);
  const AVFrame* frame = f->frame;
  if (frame->width != f->width || frame->height != f->height || frame->format != f->codec->pix_fmt) {
    return kMediaUpdateError;  // a change of picture size mid-stream is not followed
  }
  uint8_t* planes[4] = {s->pixels, nullptr, nullptr, nullptr};
  int pitches[4] = {s->pitch, 0, 0, 0};
  sws_scale(s->scaler, frame->data, frame->linesize, 0, f->height, planes, pitches);
  return kMediaUpdateOk;
}

void Worker(void* argument) {
  MediaSample* s = static_cast<MediaSample*>(argument);
  for (;;) {
    WaitEvent(s->wake, -1);
    if (s->quit.load() != 0) return;
    if (s->pending.load() == 0) continue;
    const int result = Deliver(s);
    s->result = result;
    Event* caller = s->caller;
    s->pending = 0;
    SetEvent(s->done);
    if (caller != nullptr) SetEvent(caller);
  }
}

}  // namespace

MediaFile* OpenMediaFile(const char* path) {
  if (path == nullptr || StepFails(kMediaStepOpen)) return nullptr;
  av_log_set_level(AV_LOG_FATAL);  // the movie code logs its own lines
  char host[4096];
  if (MapPathToHost(path, host, sizeof host) != 0) return nullptr;
  MediaFile* f = new MediaFile;
  if (avformat_open_input(&f->format, host, nullptr, nullptr) != 0) {
    delete f;
    return nullptr;
  }
  const AVCodec* decoder = nullptr;
  if (StepFails(kMediaStepStreams) || avformat_find_stream_info(f->format, nullptr) < 0 ||
      (f->videoIndex = av_find_best_stream(f->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)) < 0) {
    CloseMediaFile(f);
    return nullptr;
  }
  f->hasAudio = av_find_best_stream(f->format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0 ? 1 : 0;
  f->codec = avcodec_alloc_context3(decoder);
  if (StepFails(kMediaStepCodec) || f->codec == nullptr ||
      avcodec_parameters_to_context(f->codec, f->format->streams[f->videoIndex]->codecpar) < 0 ||
      avcodec_open2(f->codec, decoder, nullptr) < 0 || f->codec->width <= 0 || f->codec->height <= 0 ||
      f->codec->width > 16384 || f->codec->height > 16384) {
    CloseMediaFile(f);
    return nullptr;
  }
  f->width = f->codec->width;
  f->height = f->codec->height;
  f->packet = av_packet_alloc();
  f->frame = av_frame_alloc();
  if (f->packet == nullptr || f->frame == nullptr) {
    CloseMediaFile(f);
    return nullptr;
  }
  return f;
}

void CloseMediaFile(MediaFile* f) {
  if (f == nullptr) return;
  if (f->sample != nullptr) DeleteMediaSample(f->sample);
  av_frame_free(&f->frame);
  av_packet_free(&f->packet);
  avcodec_free_context(&f->codec);
  avformat_close_input(&f->format);
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
  std::lock_guard<std::mutex> hold(f->clockLock);
  if (!f->running) {
    f->running = 1;
    f->runStart = HostMicros();
  }
  return 0;
}

int StopMedia(MediaFile* f) {
  if (f == nullptr) return -1;
  std::lock_guard<std::mutex> hold(f->clockLock);
  if (f->running) {
    f->base += static_cast<int64_t>(HostMicros() - f->runStart) * 10;
    f->running = 0;
  }
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
  if (f == nullptr || StepFails(kMediaStepSeek)) return -1;
  if (time < 0) time = 0;
  {
    std::lock_guard<std::mutex> hold(f->decoderLock);
    const AVStream* s = f->format->streams[f->videoIndex];
    int64_t target = av_rescale_q(time, AVRational{1, kUnitsPerSecond}, s->time_base);
    if (s->start_time != AV_NOPTS_VALUE) target += s->start_time;
    if (av_seek_frame(f->format, f->videoIndex, target, AVSEEK_FLAG_BACKWARD) < 0) return -1;
    avcodec_flush_buffers(f->codec);
    f->draining = 0;
    f->skipBefore = time;
  }
  std::lock_guard<std::mutex> hold(f->clockLock);
  f->base = time;
  f->runStart = HostMicros();
  return 0;
}

MediaSample* CreateMediaSample(MediaFile* f, const MediaSampleFormat& format, uint8_t* pixels, int32_t pitch,
                               int32_t width, int32_t height) {
  if (f == nullptr || f->sample != nullptr || pixels == nullptr || StepFails(kMediaStepSample)) return nullptr;
  const AVPixelFormat target = BlockFormat(format);
  if (target == AV_PIX_FMT_NONE || width != f->width || height != f->height ||
      pitch < av_image_get_linesize(target, width, 0)) {
    return nullptr;
  }
  SwsContext* scaler = sws_getContext(f->width, f->height, f->codec->pix_fmt, width, height, target, SWS_POINT,
                                      nullptr, nullptr, nullptr);
  if (scaler == nullptr) return nullptr;
  MediaSample* s = new MediaSample{};
  s->file = f;
  s->scaler = scaler;
  s->pixels = pixels;
  s->pitch = pitch;
  s->wake = CreateEvent(false, false);
  s->done = CreateEvent(true, true);
  s->worker = CreateThread(Worker, s);
  if (s->worker == nullptr) {
    CloseEvent(s->wake);
    CloseEvent(s->done);
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
  sws_freeContext(s->scaler);
  s->file->sample = nullptr;
  delete s;
}

int UpdateMediaSample(MediaSample* s, Event* event) {
  if (s == nullptr) return kMediaUpdateError;
  if (s->pending.load() != 0) {
    if (event != nullptr) return kMediaUpdatePending;
    WaitEvent(s->done, -1);
  }
  if (StepFails(kMediaStepUpdate)) return kMediaUpdateError;
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

void FailNextMediaStep(MediaStep step) { g_media.failNext[step] = 1; }
int MediaStepCalls(MediaStep step) { return g_media.calls[step].load(); }

void ResetMediaStandIn() {
  for (int i = 0; i < kMediaStepCount; ++i) {
    g_media.failNext[i] = 0;
    g_media.calls[i] = 0;
  }
}

}  // namespace plat
