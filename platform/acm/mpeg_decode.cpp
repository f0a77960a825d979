#include "platform/acm/mpeg_decode.h"

#include <mpg123.h>

#include <cstring>
#include <new>

#include "platform/acm/mpeg_header.h"

namespace plat {
namespace acm {

struct MpegDecoder {
  mpg123_handle* handle;
  uint32_t rate;
  int channels;
};

namespace {

bool g_libraryReady = false;

bool LibraryReady() {
  if (!g_libraryReady) g_libraryReady = mpg123_init() == MPG123_OK;
  return g_libraryReady;
}

// Feeds one frame and copies what it decodes; false when the decoder failed.
bool DecodeOneFrame(MpegDecoder* d, const uint8_t* frame, uint32_t size, uint8_t* out, uint32_t room,
                    uint32_t* written) {
  *written = 0;
  if (mpg123_feed(d->handle, frame, size) != MPG123_OK) return false;
  for (;;) {
    off_t number = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    const int r = mpg123_decode_frame(d->handle, &number, &audio, &bytes);
    if (r == MPG123_NEW_FORMAT) continue;
    if (r == MPG123_NEED_MORE) return true;
    if (r != MPG123_OK) return false;
    if (bytes > room - *written) bytes = room - *written;
    if (bytes > 0) std::memcpy(out + *written, audio, bytes);
    *written += static_cast<uint32_t>(bytes);
  }
}

}  // namespace

MpegDecoder* OpenMpegDecoder(uint32_t rate, int channels) {
  if (!LibraryReady()) return nullptr;
  int error = 0;
  mpg123_handle* h = mpg123_new(nullptr, &error);
  if (h == nullptr) return nullptr;
  // Every frame decodes to its full length: no gap trimming, and the
  // encoder's information frame plays as the (silent) frame it is.
  mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
  mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0);
  mpg123_format_none(h);
  if (mpg123_format(h, static_cast<long>(rate), channels == 1 ? MPG123_MONO : MPG123_STEREO,
                    MPG123_ENC_SIGNED_16) != MPG123_OK ||
      mpg123_open_feed(h) != MPG123_OK) {
    mpg123_delete(h);
    return nullptr;
  }
  MpegDecoder* d = new (std::nothrow) MpegDecoder{h, rate, channels};
  if (d == nullptr) mpg123_delete(h);
  return d;
}

void CloseMpegDecoder(MpegDecoder* d) {
  if (d == nullptr) return;
  mpg123_delete(d->handle);
  delete d;
}

void DecodeMpegFrames(MpegDecoder* d, const uint8_t* src, uint32_t srcBytes, uint32_t* srcUsed, uint8_t* dst,
                      uint32_t dstBytes, uint32_t* dstUsed) {
  uint32_t pos = 0;
  uint32_t out = 0;
  uint32_t consumed = 0;  // up to the end of the last frame converted
  const uint32_t frameBytesOut = static_cast<uint32_t>(d->channels) * 2;
  while (pos + 4 <= srcBytes) {
    MpegHeader h;
    if (ParseMpegHeader(src + pos, &h) != 0 || h.frameSize == 0 || h.sampleRate != d->rate ||
        h.channels != d->channels) {
      ++pos;  // not a frame this stream decodes: step over the byte
      consumed = pos;
      continue;
    }
    if (h.frameSize > srcBytes - pos) break;                        // the frame is not all here
    if (h.samplesPerFrame * frameBytesOut > dstBytes - out) break;  // no room for its output
    uint32_t written = 0;
    if (!DecodeOneFrame(d, src + pos, h.frameSize, dst + out, dstBytes - out, &written)) break;
    out += written;
    pos += h.frameSize;
    consumed = pos;
  }
  // Junk stepped over counts as used; a frame cut off at the end of the
  // source is left for the next step.
  *srcUsed = consumed;
  *dstUsed = out;
}

}  // namespace acm
}  // namespace plat
