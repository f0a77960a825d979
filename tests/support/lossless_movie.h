// A lossless movie written at test time by libavcodec and libavformat:
// FFV1 in a NUT container, every frame pseudo-random pixels, with PCM sound
// when asked, so the movie player's frames can be checked byte for byte.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace losslessmovie {

constexpr int kWidth = 48;
constexpr int kHeight = 32;
constexpr int kFrames = 6;

// Frame n's B, G, R, X pixels: pseudo-random, so any conversion error shows.
inline std::vector<uint8_t> SourceFrame(int n) {
  std::vector<uint8_t> p(kWidth * kHeight * 4);
  uint32_t seed = 1234u + static_cast<uint32_t>(n) * 77u;
  for (size_t i = 0; i < p.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    p[i] = i % 4 == 3 ? 0 : static_cast<uint8_t>(seed >> 24);
  }
  return p;
}

constexpr int kSoundRate = 44100;
constexpr int kSoundFrames = kSoundRate * 6 / 10;

// Sample frame i of the movie's sound, left and right.
inline int16_t SoundAt(int i, int channel) {
  const int left = (i * 37) % 20000 - 10000;
  return static_cast<int16_t>(channel == 0 ? left : -left / 2);
}

// Sample frame i of an 8-bit unsigned soundtrack, left and right: every
// byte value in turn on the left, the same falling on the right.
inline uint8_t SoundByteAt(int i, int channel) {
  return static_cast<uint8_t>(channel == 0 ? i % 256 : 255 - i % 256);
}

// PCM sound (16-bit signed or 8-bit unsigned), when asked, as a second
// stream of the movie.
inline bool AddSound(AVFormatContext* out, std::vector<AVPacket*>* packets, AVStream** stream, int bits) {
  *stream = avformat_new_stream(out, nullptr);
  AVCodecParameters* p = (*stream)->codecpar;
  p->codec_type = AVMEDIA_TYPE_AUDIO;
  p->codec_id = bits == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_PCM_S16LE;
  p->sample_rate = kSoundRate;
  av_channel_layout_default(&p->ch_layout, 2);
  p->format = bits == 8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16;
  p->bits_per_coded_sample = bits;
  p->block_align = bits / 4;
  (*stream)->time_base = AVRational{1, kSoundRate};
  constexpr int kChunk = 4410;
  for (int start = 0; start < kSoundFrames; start += kChunk) {
    AVPacket* packet = av_packet_alloc();
    if (av_new_packet(packet, kChunk * p->block_align) < 0) return false;
    int16_t* samples = reinterpret_cast<int16_t*>(packet->data);
    for (int i = 0; i < kChunk; ++i) {
      if (bits == 8) {
        packet->data[2 * i] = SoundByteAt(start + i, 0);
        packet->data[2 * i + 1] = SoundByteAt(start + i, 1);
        continue;
      }
      samples[2 * i] = SoundAt(start + i, 0);
      samples[2 * i + 1] = SoundAt(start + i, 1);
    }
    packet->pts = packet->dts = start;
    packet->duration = kChunk;
    packets->push_back(packet);
  }
  return true;
}

// A lossless FFV1 movie at 10 frames a second in an AVI container (or the
// one named), written by libavcodec and libavformat, with PCM sound of
// `soundBits` (16 or 8) when asked.
inline bool WriteLosslessMovie(const std::string& path, bool withSound = false, const char* container = "avi",
                               int soundBits = 16) {
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, container, path.c_str()) < 0) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = kWidth;
  enc->height = kHeight;
  enc->pix_fmt = AV_PIX_FMT_BGR0;
  enc->time_base = AVRational{1, 10};
  stream->time_base = enc->time_base;
  std::vector<AVPacket*> sound;
  AVStream* soundStream = nullptr;
  if (withSound && !AddSound(out, &sound, &soundStream, soundBits)) return false;
  bool ok = avcodec_open2(enc, codec, nullptr) == 0 && avcodec_parameters_from_context(stream->codecpar, enc) >= 0 &&
            avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  for (int n = 0; ok && n <= kFrames; ++n) {
    if (n < kFrames) {
      frame->format = enc->pix_fmt;
      frame->width = kWidth;
      frame->height = kHeight;
      av_frame_get_buffer(frame, 0);
      const auto pixels = SourceFrame(n);
      for (int r = 0; r < kHeight; ++r) memcpy(frame->data[0] + r * frame->linesize[0], &pixels[r * kWidth * 4], kWidth * 4);
      frame->pts = n;
      ok = avcodec_send_frame(enc, frame) == 0;
      av_frame_unref(frame);
    } else {
      avcodec_send_frame(enc, nullptr);
    }
    while (ok && avcodec_receive_packet(enc, packet) == 0) {
      av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
      packet->stream_index = stream->index;
      ok = av_interleaved_write_frame(out, packet) >= 0;
    }
  }
  for (AVPacket* packet : sound) {
    packet->stream_index = soundStream->index;
    av_packet_rescale_ts(packet, AVRational{1, kSoundRate}, soundStream->time_base);
    if (ok) ok = av_interleaved_write_frame(out, packet) >= 0;
    av_packet_free(&packet);
  }
  if (ok) ok = av_write_trailer(out) == 0;
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

}  // namespace losslessmovie
