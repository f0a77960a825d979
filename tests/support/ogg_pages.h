// Ogg files taken apart into pages and put together again, with single
// pages changed (number, flags, serial) and their checksums set again by
// libogg itself: the damaged inputs the page walk must refuse, for the
// sound tests and the fuzz targets' seed maker alike (libogg only).
#pragma once

#include <ogg/ogg.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace soundtest {

using Page = std::vector<uint8_t>;

// The pages of a file as libogg's sync layer finds them.
inline std::vector<Page> SplitPages(const std::vector<uint8_t>& file) {
  std::vector<Page> out;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  std::memcpy(ogg_sync_buffer(&sync, static_cast<long>(file.size())), file.data(), file.size());
  ogg_sync_wrote(&sync, static_cast<long>(file.size()));
  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    Page bytes(page.header, page.header + page.header_len);
    bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    out.push_back(bytes);
  }
  ogg_sync_clear(&sync);
  return out;
}

inline std::vector<uint8_t> JoinPages(const std::vector<Page>& pages) {
  std::vector<uint8_t> out;
  for (const Page& p : pages) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline uint32_t PageSerial(const Page& p) { return p[14] | p[15] << 8 | p[16] << 16 | static_cast<uint32_t>(p[17]) << 24; }
inline uint32_t PageNumber(const Page& p) { return p[18] | p[19] << 8 | p[20] << 16 | static_cast<uint32_t>(p[21]) << 24; }

// The checksum as libogg computes it, after a change to the page.
inline void FixChecksum(Page* p) {
  ogg_page page;
  page.header = p->data();
  page.header_len = 27 + (*p)[26];
  page.body = p->data() + page.header_len;
  page.body_len = static_cast<long>(p->size()) - page.header_len;
  ogg_page_checksum_set(&page);
}

inline void SetPageNumber(Page* p, uint32_t number) {
  for (int i = 0; i < 4; ++i) (*p)[18 + static_cast<size_t>(i)] = static_cast<uint8_t>(number >> (8 * i));
  FixChecksum(p);
}

inline void SetPageSerial(Page* p, uint32_t serial) {
  for (int i = 0; i < 4; ++i) (*p)[14 + static_cast<size_t>(i)] = static_cast<uint8_t>(serial >> (8 * i));
  FixChecksum(p);
}

inline void SetPageFlags(Page* p, uint8_t flags) {
  (*p)[5] = flags;
  FixChecksum(p);
}

// One page holding a single whole packet of its own logical stream.
inline Page SinglePacketPage(uint32_t serial, bool first, bool last, uint32_t number,
                             const std::vector<uint8_t>& packet) {
  ogg_stream_state os;
  ogg_stream_init(&os, static_cast<int>(serial));
  ogg_packet p{};
  p.packet = const_cast<uint8_t*>(packet.data());
  p.bytes = static_cast<long>(packet.size());
  p.b_o_s = first;
  p.e_o_s = last;
  os.pageno = number;
  ogg_stream_packetin(&os, &p);
  ogg_page page;
  ogg_stream_flush(&os, &page);
  if (!first) {  // libogg marks a stream state's first page as such
    page.header[5] = static_cast<unsigned char>(page.header[5] & ~2);
    ogg_page_checksum_set(&page);
  }
  Page out(page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
  ogg_stream_clear(&os);
  return out;
}

// Index of the first page of `serial` that starts no packet before the
// Vorbis set-up header is over (page 0 and the header pages excluded): an
// audio page with pages of the same stream on both sides.
inline size_t MiddleAudioPage(const std::vector<Page>& pages, uint32_t serial) {
  std::vector<size_t> own;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (PageSerial(pages[i]) == serial) own.push_back(i);
  }
  return own.size() >= 5 ? own[own.size() / 2] : 0;
}

}  // namespace soundtest

namespace soundtest {

struct Packet {
  std::vector<uint8_t> bytes;
  int64_t granule;
};

// The packets of one logical stream of a file, with their granule positions.
inline std::vector<Packet> PacketsOf(const std::vector<uint8_t>& file, uint32_t serial) {
  std::vector<Packet> out;
  ogg_stream_state os;
  ogg_stream_init(&os, static_cast<int>(serial));
  for (const Page& p : SplitPages(file)) {
    if (PageSerial(p) != serial) continue;
    ogg_page page;
    page.header = const_cast<unsigned char*>(p.data());
    page.header_len = 27 + p[26];
    page.body = const_cast<unsigned char*>(p.data()) + page.header_len;
    page.body_len = static_cast<long>(p.size()) - page.header_len;
    ogg_stream_pagein(&os, &page);
    ogg_packet packet;
    while (ogg_stream_packetout(&os, &packet) == 1) {
      out.push_back({std::vector<uint8_t>(packet.packet, packet.packet + packet.bytes), packet.granulepos});
    }
  }
  ogg_stream_clear(&os);
  return out;
}

// The packets paged again with at most `segments` lacing values a page, so
// that most packets run on into continued pages; the first packet alone on
// the first page, as a stream's identification header must be.
inline std::vector<Page> RepagePackets(const std::vector<Packet>& packets, uint32_t serial, int segments) {
  std::vector<Page> out;
  std::vector<uint8_t> lacing, body;
  int64_t granule = -1;
  bool continued = false, nextContinued = false;
  uint32_t number = 0;
  auto emit = [&](bool last) {
    Page p = {'O', 'g', 'g', 'S', 0};
    p.push_back(static_cast<uint8_t>((continued ? 1 : 0) | (number == 0 ? 2 : 0) | (last ? 4 : 0)));
    for (int i = 0; i < 8; ++i) p.push_back(static_cast<uint8_t>(static_cast<uint64_t>(granule) >> (8 * i)));
    for (int i = 0; i < 4; ++i) p.push_back(static_cast<uint8_t>(serial >> (8 * i)));
    for (int i = 0; i < 4; ++i) p.push_back(static_cast<uint8_t>(number >> (8 * i)));
    for (int i = 0; i < 4; ++i) p.push_back(0);
    p.push_back(static_cast<uint8_t>(lacing.size()));
    p.insert(p.end(), lacing.begin(), lacing.end());
    p.insert(p.end(), body.begin(), body.end());
    FixChecksum(&p);
    out.push_back(p);
    ++number;
    lacing.clear();
    body.clear();
    granule = -1;
    continued = nextContinued;
  };
  for (size_t k = 0; k < packets.size(); ++k) {
    const Packet& packet = packets[k];
    size_t at = 0;
    for (;;) {
      const size_t left = packet.bytes.size() - at;
      const uint8_t value = static_cast<uint8_t>(left >= 255 ? 255 : left);
      lacing.push_back(value);
      body.insert(body.end(), packet.bytes.begin() + static_cast<long>(at), packet.bytes.begin() + static_cast<long>(at + value));
      at += value;
      const bool done = value < 255;
      if (done) granule = packet.granule;
      if (static_cast<int>(lacing.size()) == segments || (done && k == 0)) {
        nextContinued = !done;
        emit(done && k + 1 == packets.size());
        if (done) break;
        continue;
      }
      if (done) break;
    }
  }
  if (!lacing.empty()) {
    nextContinued = false;
    emit(true);
  }
  return out;
}

}  // namespace soundtest
