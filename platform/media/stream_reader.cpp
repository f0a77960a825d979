// One decoded stream of a movie file, read with a demuxer of its own.
#include "platform/media/media_internal.h"

#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/avstring.h>
}

namespace plat {

namespace {

// A movie file is read as one local file in one of the usual movie
// containers: no network protocol, and no playlist or concatenation format
// that would make the file open others. Not NUT either: no movie made for a
// Windows player comes in it, and its reader spins for ever on some damaged
// files (while probing one, and while the player waits for a frame).
constexpr const char* kProtocols = "file";
constexpr const char* kContainers = "avi,matroska,webm,mov,mp4,mpeg,mpegts,asf,flv,ogg";

// The decoders of the pictures and sounds such movies carry, by FFmpeg's
// decoder names; FFmpeg opens no other decoder, not even while it probes
// the streams. FFV1 is the lossless codec the tests' movies are made in.
constexpr const char* kDecoders =
    // pictures
    "mpeg1video,mpeg2video,mpeg4,msmpeg4v1,msmpeg4v2,msmpeg4,wmv1,wmv2,wmv3,vc1,h263,h263p,h264,flv,vp6,vp6f,"
    "vp8,vp9,theora,mjpeg,cinepak,msvideo1,rawvideo,ffv1,"
    // sounds
    "pcm_u8,pcm_s16le,pcm_s16be,pcm_s24le,pcm_f32le,pcm_alaw,pcm_mulaw,adpcm_ms,adpcm_ima_wav,adpcm_swf,"
    "mp2,mp2float,mp3,mp3float,aac,ac3,vorbis,opus,wmav1,wmav2,flac";

// How much of the file FFmpeg reads to find the streams and their formats.
constexpr const char* kProbeBytes = "1048576";

// The largest single block the movie libraries may allocate. Sizes read from
// a damaged header (a stream's extra data claimed at 1.9 GB in an AVI file
// of 3 KB) would otherwise be allocated, and zeroed, before the read that
// finds them short; a refused block fails the open instead. A frame of a
// 4096 x 4096 picture at 4 bytes a pixel is 64 MB.
constexpr size_t kLargestMediaBlock = size_t{256} << 20;

// The listed containers by the first bytes of their files, each with the
// demuxer that reads it. The file's own bytes choose the demuxer, so FFmpeg
// runs no probe over its other demuxers: a file of any other kind is refused
// before FFmpeg reads it at all.
constexpr size_t kSignatureBytes = 400;  // three transport-stream packets and a bit

bool At(const uint8_t* bytes, size_t size, size_t offset, const char* what, size_t length) {
  return offset + length <= size && std::memcmp(bytes + offset, what, length) == 0;
}

// A transport stream: the sync byte at the start of each 188-byte packet
// (after a 4-byte time code in the 192-byte packets of Blu-ray files), in
// as many of the first three packets as the file holds.
bool IsTransportStream(const uint8_t* bytes, size_t size, size_t first, size_t packet) {
  if (size <= first) return false;
  for (size_t at = first; at < size && at < first + 3 * packet; at += packet) {
    if (bytes[at] != 0x47) return false;
  }
  return true;
}

const char* ContainerOf(const uint8_t* b, size_t n) {
  static const char kAsf[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
  if (At(b, n, 0, "RIFF", 4) && (At(b, n, 8, "AVI ", 4) || At(b, n, 8, "AVIX", 4))) return "avi";
  if (At(b, n, 0, "\x1A\x45\xDF\xA3", 4)) return "matroska";
  for (const char* box : {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot"}) {
    if (At(b, n, 4, box, 4)) return "mov";
  }
  if (At(b, n, 0, "\x00\x00\x01\xBA", 4)) return "mpeg";
  if (IsTransportStream(b, n, 0, 188) || IsTransportStream(b, n, 4, 192)) return "mpegts";
  if (At(b, n, 0, kAsf, 16)) return "asf";
  if (At(b, n, 0, "FLV\x01", 4)) return "flv";
  if (At(b, n, 0, "OggS", 4)) return "ogg";
  return nullptr;
}

// The demuxer for a file, or null when it is in none of the listed
// containers (or cannot be read).
const AVInputFormat* ListedContainer(const char* hostPath) {
  uint8_t bytes[kSignatureBytes];
  std::FILE* file = std::fopen(hostPath, "rb");
  if (file == nullptr) return nullptr;
  const size_t size = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  const char* name = ContainerOf(bytes, size);
  return name != nullptr ? av_find_input_format(name) : nullptr;
}

}  // namespace

bool OpenStreamReader(const char* hostPath, AVMediaType type, StreamReader* r, bool* containerOpened) {
  *r = StreamReader{};
  if (containerOpened != nullptr) *containerOpened = false;
  av_max_alloc(kLargestMediaBlock);
  const AVInputFormat* container = ListedContainer(hostPath);
  if (container == nullptr) return false;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", kProtocols, 0);
  av_dict_set(&options, "format_whitelist", kContainers, 0);
  av_dict_set(&options, "codec_whitelist", kDecoders, 0);
  av_dict_set(&options, "probesize", kProbeBytes, 0);
  const int opened = avformat_open_input(&r->format, hostPath, container, &options);
  av_dict_free(&options);
  if (opened != 0) return false;
  if (containerOpened != nullptr) *containerOpened = true;
  const AVCodec* decoder = nullptr;
  if (avformat_find_stream_info(r->format, nullptr) < 0 ||
      (r->index = av_find_best_stream(r->format, type, -1, -1, &decoder, 0)) < 0 ||
      !av_match_list(decoder->name, kDecoders, ',')) {
    CloseStreamReader(r);
    return false;
  }
  // Only this stream's packets are wanted.
  for (unsigned i = 0; i < r->format->nb_streams; ++i) {
    if (static_cast<int>(i) != r->index) r->format->streams[i]->discard = AVDISCARD_ALL;
  }
  r->codec = avcodec_alloc_context3(decoder);
  r->packet = av_packet_alloc();
  r->frame = av_frame_alloc();
  AVDictionary* codecOptions = nullptr;
  av_dict_set(&codecOptions, "codec_whitelist", kDecoders, 0);
  const bool ready = r->codec != nullptr && r->packet != nullptr && r->frame != nullptr &&
                     avcodec_parameters_to_context(r->codec, r->format->streams[r->index]->codecpar) >= 0 &&
                     avcodec_open2(r->codec, decoder, &codecOptions) >= 0;
  av_dict_free(&codecOptions);
  if (!ready) {
    CloseStreamReader(r);
    return false;
  }
  return true;
}

void CloseStreamReader(StreamReader* r) {
  av_frame_free(&r->frame);
  av_packet_free(&r->packet);
  avcodec_free_context(&r->codec);
  if (r->format != nullptr) avformat_close_input(&r->format);
  *r = StreamReader{};
}

int64_t ReaderFrameTime(const StreamReader* r, const AVFrame* frame) {
  const AVStream* s = r->format->streams[r->index];
  int64_t pts = frame->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE) pts = frame->pts;
  if (pts == AV_NOPTS_VALUE) return 0;
  if (s->start_time != AV_NOPTS_VALUE) pts -= s->start_time;
  return av_rescale_q(pts, s->time_base, AVRational{1, kMediaUnitsPerSecond});
}

int ReadNextFrame(StreamReader* r) {
  for (;;) {
    const int got = avcodec_receive_frame(r->codec, r->frame);
    if (got == 0) {
      if (r->skipBefore >= 0 && ReaderFrameTime(r, r->frame) < r->skipBefore) continue;
      r->skipBefore = -1;
      return 1;
    }
    if (got == AVERROR_EOF) return 0;
    if (got != AVERROR(EAGAIN)) return -1;
    if (r->draining) return 0;
    if (av_read_frame(r->format, r->packet) < 0) {
      r->draining = 1;
      avcodec_send_packet(r->codec, nullptr);
      continue;
    }
    if (r->packet->stream_index == r->index) avcodec_send_packet(r->codec, r->packet);
    av_packet_unref(r->packet);
  }
}

int SeekStreamReader(StreamReader* r, int64_t time) {
  const AVStream* s = r->format->streams[r->index];
  int64_t target = av_rescale_q(time, AVRational{1, kMediaUnitsPerSecond}, s->time_base);
  if (s->start_time != AV_NOPTS_VALUE) target += s->start_time;
  if (av_seek_frame(r->format, r->index, target, AVSEEK_FLAG_BACKWARD) < 0) return -1;
  avcodec_flush_buffers(r->codec);
  r->draining = 0;
  r->skipBefore = time;
  return 0;
}

}  // namespace plat
