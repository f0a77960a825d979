#include "movie_test_support.h"

#include <ogg/ogg.h>
#include <theora/theora.h>
#include <theora/theoradec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace movietest {

namespace {

constexpr int kBlock = 16;

void AppendPage(std::vector<uint8_t>* out, const ogg_page& page) {
  out->insert(out->end(), page.header, page.header + page.header_len);
  out->insert(out->end(), page.body, page.body + page.body_len);
}

void FlushAll(ogg_stream_state* stream, std::vector<uint8_t>* out) {
  ogg_page page;
  while (ogg_stream_flush(stream, &page) > 0) AppendPage(out, page);
}

void PaintFrame(int number, const EncodeOptions& o, std::vector<uint8_t>* y, std::vector<uint8_t>* u,
                std::vector<uint8_t>* v) {
  const int columns = o.width / kBlock;
  for (int row = 0; row < o.height; ++row) {
    for (int col = 0; col < o.width; ++col) {
      const int bit = (row / kBlock) * columns + col / kBlock;
      int sample = ((number >> bit) & 1) ? 200 : 40;
      if (o.grain > 0) {
        const uint32_t h = (static_cast<uint32_t>(row * 7919 + col * 104729 + (number / 3) * 1299709) * 2654435761u) >> 16;
        sample += static_cast<int>(h % static_cast<uint32_t>(2 * o.grain + 1)) - o.grain;
      }
      (*y)[row * o.width + col] = static_cast<uint8_t>(sample);
    }
  }
  std::fill(u->begin(), u->end(), static_cast<uint8_t>(64 + (number % 8) * 16));
  std::fill(v->begin(), v->end(), static_cast<uint8_t>(200 - (number % 5) * 20));
}

// An Ogg sync state holding the whole file.
void SyncOver(ogg_sync_state* sync, const std::vector<uint8_t>& file) {
  ogg_sync_init(sync);
  std::memcpy(ogg_sync_buffer(sync, static_cast<long>(file.size())), file.data(), file.size());
  ogg_sync_wrote(sync, static_cast<long>(file.size()));
}

}  // namespace

