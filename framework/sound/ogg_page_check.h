// The page walk an Ogg stream passes before libvorbisfile sees it. The
// library trusts page order: a page missing or repeated after the headers
// makes libogg move memory by a negative size (a crash), and a chained link
// whose header packets stop short leaks inside vorbisfile. So every page is
// checked from the first byte to the last (capture pattern, version, flags,
// segment table and body inside the stream, checksum), each logical
// stream's pages run without gap or repeat and continue packets as their
// flags say, and every Vorbis stream of every link carries its three header
// packets, the third a setup header whose codebooks the decoder can build.
#pragma once

#include <cstdint>

#include "framework/core/files/file_access.h"
#include "framework/sound/vorbis_setup_check.h"

namespace qor {

enum OggPageFault : int {
  kOggPagesSound = 0,
  kOggNotOgg,            // the stream does not start with a page: some other format
  kOggCapturePattern,    // a page does not start where the previous one ended
  kOggVersion,           // stream structure version other than 0
  kOggHeaderFlags,       // flag bits other than continued, first and last
  kOggPageCut,           // the header, segment table or body runs past the end
  kOggChecksum,          // the page checksum does not match its bytes
  kOggSequenceGap,       // a page of a logical stream is missing
  kOggSequenceRepeat,    // a page number of a logical stream comes again
  kOggNoFirstPage,       // a stream's first page lacks the first-page flag
  kOggFirstPageAgain,    // a first page for a stream already running in its link
  kOggAfterLastPage,     // a page after the stream's last page
  kOggContinuation,      // the continued flag disagrees with the page before
  kOggHeadersMissing,    // a Vorbis stream ended before its three header packets
  kOggTooManyStreams,    // more logical streams in one link than the walk follows
  kOggReadFailed,        // the stream could not be positioned
  kOggVorbisSetup,       // a Vorbis setup header the decoder cannot build (see `setup`)
};

struct OggPageWalk {
  OggPageFault fault;
  int64_t offset;     // stream position of the page at fault (or of the stream's end)
  uint32_t serial;    // the logical stream at fault, where there is one
  uint32_t pages;     // pages walked
  uint32_t links;     // chained links seen
  VorbisSetupCheck setup;  // for kOggVorbisSetup: the codebook at fault and why
};

// Logical streams one link may hold at once.
constexpr int kMaxOggStreamsPerLink = 32;

// Walks the whole stream from position 0 and leaves it at position 0.
// 0 when every page is sound; -1 otherwise, with the reason in `walk`.
int WalkOggPages(const StreamSource* source, OggPageWalk* walk);

// The short name of a fault, as the log line gives it.
const char* OggPageFaultName(OggPageFault fault);

// WalkOggPages with the log line for an Ogg stream that fails (nothing is
// logged for a stream that is not Ogg at all). 0 / -1.
int CheckOggPagesForDecoder(const StreamSource* source);

}  // namespace qor
