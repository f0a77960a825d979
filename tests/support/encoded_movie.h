// Small movies of any container and codec FFmpeg can write, made by its own
// muxers and encoders: the movie player's tests and the fuzz seeds start
// from files another tool wrote. Each frame is a fixed pattern of B, G, R
// values, so a lossless codec's frames are known exactly.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace encodedmovie {

// A muxer and its streams' encoders (FFmpeg's names); no sound when `audio`
// is null.
struct Kind {
  const char* muxer;
  const char* extension;
  const char* video;
  const char* audio;
};

constexpr int kRate = 25;  // frames a second: one every MPEG allows

// Every container the movie player opens, each with the picture and sound
// codecs such movies carry that this FFmpeg has encoders for (none for
// WMV 3, VC-1, VP6 or MS-MPEG4 v1). Each takes 36 x 20 (Cinepak and MS
// Video 1 need multiples of 4), a width that is no whole number of 16.
inline constexpr Kind kListedKinds[] = {
    {"avi", "avi", "ffv1", "pcm_s16le"},          {"avi", "avi", "mpeg4", "libmp3lame"},
    {"avi", "avi", "msmpeg4", "adpcm_ms"},        {"avi", "avi", "msmpeg4v2", "mp2"},
    {"avi", "avi", "cinepak", "pcm_u8"},          {"avi", "avi", "msvideo1", "adpcm_ima_wav"},
    {"avi", "avi", "mjpeg", "pcm_alaw"},          {"avi", "avi", "rawvideo", "pcm_mulaw"},
    {"avi", "avi", "libx264", "ac3"},             {"avi", "avi", "h263p", "pcm_s24le"},
    {"matroska", "mkv", "ffv1", "flac"},          {"matroska", "mkv", "libx264", "aac"},
    {"matroska", "mkv", "mpeg4", "libvorbis"},    {"matroska", "mkv", "libtheora", "libopus"},
    {"webm", "webm", "libvpx", "libvorbis"},      {"webm", "webm", "libvpx-vp9", "libopus"},
    {"mp4", "mp4", "libx264", "aac"},             {"mp4", "mp4", "mpeg4", "libmp3lame"},
    {"mov", "mov", "mjpeg", "pcm_s16be"},         {"mov", "mov", "ffv1", "pcm_f32le"},
    {"mpeg", "mpg", "mpeg1video", "mp2"},         {"mpeg", "mpg", "mpeg2video", "ac3"},
    {"mpegts", "ts", "mpeg2video", "mp2"},        {"mpegts", "ts", "libx264", "aac"},
    {"asf", "wmv", "wmv1", "wmav1"},              {"asf", "wmv", "wmv2", "wmav2"},
    {"asf", "asf", "msmpeg4", "libmp3lame"},      {"flv", "flv", "flv", "libmp3lame"},
    {"flv", "flv", "flv", "adpcm_swf"},           {"flv", "flv", "libx264", "aac"},
    {"ogg", "ogv", "libtheora", "libvorbis"},     {"ogg", "ogv", "libtheora", "flac"},
};

// Pixel (x, y) of frame n as B, G, R, 0.
inline void PatternPixel(int x, int y, int n, uint8_t out[4]) {
  out[0] = static_cast<uint8_t>(x * 37 + n * 11 + y);
  out[1] = static_cast<uint8_t>(y * 53 + x * 7 + n * 3);
  out[2] = static_cast<uint8_t>(x * y * 3 + n * 29 + 40);
  out[3] = 0;
}

namespace detail {

inline bool Drain(AVCodecContext* enc, AVStream* stream, std::vector<AVPacket*>* packets) {
  AVPacket* packet = av_packet_alloc();
  int got;
  while ((got = avcodec_receive_packet(enc, packet)) == 0) {
    packet->time_base = enc->time_base;  // the muxer may change the stream's when it starts
    packet->stream_index = stream->index;
    packets->push_back(av_packet_clone(packet));
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  return got == AVERROR(EAGAIN) || got == AVERROR_EOF;
}

inline AVCodecContext* OpenEncoder(const AVCodec* codec, AVFormatContext* out, AVCodecContext* enc) {
  if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  enc->thread_count = 1;
  if (avcodec_open2(enc, codec, nullptr) != 0) avcodec_free_context(&enc);
  return enc;
}

inline bool EncodeVideo(AVFormatContext* out, const char* name, int width, int height, int frames,
                        std::vector<AVPacket*>* packets) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (codec == nullptr) return false;
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = width;
  enc->height = height;
  enc->pix_fmt = codec->pix_fmts != nullptr ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
  for (const AVPixelFormat* f = codec->pix_fmts; f != nullptr && *f != AV_PIX_FMT_NONE; ++f) {
    if (*f == AV_PIX_FMT_BGR0) enc->pix_fmt = *f;  // lossless codecs keep the pattern as it is
  }
  enc->time_base = AVRational{1, kRate};
  enc->framerate = AVRational{kRate, 1};
  enc->gop_size = 2;
  enc->max_b_frames = 0;
  enc->bit_rate = 200000;
  stream->time_base = enc->time_base;
  enc = OpenEncoder(codec, out, enc);
  if (enc == nullptr || avcodec_parameters_from_context(stream->codecpar, enc) < 0) {
    avcodec_free_context(&enc);
    return false;
  }
  SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height, enc->pix_fmt, SWS_POINT, nullptr,
                                   nullptr, nullptr);
  AVFrame* source = av_frame_alloc();
  source->format = AV_PIX_FMT_BGR0;
  source->width = width;
  source->height = height;
  bool ok = sws != nullptr && av_frame_get_buffer(source, 0) == 0;
  for (int n = 0; ok && n < frames; ++n) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) PatternPixel(x, y, n, source->data[0] + y * source->linesize[0] + x * 4);
    }
    AVFrame* frame = av_frame_alloc();
    frame->format = enc->pix_fmt;
    frame->width = width;
    frame->height = height;
    ok = av_frame_get_buffer(frame, 0) == 0 &&
         sws_scale(sws, source->data, source->linesize, 0, height, frame->data, frame->linesize) > 0;
    frame->pts = n;
    ok = ok && avcodec_send_frame(enc, frame) == 0 && Drain(enc, stream, packets);
    av_frame_free(&frame);
  }
  ok = ok && avcodec_send_frame(enc, nullptr) == 0 && Drain(enc, stream, packets);
  av_frame_free(&source);
  sws_freeContext(sws);
  avcodec_free_context(&enc);
  return ok;
}

