#include "framework/sound/ogg_page_check.h"

#include <cstring>
#include <vector>

#include "framework/core/log.h"

namespace qor {

namespace {

constexpr int kPageHeaderBytes = 27;
constexpr int kMaxBodyBytes = 255 * 255;
constexpr int kVorbisHeaderPackets = 3;

// Flag bits of byte 5: continued packet, first page, last page.
constexpr uint8_t kContinued = 1, kFirstPage = 2, kLastPage = 4;

// The page checksum: CRC-32, polynomial 0x04C11DB7, not reflected, start 0,
// taken over the page with its own checksum field zeroed.
struct CrcTable {
  uint32_t entry[256];
};

constexpr CrcTable MakeCrcTable() {
  CrcTable t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04C11DB7u : r << 1;
    t.entry[i] = r;
  }
  return t;
}

constexpr CrcTable kCrc = MakeCrcTable();

uint32_t CrcAdd(uint32_t crc, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) crc = (crc << 8) ^ kCrc.entry[((crc >> 24) ^ bytes[i]) & 0xFF];
  return crc;
}

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// One logical stream of the current link.
struct LogicalStream {
  uint32_t serial;
  uint32_t nextSequence;
  bool ended;          // its last page has passed
  bool packetOpen;     // its last page ended inside a packet
  bool vorbis;         // its first packet is a Vorbis identification header
  uint32_t packets;    // packets completed so far (counted up to the header count)
  std::vector<uint8_t> setup;  // a Vorbis stream's third packet, gathered across its pages
};

struct LinkState {
  LogicalStream streams[kMaxOggStreamsPerLink];
  int count;
  bool firstPagesOnly;  // no page but first pages seen yet in this link
};

LogicalStream* FindStream(LinkState* link, uint32_t serial) {
  for (int i = 0; i < link->count; ++i) {
    if (link->streams[i].serial == serial) return &link->streams[i];
  }
  return nullptr;
}

// A link is over: each of its Vorbis streams must have had all its headers.
OggPageFault CloseLink(const LinkState& link, uint32_t* serial) {
  for (int i = 0; i < link.count; ++i) {
    if (link.streams[i].vorbis && link.streams[i].packets < kVorbisHeaderPackets) {
      *serial = link.streams[i].serial;
      return kOggHeadersMissing;
    }
  }
  return kOggPagesSound;
}

size_t ReadBytes(const StreamSource* s, uint8_t* buffer, size_t count) {
  if (count == 0) return 0;
  return s->functions.read(buffer, 1, count, s->handle);
}

bool AllStreamsEnded(const LinkState& link) {
  for (int i = 0; i < link.count; ++i) {
    if (!link.streams[i].ended) return false;
  }
  return link.count > 0;
}

// Whether "OggS" occurs in `first` (bytes already read) or anywhere in the
// rest of the stream; `scratch` is a buffer for the reading.
bool CapturePatternAhead(const StreamSource* source, const uint8_t* first, size_t firstSize, uint8_t* scratch,
                         size_t scratchSize) {
  static constexpr uint8_t kCapture[4] = {'O', 'g', 'g', 'S'};
  uint8_t tail[3] = {};
  size_t tailSize = 0;
  auto search = [&](const uint8_t* bytes, size_t size) {
    // The pattern may straddle the last three bytes seen before.
    uint8_t joined[6];
    size_t n = 0;
    for (size_t k = 0; k < tailSize; ++k) joined[n++] = tail[k];
    for (size_t k = 0; k < size && k < 3; ++k) joined[n++] = bytes[k];
    for (size_t k = 0; k + 4 <= n; ++k) {
      if (std::memcmp(joined + k, kCapture, 4) == 0) return true;
    }
    for (size_t k = 0; k + 4 <= size; ++k) {
      if (std::memcmp(bytes + k, kCapture, 4) == 0) return true;
    }
    if (size >= 3) {
      std::memcpy(tail, bytes + size - 3, 3);
      tailSize = 3;
    } else {
      const size_t keep = n < 3 ? n : 3;
      std::memmove(tail, joined + n - keep, keep);
      tailSize = keep;
    }
    return false;
  };
  if (search(first, firstSize)) return true;
  for (;;) {
    const size_t got = ReadBytes(source, scratch, scratchSize);
    if (got == 0) return false;
    if (search(scratch, got)) return true;
  }
}

