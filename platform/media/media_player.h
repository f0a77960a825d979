// The movie-player stand-in (the DirectShow role) over FFmpeg: a movie file
// opened by name, its video stream's size, a stream clock that runs on the
// host clock, and a video sample: a caller-given pixel block that a worker
// thread of the stream fills with the next frame, converted to the block's
// format, when the frame's time on the stream clock has come, then signals
// the caller's event. The movie's sound plays by itself while the clock runs,
// through a ring buffer of the sound device that a second worker refills.
// Each step can be told to fail once for tests.
#pragma once

#include <cstdint>

namespace plat {

struct Event;
struct IDirectSound;
struct MediaFile;
struct MediaSample;

enum MediaStep {
  kMediaStepOpen = 0,    // the container cannot be opened
  kMediaStepStreams,     // no stream information
  kMediaStepCodec,       // the video decoder cannot start
  kMediaStepAudio,       // the sound renderer cannot be added (the open fails)
  kMediaStepSample,      // the sample cannot be made
  kMediaStepUpdate,      // the next update fails
  kMediaStepSeek,        // the next seek fails
  kMediaStepSoundWrite,  // the next write of sound into the ring is lost
  // The interfaces a player's open asks for, folded here into the file and
  // its sample: each is asked for by AskMediaInterface, in the open's order.
  kMediaStepFilterGraph,         // the filter graph
  kMediaStepMultiMediaStream,    // the multimedia stream
  kMediaStepInitialize,          // the stream set up for reading
  kMediaStepMediaControl,        // the graph's control
  kMediaStepDirectDraw4,         // the display object's newer interface
  kMediaStepPrimaryVideo,        // the video stream added
  kMediaStepMediaSeeking,        // the graph's seeking
  kMediaStepBasicAudio,          // the graph's sound volume
  kMediaStepVideoStream,         // the video stream taken back
  kMediaStepAMMediaStream,       // its stream interface
  kMediaStepDirectDrawStream,    // its surface-stream interface
  kMediaStepSampleSurface,       // the sample's surface
  kMediaStepSurface4,            // that surface's interfaces
  kMediaStepSurface7,
  kMediaStepCount
};

enum MediaUpdateResult {
  kMediaUpdateOk = 0,       // the frame is in the block
  kMediaUpdatePending = 1,  // the worker fills it and then signals the event
  kMediaUpdateEnd = 2,      // no frame is left in the stream
  kMediaUpdateError = -1,
};

// The sound device movies play their sound on (null: movies play silent).
// Files opened afterwards use it; it must outlive them.
void SetMediaSoundDevice(IDirectSound* device);

// A CP932 path on the drive "Z:". Null when the file cannot be opened or has
// no video stream that can be decoded; `failedStep` then tells which step
// refused: kMediaStepAudio (checked before the file is opened),
// kMediaStepOpen (the file is not there or not a movie container),
// kMediaStepStreams (no video stream) or kMediaStepCodec.
MediaFile* OpenMediaFile(const char* path, MediaStep* failedStep = nullptr);
// Stops the workers and waits for them, then frees everything.
void CloseMediaFile(MediaFile* file);

int GetMediaVideoSize(const MediaFile* file, int32_t* width, int32_t* height);
int MediaHasAudio(const MediaFile* file);

// The stream clock, in 100-nanosecond units. It stands still while the
// stream is stopped and runs with the host clock while it runs.
int RunMedia(MediaFile* file);
int StopMedia(MediaFile* file);
int IsMediaRunning(const MediaFile* file);
int64_t GetMediaTime(const MediaFile* file);
// Moves the clock and the stream to `time` (the next frame is the first at
// or after it). 0, or -1.
int SeekMedia(MediaFile* file, int64_t time);

// The sample block: `bitsPerPixel` 16 (masks 0xF800/0x7E0/0x1F or
// 0x7C00/0x3E0/0x1F), 24 or 32 (red 0xFF0000, green 0xFF00, blue 0xFF),
// `height` rows of `pitch` bytes owned by the caller; null for any other
// format, a pitch too small, or a size other than the video's.
// With a FOURCC ("YUY2" or "UYVY") the block holds packed YUV instead and
// the masks are not looked at.
struct MediaSampleFormat {
  int32_t bitsPerPixel;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t fourCC = 0;
};
MediaSample* CreateMediaSample(MediaFile* file, const MediaSampleFormat& format, uint8_t* pixels, int32_t pitch,
                               int32_t width, int32_t height);
void DeleteMediaSample(MediaSample* sample);

// Asks for the next frame. With an event: kMediaUpdatePending at once (or
// the result of an earlier request the caller has not taken), the event set
// when the frame is in the block. Without: waits for the frame's time.
// A second request while one is pending gives kMediaUpdatePending again.
int UpdateMediaSample(MediaSample* sample, Event* event);
// The result of the last completed request (kMediaUpdateOk or End/Error).
int MediaSampleResult(const MediaSample* sample);

// One of the folded interfaces asked for: 0, or -1 when the step was told
// to fail. Counted like every step.
int AskMediaInterface(MediaStep step);

void FailNextMediaStep(MediaStep step);
int MediaStepCalls(MediaStep step);
void ResetMediaStandIn();

}  // namespace plat