// A falling tone of `seconds`, mono.
inline bool EncodeSound(AVFormatContext* out, const char* name, double seconds, std::vector<AVPacket*>* packets) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (codec == nullptr) return false;
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  enc->sample_rate = 22050;
  for (const int* r = codec->supported_samplerates; r != nullptr && *r != 0; ++r) {
    if (r == codec->supported_samplerates || *r == 22050 || (*r == 44100 && enc->sample_rate != 22050)) {
      enc->sample_rate = *r;
    }
  }
  av_channel_layout_default(&enc->ch_layout, 1);
  enc->bit_rate = 64000;
  enc->time_base = AVRational{1, enc->sample_rate};
  stream->time_base = enc->time_base;
  enc = OpenEncoder(codec, out, enc);
  if (enc == nullptr || avcodec_parameters_from_context(stream->codecpar, enc) < 0) {
    avcodec_free_context(&enc);
    return false;
  }
  const int chunk = enc->frame_size > 0 ? enc->frame_size : 1024;
  const int total = static_cast<int>(seconds * enc->sample_rate);
  bool ok = true;
  for (int start = 0; ok && start < total; start += chunk) {
    AVFrame* frame = av_frame_alloc();
    frame->format = enc->sample_fmt;
    frame->nb_samples = chunk;
    frame->sample_rate = enc->sample_rate;
    av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
    ok = av_frame_get_buffer(frame, 0) == 0;
    for (int i = 0; ok && i < chunk; ++i) {
      const double v = 0.4 * std::sin((start + i) * (0.05 - 0.00001 * (start + i)));
      switch (enc->sample_fmt) {
        case AV_SAMPLE_FMT_U8: case AV_SAMPLE_FMT_U8P: frame->data[0][i] = static_cast<uint8_t>(128 + v * 127); break;
        case AV_SAMPLE_FMT_S16: case AV_SAMPLE_FMT_S16P: reinterpret_cast<int16_t*>(frame->data[0])[i] = static_cast<int16_t>(v * 32767); break;
        case AV_SAMPLE_FMT_S32: case AV_SAMPLE_FMT_S32P: reinterpret_cast<int32_t*>(frame->data[0])[i] = static_cast<int32_t>(v * 2147483647.0); break;
        case AV_SAMPLE_FMT_FLT: case AV_SAMPLE_FMT_FLTP: reinterpret_cast<float*>(frame->data[0])[i] = static_cast<float>(v); break;
        case AV_SAMPLE_FMT_DBL: case AV_SAMPLE_FMT_DBLP: reinterpret_cast<double*>(frame->data[0])[i] = v; break;
        default: ok = false;
      }
    }
    frame->pts = start;
    ok = ok && avcodec_send_frame(enc, frame) == 0 && Drain(enc, stream, packets);
    av_frame_free(&frame);
  }
  ok = ok && avcodec_send_frame(enc, nullptr) == 0 && Drain(enc, stream, packets);
  avcodec_free_context(&enc);
  return ok;
}

}  // namespace detail

// `frames` frames of the pattern at `width` x `height`, with a tone as long
// when the kind has sound. False when an encoder or the muxer refuses.
inline bool WriteMovie(const std::string& path, const Kind& kind, int width, int height, int frames = 3) {
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, kind.muxer, path.c_str()) < 0) return false;
  std::vector<AVPacket*> packets;
  bool ok = detail::EncodeVideo(out, kind.video, width, height, frames, &packets);
  if (ok && kind.audio != nullptr) {
    ok = detail::EncodeSound(out, kind.audio, static_cast<double>(frames) / kRate, &packets);
  }
  ok = ok && avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
  for (AVPacket* p : packets) {
    av_packet_rescale_ts(p, p->time_base, out->streams[p->stream_index]->time_base);
    if (ok) ok = av_interleaved_write_frame(out, p) >= 0;
    av_packet_free(&p);
  }
  if (ok) ok = av_write_trailer(out) == 0;
  if (out->pb != nullptr) avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

}  // namespace encodedmovie