// The order rules of one page against the link it belongs to.
OggPageFault PlacePage(LinkState* link, const uint8_t* header, const uint8_t* body, uint32_t bodySize,
                       OggPageWalk* walk) {
  const uint8_t flags = header[5];
  const uint32_t serial = ReadLe32(header + 14);
  const uint32_t sequence = ReadLe32(header + 18);
  LogicalStream* s = FindStream(link, serial);
  if ((flags & kFirstPage) != 0) {
    if (!link->firstPagesOnly) {
      // A first page after other pages begins the next chained link.
      const OggPageFault closed = CloseLink(*link, &walk->serial);
      if (closed != kOggPagesSound) return closed;
      link->count = 0;
      link->firstPagesOnly = true;
      ++walk->links;
      s = nullptr;
    }
    if (s != nullptr) return kOggFirstPageAgain;
    if ((flags & kContinued) != 0) return kOggContinuation;
    if (link->count == kMaxOggStreamsPerLink) return kOggTooManyStreams;
    s = &link->streams[link->count++];
    *s = LogicalStream{};
    s->serial = serial;
    s->nextSequence = sequence;
    s->vorbis = bodySize >= 7 && body[0] == 1 && std::memcmp(body + 1, "vorbis", 6) == 0;
  } else {
    link->firstPagesOnly = false;
    if (s == nullptr) return kOggNoFirstPage;
    if (s->ended) return kOggAfterLastPage;
  }
  const int32_t step = static_cast<int32_t>(sequence - s->nextSequence);
  if (step > 0) return kOggSequenceGap;
  if (step < 0) return kOggSequenceRepeat;
  if (((flags & kContinued) != 0) != s->packetOpen) return kOggContinuation;
  s->nextSequence = sequence + 1;
  const int segments = header[26];
  uint32_t at = 0;
  for (int i = 0; i < segments; ++i) {
    const uint8_t lacing = header[kPageHeaderBytes + i];
    const bool inSetup = s->vorbis && s->packets == kVorbisHeaderPackets - 1;
    if (inSetup) s->setup.insert(s->setup.end(), body + at, body + at + lacing);
    at += lacing;
    if (lacing == 255 || s->packets == kVorbisHeaderPackets) continue;
    ++s->packets;
    if (inSetup) {
      if (CheckVorbisSetupHeader(s->setup.data(), s->setup.size(), &walk->setup) != 0) return kOggVorbisSetup;
      s->setup = std::vector<uint8_t>();
    }
  }
  if (segments > 0) s->packetOpen = header[kPageHeaderBytes + segments - 1] == 255;
  if ((flags & kLastPage) != 0) s->ended = true;
  return kOggPagesSound;
}

