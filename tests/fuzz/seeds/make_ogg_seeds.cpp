// Writes the Ogg seeds of the fuzz targets that reach libvorbisfile and
// libtheora, made by the libraries' own encoders (libvorbisenc, libtheoraenc)
// when the fuzz build runs:
//   make_ogg_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<target>/<seed> for wav_reader, stream_sound,
// sound_whole, theora_open and movie_graph: sounds of several formats,
// chained links of different formats, pages that split packets, pages with
// holes and repeats, a link whose headers stop after its first page, and
// Theora movies whose Vorbis soundtrack is whole, cut short, muxed in
// another order or missing a page.
#include <ogg/ogg.h>
#include <sys/stat.h>
#include <theora/theoraenc.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/ogg_pages.h"

namespace {

using Bytes = soundtest::Page;
using Pages = std::vector<Bytes>;
using soundtest::JoinPages;

void Append(Pages* out, const ogg_page& p) {
  Bytes b(p.header, p.header + p.header_len);
  b.insert(b.end(), p.body, p.body + p.body_len);
  out->push_back(b);
}

// Pages of one Vorbis stream. `fill` > 0 asks for pages of about that many
// bytes, so packets run across pages.
Pages EncodeVorbis(int channels, int rate, int frames, int serial, int fill) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.1f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  Pages out;
  ogg_packet h1, h2, h3;
  vorbis_analysis_headerout(&vd, &vc, &h1, &h2, &h3);
  ogg_stream_packetin(&os, &h1);
  ogg_stream_packetin(&os, &h2);
  ogg_stream_packetin(&os, &h3);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);
  int done = 0;
  bool eos = false;
  uint32_t noise = static_cast<uint32_t>(serial);
  while (!eos) {
    const int n = frames - done < 512 ? frames - done : 512;
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      // A tone with noise: enough data for several pages even when short.
      float** buf = vorbis_analysis_buffer(&vd, n);
      for (int i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
          noise = noise * 1103515245u + 12345u;
          buf[c][i] = 0.3f * std::sin(static_cast<float>(done + i) * 0.03f * static_cast<float>(c + 1)) +
                      0.2f * (static_cast<float>(noise >> 16) / 32768.f - 1.f);
        }
      }
      vorbis_analysis_wrote(&vd, n);
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        for (;;) {
          const int got = fill > 0 ? ogg_stream_pageout_fill(&os, &page, fill) : ogg_stream_pageout(&os, &page);
          if (got == 0) break;
          Append(&out, page);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      while (ogg_stream_flush(&os, &page) != 0) {
        Append(&out, page);
        if (ogg_page_eos(&page)) eos = true;
      }
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

// Pages of one Theora stream of `frames` frames, 32 x 32, with a moving bar.
Pages EncodeTheora(int frames, int serial) {
  th_info info;
  th_info_init(&info);
  info.frame_width = info.pic_width = 32;
  info.frame_height = info.pic_height = 32;
  info.fps_numerator = 10;
  info.fps_denominator = 1;
  info.aspect_numerator = info.aspect_denominator = 1;
  info.pixel_fmt = TH_PF_420;
  info.quality = 20;
  info.keyframe_granule_shift = 3;
  th_enc_ctx* enc = th_encode_alloc(&info);
  Pages out;
  if (enc == nullptr) return out;
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  th_comment tc;
  th_comment_init(&tc);
  ogg_packet op;
  ogg_page page;
  bool first = true;
  while (th_encode_flushheader(enc, &tc, &op) > 0) {
    ogg_stream_packetin(&os, &op);
    if (first) {
      while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);
      first = false;
    }
  }
  while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);
  std::vector<uint8_t> y(32 * 32), uv(16 * 16, 128);
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < 32 * 32; ++i) y[i] = static_cast<uint8_t>((i % 32) / 4 == f % 8 ? 230 : 30);
    th_ycbcr_buffer b;
    b[0] = {32, 32, 32, y.data()};
    b[1] = {16, 16, 16, uv.data()};
    b[2] = {16, 16, 16, uv.data()};
    th_encode_ycbcr_in(enc, b);
    while (th_encode_packetout(enc, f + 1 == frames, &op) > 0) {
      ogg_stream_packetin(&os, &op);
      while (ogg_stream_pageout(&os, &page) != 0) Append(&out, page);
    }
  }
  while (ogg_stream_flush(&os, &page) != 0) Append(&out, page);
  ogg_stream_clear(&os);
  th_comment_clear(&tc);
  th_encode_free(enc);
  th_info_clear(&info);
  return out;
}

// The stream's packets paged again with at most `segments` lacing values a
// page (the identification header alone on the first), so packets continue
// across pages; granule positions go on the pages where packets end.
Pages Repage(const Pages& pages, int serial, int segments) {
  const uint32_t id = static_cast<uint32_t>(serial);
  return soundtest::RepagePackets(soundtest::PacketsOf(soundtest::JoinPages(pages), id), id, segments);
}

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool FirstPage(const Bytes& p) { return (p[5] & 2) != 0; }