std::vector<uint8_t> EncodeNumberedMovie(const EncodeOptions& o) {
  std::vector<uint8_t> out;
  theora_info info;
  theora_info_init(&info);
  info.width = info.frame_width = o.width;
  info.height = info.frame_height = o.height;
  info.offset_x = info.offset_y = 0;
  info.fps_numerator = o.rateNumerator;
  info.fps_denominator = o.rateDenominator;
  info.aspect_numerator = info.aspect_denominator = 1;
  info.colorspace = OC_CS_UNSPECIFIED;
  info.pixelformat = OC_PF_420;
  info.target_bitrate = 0;
  info.quality = 48;
  info.quick_p = 1;
  info.dropframes_p = 0;
  info.keyframe_auto_p = 0;
  info.keyframe_frequency = o.keyframeInterval;
  info.keyframe_frequency_force = o.keyframeInterval;
  info.keyframe_mindistance = 1;
  info.keyframe_auto_threshold = 80;
  info.noise_sensitivity = 1;
  info.sharpness = 0;
  // The rate terms must reach the stream as given, so a zero term is put
  // into the identification header below by hand.
  const bool zeroRate = o.rateNumerator == 0 || o.rateDenominator == 0;
  if (zeroRate) info.fps_numerator = info.fps_denominator = 1;
  theora_state state;
  if (theora_encode_init(&state, &info) != 0) return {};

  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x1234);
  if (o.foreignStreamFirst) {
    ogg_stream_state other;
    ogg_stream_init(&other, 0x777);
    unsigned char junk[30] = {0x01, 'n', 'o', 't', 'v', 'i', 'd'};
    ogg_packet p{};
    p.packet = junk;
    p.bytes = sizeof junk;
    p.b_o_s = 1;
    ogg_stream_packetin(&other, &p);
    FlushAll(&other, &out);
    ogg_stream_clear(&other);
  }
  ogg_packet packet;
  theora_encode_header(&state, &packet);
  std::vector<uint8_t> ident(packet.packet, packet.packet + packet.bytes);
  if (zeroRate) {
    // Identification header: the rate numerator at byte 22, denominator at 26.
    const uint32_t n = o.rateNumerator, d = o.rateDenominator;
    for (int i = 0; i < 4; ++i) {
      ident[22 + i] = static_cast<uint8_t>(n >> (24 - 8 * i));
      ident[26 + i] = static_cast<uint8_t>(d >> (24 - 8 * i));
    }
  }
  packet.packet = ident.data();
  ogg_stream_packetin(&stream, &packet);
  FlushAll(&stream, &out);
  theora_comment comment;
  theora_comment_init(&comment);
  theora_encode_comment(&comment, &packet);
  ogg_stream_packetin(&stream, &packet);
  std::free(packet.packet);
  theora_comment_clear(&comment);
  theora_encode_tables(&state, &packet);
  ogg_stream_packetin(&stream, &packet);
  FlushAll(&stream, &out);

  std::vector<uint8_t> y(o.width * o.height), u(o.width * o.height / 4), v(o.width * o.height / 4);
  for (int n = 0; n < o.frames; ++n) {
    PaintFrame(n, o, &y, &u, &v);
    yuv_buffer yuv{o.width, o.height, o.width, o.width / 2, o.height / 2, o.width / 2, y.data(), u.data(), v.data()};
    if (theora_encode_YUVin(&state, &yuv) != 0) break;
    if (theora_encode_packetout(&state, n + 1 == o.frames, &packet) <= 0) break;
    ogg_stream_packetin(&stream, &packet);
    ogg_page page;
    if (o.packetsPerPage > 0) {
      if ((n + 1) % o.packetsPerPage == 0) FlushAll(&stream, &out);
    } else {
      while (ogg_stream_pageout(&stream, &page) > 0) AppendPage(&out, page);
    }
  }
  FlushAll(&stream, &out);
  ogg_stream_clear(&stream);
  theora_clear(&state);
  theora_info_clear(&info);
  return out;
}

int ReadFrameNumber(const uint8_t* y, int stride, int width, int height) {
  const int columns = width / kBlock;
  int number = 0;
  for (int bit = 0; bit < columns * (height / kBlock); ++bit) {
    const int cx = (bit % columns) * kBlock + kBlock / 2;
    const int cy = (bit / columns) * kBlock + kBlock / 2;
    const int sample = y[cy * stride + cx];
    if (sample > 150) number |= 1 << bit;
    else if (sample > 90) return -1;
  }
  return number;
}

std::vector<ReferenceFrame> ReferenceDecode(const std::vector<uint8_t>& file) {
  std::vector<ReferenceFrame> frames;
  ogg_sync_state sync;
  SyncOver(&sync, file);
  th_info info;
  th_comment comment;
  th_info_init(&info);
  th_comment_init(&comment);
  th_setup_info* setup = nullptr;
  th_dec_ctx* decoder = nullptr;
  ogg_stream_state stream{};
  bool haveStream = false;
  int headers = 0;
  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    if (!haveStream) {
      if (!ogg_page_bos(&page)) continue;
      ogg_stream_init(&stream, ogg_page_serialno(&page));
      ogg_stream_pagein(&stream, &page);
      ogg_packet p;
      if (ogg_stream_packetout(&stream, &p) == 1 && th_decode_headerin(&info, &comment, &setup, &p) > 0) {
        haveStream = true;
        headers = 1;
      } else {
        ogg_stream_clear(&stream);
      }
      continue;
    }
    ogg_stream_pagein(&stream, &page);
    ogg_packet p;
    while (ogg_stream_packetout(&stream, &p) == 1) {
      if (headers < 3) {
        if (th_decode_headerin(&info, &comment, &setup, &p) > 0) ++headers;
        if (headers == 3) decoder = th_decode_alloc(&info, setup);
        continue;
      }
      if (decoder == nullptr) continue;
      th_decode_packetin(decoder, &p, nullptr);
      th_ycbcr_buffer planes;
      th_decode_ycbcr_out(decoder, planes);
      ReferenceFrame f{planes[0].width, planes[0].height, planes[1].width, planes[1].height, {}, {}, {}};
      auto pack = [](const th_img_plane& plane, std::vector<uint8_t>* out) {
        for (int r = 0; r < plane.height; ++r) {
          out->insert(out->end(), plane.data + r * plane.stride, plane.data + r * plane.stride + plane.width);
        }
      };
      pack(planes[0], &f.y);
      pack(planes[1], &f.u);
      pack(planes[2], &f.v);
      frames.push_back(std::move(f));
    }
  }
  if (decoder != nullptr) th_decode_free(decoder);
  th_setup_free(setup);
  if (haveStream) ogg_stream_clear(&stream);
  th_comment_clear(&comment);
  th_info_clear(&info);
  ogg_sync_clear(&sync);
  return frames;
}