OggPageFault Walk(const StreamSource* source, OggPageWalk* walk) {
  std::vector<uint8_t> header(kPageHeaderBytes + 255);
  std::vector<uint8_t> body(kMaxBodyBytes);
  LinkState link{};
  link.firstPagesOnly = true;
  int64_t offset = 0;
  for (;;) {
    walk->offset = offset;
    const size_t got = ReadBytes(source, header.data(), kPageHeaderBytes);
    if (got == 0 && walk->pages > 0) break;  // the end, between two pages
    if (got < 4 || std::memcmp(header.data(), "OggS", 4) != 0) {
      if (walk->pages == 0) return kOggNotOgg;
      // Bytes after the last page of every stream (a tag some programs
      // append) are left alone, as long as no page hides among them.
      if (AllStreamsEnded(link) && !CapturePatternAhead(source, header.data(), got, body.data(), body.size())) break;
      return got < 4 ? kOggPageCut : kOggCapturePattern;
    }
    if (got < kPageHeaderBytes) return kOggPageCut;
    if (header[4] != 0) return kOggVersion;
    if ((header[5] & ~(kContinued | kFirstPage | kLastPage)) != 0) return kOggHeaderFlags;
    walk->serial = ReadLe32(&header[14]);
    const int segments = header[26];
    if (ReadBytes(source, &header[kPageHeaderBytes], static_cast<size_t>(segments)) !=
        static_cast<size_t>(segments)) {
      return kOggPageCut;
    }
    uint32_t bodySize = 0;
    for (int i = 0; i < segments; ++i) bodySize += header[kPageHeaderBytes + i];
    if (ReadBytes(source, body.data(), bodySize) != bodySize) return kOggPageCut;
    const uint32_t stored = ReadLe32(&header[22]);
    std::memset(&header[22], 0, 4);
    uint32_t crc = CrcAdd(0, header.data(), static_cast<size_t>(kPageHeaderBytes + segments));
    crc = CrcAdd(crc, body.data(), bodySize);
    if (crc != stored) return kOggChecksum;
    const OggPageFault placed = PlacePage(&link, header.data(), body.data(), bodySize, walk);
    if (placed != kOggPagesSound) return placed;
    ++walk->pages;
    offset += kPageHeaderBytes + segments + bodySize;
  }
  walk->offset = offset;
  return CloseLink(link, &walk->serial);
}

}  // namespace

int WalkOggPages(const StreamSource* source, OggPageWalk* walk) {
  *walk = OggPageWalk{};
  walk->links = 1;
  if (source->functions.seek(source->handle, 0, 0) != 0) {
    walk->fault = kOggReadFailed;
    return -1;
  }
  walk->fault = Walk(source, walk);
  if (source->functions.seek(source->handle, 0, 0) != 0 && walk->fault == kOggPagesSound) {
    walk->fault = kOggReadFailed;
  }
  return walk->fault == kOggPagesSound ? 0 : -1;
}

const char* OggPageFaultName(OggPageFault fault) {
  switch (fault) {
    case kOggPagesSound: return "sound";
    case kOggNotOgg: return "not Ogg";
    case kOggCapturePattern: return "capture pattern";
    case kOggVersion: return "version";
    case kOggHeaderFlags: return "header flags";
    case kOggPageCut: return "page cut short";
    case kOggChecksum: return "checksum";
    case kOggSequenceGap: return "page missing";
    case kOggSequenceRepeat: return "page number repeated";
    case kOggNoFirstPage: return "no first page";
    case kOggFirstPageAgain: return "first page repeated";
    case kOggAfterLastPage: return "page after the last page";
    case kOggContinuation: return "continued flag";
    case kOggHeadersMissing: return "header packets missing";
    case kOggTooManyStreams: return "too many streams";
    case kOggReadFailed: return "read failed";
    case kOggVorbisSetup: return "setup header";
  }
  return "?";
}

int CheckOggPagesForDecoder(const StreamSource* source) {
  OggPageWalk walk;
  if (WalkOggPages(source, &walk) == 0) return 0;
  if (walk.fault == kOggVorbisSetup) {
    LogPrintf("Ogg ストリームが壊れているため読み込みません：%s 符号帳 %d %s 位置 %lld 論理ストリーム %08x\n",
              OggPageFaultName(walk.fault), walk.setup.codebook, VorbisSetupFaultName(walk.setup.fault),
              static_cast<long long>(walk.offset), walk.serial);
  } else if (walk.fault != kOggNotOgg) {
    LogPrintf("Ogg ストリームが壊れているため読み込みません：%s 位置 %lld 論理ストリーム %08x\n",
              OggPageFaultName(walk.fault), static_cast<long long>(walk.offset), walk.serial);
  }
  return -1;
}

}  // namespace qor