Pages Without(Pages pages, size_t index) {
  if (index >= pages.size()) index = pages.size() - 1;
  pages.erase(pages.begin() + static_cast<long>(index));
  return pages;
}

// The page's number set back by one: a number repeated.
Pages Repeated(Pages pages, size_t index) {
  if (index >= pages.size()) index = pages.size() - 1;
  soundtest::SetPageNumber(&pages[index], soundtest::PageNumber(pages[index]) - 1);
  return pages;
}

// The first pages of both streams, then their header pages, then the data
// pages interleaved one for one (or, when `soundLast`, the sound's after all
// the pictures').
Pages Mux(const Pages& video, const Pages& sound, bool soundLast) {
  Pages out;
  auto headerCount = [](const Pages& p, size_t limit) { return p.size() < limit ? p.size() : limit; };
  const size_t vh = headerCount(video, 2), sh = headerCount(sound, 2);
  out.push_back(video[0]);
  out.push_back(sound[0]);
  for (size_t i = 1; i < vh; ++i) out.push_back(video[i]);
  for (size_t i = 1; i < sh; ++i) out.push_back(sound[i]);
  size_t a = vh, b = sh;
  while (a < video.size() || b < sound.size()) {
    if (a < video.size()) out.push_back(video[a++]);
    if (!soundLast && b < sound.size()) out.push_back(sound[b++]);
    if (soundLast && a == video.size()) {
      while (b < sound.size()) out.push_back(sound[b++]);
    }
  }
  return out;
}

bool Write(const std::string& folder, const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::string dir = folder + "/" + target;
  mkdir(folder.c_str(), 0755);
  mkdir(dir.c_str(), 0755);
  std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_ogg_seeds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  const Pages mono = EncodeVorbis(1, 22050, 6000, 11, 0);
  const Pages stereo = EncodeVorbis(2, 44100, 9000, 12, 0);
  // Pages of at most 7 lacing values: nearly every packet runs on into a
  // continued page.
  const Pages split = Repage(EncodeVorbis(2, 32000, 6000, 13, 0), 13, 7);
  const Pages low = EncodeVorbis(1, 8000, 3000, 14, 0);
  const size_t middle = stereo.size() / 2;
  Pages loneLink = stereo;
  loneLink.push_back(low[0]);

  struct Seed {
    const char* name;
    Bytes bytes;
  };
  const std::vector<Seed> sounds = {
      {"mono22k.ogg", JoinPages(mono)},
      {"stereo44k.ogg", JoinPages(stereo)},
      {"split_packets.ogg", JoinPages(split)},
      {"chained_formats.ogg", Cat(Cat(JoinPages(mono), JoinPages(stereo)), JoinPages(low))},
      {"chained_same.ogg", Cat(JoinPages(mono), JoinPages(EncodeVorbis(1, 22050, 2000, 15, 0)))},
      {"page_missing.ogg", JoinPages(Without(stereo, middle))},
      {"page_repeated.ogg", JoinPages(Repeated(stereo, 3))},
      {"split_page_missing.ogg", JoinPages(Without(split, split.size() / 2))},
      {"lone_second_link.ogg", JoinPages(loneLink)},
  };
  bool ok = true;
  for (const char* target : {"wav_reader", "stream_sound", "sound_whole"}) {
    for (const Seed& s : sounds) ok = Write(out, target, s.name, s.bytes) && ok;
  }

  const Pages video = EncodeTheora(12, 21);
  const Pages track = EncodeVorbis(1, 22050, 22050 * 12 / 10, 22, 0);
  if (video.size() < 3 || track.size() < 4) {
    std::fprintf(stderr, "make_ogg_seeds: the encoders gave too little\n");
    return 1;
  }
  const Pages muxed = Mux(video, track, false);
  size_t soundPage = 0;
  for (size_t i = muxed.size() / 2; i < muxed.size(); ++i) {
    if (soundtest::PageSerial(muxed[i]) == 22 && !FirstPage(muxed[i])) {
      soundPage = i;
      break;
    }
  }
  Pages cut;  // the soundtrack stops halfway: no last page
  size_t soundSeen = 0;
  for (const Bytes& p : muxed) {
    if (soundtest::PageSerial(p) == 22 && ++soundSeen > track.size() / 2) continue;
    cut.push_back(p);
  }
  const std::vector<Seed> movies = {
      {"theora.ogv", JoinPages(video)},
      {"theora_vorbis.ogv", JoinPages(muxed)},
      {"theora_vorbis_remuxed.ogv", JoinPages(Mux(video, track, true))},
      {"theora_vorbis_cut.ogv", JoinPages(cut)},
      {"theora_vorbis_page_missing.ogv", JoinPages(soundPage != 0 ? Without(muxed, soundPage) : muxed)},
      {"theora_vorbis_page_repeated.ogv", JoinPages(soundPage != 0 ? Repeated(muxed, soundPage) : muxed)},
  };
  for (const char* target : {"theora_open", "movie_graph", "wav_reader"}) {
    for (const Seed& s : movies) ok = Write(out, target, s.name, s.bytes) && ok;
  }
  return ok ? 0 : 1;
}
