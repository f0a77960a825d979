// The records behind the movie-player stand-in, shared by its files. Each
// stream has its own reader (its own demuxer over the file), so the video
// and audio workers never share decoder state.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <atomic>
#include <mutex>

#include "platform/media/media_player.h"

namespace plat {

struct IDirectSoundBuffer;

struct StreamReader {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int index = -1;
  int draining = 0;
  int64_t skipBefore = -1;  // after a seek: frames before this time are passed over
};

// Opens the best stream of `type` in the file at `hostPath`. False when there
// is none or its decoder cannot start (the reader is then closed);
// `containerOpened` tells whether the file itself opened.
bool OpenStreamReader(const char* hostPath, AVMediaType type, StreamReader* reader, bool* containerOpened = nullptr);
void CloseStreamReader(StreamReader* reader);
// The next decoded frame into reader->frame: 1, 0 at the end, -1 on an error.
int ReadNextFrame(StreamReader* reader);
// The frame's time from the stream's start, in 100-ns units.
int64_t ReaderFrameTime(const StreamReader* reader, const AVFrame* frame);
// The next frame read is the first at or after `time`. 0, or -1.
int SeekStreamReader(StreamReader* reader, int64_t time);

constexpr int64_t kMediaUnitsPerSecond = 10000000;

struct MediaAudio;

struct MediaFile {
  std::mutex decoderLock;  // the video reader
  StreamReader video;
  int hasAudio = 0;
  int32_t width = 0;
  int32_t height = 0;
  mutable std::mutex clockLock;
  int running = 0;
  int64_t base = 0;       // the stream time when the clock last started or was set
  uint64_t runStart = 0;  // host microseconds at that moment
  MediaSample* sample = nullptr;
  MediaAudio* audio = nullptr;  // null when the movie plays silent
};

// The sound of a movie: a ring buffer of the sound device refilled by a
// worker. Null when there is no device, no sound stream or no buffer.
MediaAudio* StartMediaAudio(const char* hostPath);
void EndMediaAudio(MediaAudio* audio);
void PlayMediaAudio(MediaAudio* audio, bool play);
void SeekMediaAudio(MediaAudio* audio, int64_t time);

// Counts the step and reports whether it is to fail this time.
bool MediaStepFails(MediaStep step);

}  // namespace plat
