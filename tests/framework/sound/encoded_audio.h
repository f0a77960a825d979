// MP3 and Ogg Vorbis inputs made at test time by the encoders (libmp3lame,
// libvorbisenc), and the same files decoded by libmpg123 and libvorbisfile
// called directly: the oracles the converter's output must equal.
#pragma once

#include <lame/lame.h>
#include <mpg123.h>
#include <vorbis/vorbisenc.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace soundtest {

// Interleaved 16-bit test tones.
inline std::vector<int16_t> Tone(size_t frames, int channels, double step = 0.05) {
  std::vector<int16_t> v(frames * static_cast<size_t>(channels));
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      v[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
          static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * step * (1 + c)) +
                               3000 * std::sin(static_cast<double>(i) * 0.003));
    }
  }
  return v;
}

inline std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& pcm, int channels, int rate, int kbps) {
  lame_global_flags* g = lame_init();
  lame_set_in_samplerate(g, rate);
  lame_set_out_samplerate(g, rate);
  lame_set_num_channels(g, channels);
  lame_set_mode(g, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(g, kbps);
  lame_set_quality(g, 7);
  lame_init_params(g);
  const int frames = static_cast<int>(pcm.size() / static_cast<size_t>(channels));
  std::vector<uint8_t> out(static_cast<size_t>(frames) * 5 / 4 + 7200 + 16384);
  int n = 0;
  if (channels == 2) {
    n = lame_encode_buffer_interleaved(g, const_cast<short*>(pcm.data()), frames, out.data(),
                                       static_cast<int>(out.size()));
  } else {
    n = lame_encode_buffer(g, pcm.data(), pcm.data(), frames, out.data(), static_cast<int>(out.size()));
  }
  n += lame_encode_flush(g, out.data() + n, static_cast<int>(out.size()) - n);
  out.resize(static_cast<size_t>(n));
  lame_close(g);
  return out;
}

// libmpg123 on the whole file: every frame decoded, nothing trimmed.
inline std::vector<uint8_t> DecodeMp3Directly(const std::vector<uint8_t>& file, size_t* frames = nullptr) {
  mpg123_init();
  mpg123_handle* h = mpg123_new(nullptr, nullptr);
  mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
  mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0);
  mpg123_format_none(h);
  for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L}) {
    mpg123_format(h, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  mpg123_open_feed(h);
  mpg123_feed(h, file.data(), file.size());
  std::vector<uint8_t> pcm;
  size_t count = 0;
  for (;;) {
    off_t num;
    unsigned char* audio;
    size_t bytes;
    const int r = mpg123_decode_frame(h, &num, &audio, &bytes);
    if (r == MPG123_NEW_FORMAT) continue;
    if (r != MPG123_OK) break;
    pcm.insert(pcm.end(), audio, audio + bytes);
    ++count;
  }
  mpg123_delete(h);
  if (frames != nullptr) *frames = count;
  return pcm;
}

inline std::vector<uint8_t> EncodeVorbis(const std::vector<int16_t>& pcm, int channels, int rate, int serial = 1) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.3f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  std::vector<uint8_t> out;
  auto put = [&](const ogg_page& p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  ogg_packet h1, h2, h3;
  vorbis_analysis_headerout(&vd, &vc, &h1, &h2, &h3);
  ogg_stream_packetin(&os, &h1);
  ogg_stream_packetin(&os, &h2);
  ogg_stream_packetin(&os, &h3);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) put(page);
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    const size_t n = frames - done < 1024 ? frames - done : 1024;
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) buf[c][i] = pcm[(done + i) * static_cast<size_t>(channels) + c] / 32768.f;
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &page) != 0) {
          put(page);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      while (ogg_stream_flush(&os, &page) != 0) put(page);
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

// The same file with another sample rate in its identification header, for
// rates the encoder will not take. The header is the first packet of the
// first page; libogg sets that page's checksum again.
inline std::vector<uint8_t> WithVorbisRate(std::vector<uint8_t> file, uint32_t rate) {
  const size_t segments = file[26];
  size_t bodyLength = 0;
  for (size_t i = 0; i < segments; ++i) bodyLength += file[27 + i];
  ogg_page page{file.data(), static_cast<long>(27 + segments), file.data() + 27 + segments,
                static_cast<long>(bodyLength)};
  // packet type, "vorbis", version (4 bytes), channels (1 byte), then the rate
  for (int i = 0; i < 4; ++i) page.body[12 + i] = static_cast<uint8_t>(rate >> (8 * i));
  ogg_page_checksum_set(&page);
  return file;
}

// libvorbisfile on the whole file, 16-bit little-endian signed.
inline std::vector<uint8_t> DecodeVorbisDirectly(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> pcm;
  std::FILE* in = fmemopen(const_cast<uint8_t*>(file.data()), file.size(), "rb");
  OggVorbis_File vf;
  if (in == nullptr) return pcm;
  if (ov_open(in, &vf, nullptr, 0) != 0) {
    std::fclose(in);
    return pcm;
  }
  char buf[4096];
  int section = 0;
  long n;
  while ((n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) != 0) {
    if (n > 0) pcm.insert(pcm.end(), buf, buf + n);
  }
  ov_clear(&vf);  // closes the file
  return pcm;
}

}  // namespace soundtest