PlainScan ScanWithLibogg(const std::vector<uint8_t>& file) {
  // Pages in file order, each at its offset; packets of the Theora stream
  // (the one whose beginning page holds a Theora identification header).
  PlainScan scan;
  ogg_sync_state sync;
  SyncOver(&sync, file);
  ogg_stream_state stream{};
  int serial = -1;
  int64_t offset = 0;
  ogg_page page;
  for (long length; (length = ogg_sync_pageseek(&sync, &page)) != 0; offset += length < 0 ? -length : length) {
    if (length < 0) continue;
    if (serial < 0 && ogg_page_bos(&page) && page.body_len > 7 && std::memcmp(page.body, "\x80theora", 7) == 0) {
      serial = ogg_page_serialno(&page);
      ogg_stream_init(&stream, serial);
    }
    if (serial < 0 || ogg_page_serialno(&page) != serial) continue;
    ogg_stream_pagein(&stream, &page);
    ogg_packet p;
    for (bool first = true; ogg_stream_packetout(&stream, &p) == 1;) {
      if (p.bytes > 0 && (p.packet[0] & 0x80)) continue;  // a header
      if (first) {
        scan.pageStarts.push_back(offset);
        scan.pageFirstFrames.push_back(static_cast<int32_t>(scan.keyframes.size()));
        first = false;
      }
      scan.keyframes.push_back(p.bytes > 0 && !(p.packet[0] & 0x40) ? 1 : 0);
    }
  }
  if (serial >= 0) ogg_stream_clear(&stream);
  ogg_sync_clear(&sync);
  return scan;
}

namespace {

int64_t MemTell(qor::FileHandle h) { return static_cast<int64_t>(reinterpret_cast<MemFile*>(h)->position); }

int MemSeek(qor::FileHandle h, int64_t offset, int origin) {
  MemFile* f = reinterpret_cast<MemFile*>(h);
  const int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(f->position) : static_cast<int64_t>(f->size);
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(f->size)) return -1;
  f->position = static_cast<size_t>(target);
  return 0;
}

size_t MemRead(void* buffer, size_t size, size_t count, qor::FileHandle h) {
  MemFile* f = reinterpret_cast<MemFile*>(h);
  ++f->reads;
  if (size == 0 || f->position >= f->size) return 0;  // a test may cut the file short
  const size_t n = std::min(count, (f->size - f->position) / size);
  if (n > 0) std::memcpy(buffer, f->data + f->position, n * size);
  f->position += n * size;
  return n;
}

int MemEof(qor::FileHandle h) {
  const MemFile* f = reinterpret_cast<MemFile*>(h);
  return f->position >= f->size ? -1 : 0;
}

}  // namespace

const qor::FileAccessTable* MemFileTable() {
  static const qor::FileAccessTable table = {nullptr, nullptr, MemTell, MemSeek, MemRead, MemEof,
                                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &table;
}

}  // namespace movietest
