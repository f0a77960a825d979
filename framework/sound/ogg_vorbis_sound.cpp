#include "framework/sound/ogg_vorbis_sound.h"

#include "framework/sound/ogg_page_check.h"
#include "framework/sound/sound_state.h"

namespace qor {

namespace {

constexpr uint32_t kVorbisBlockSize = 4096;
constexpr int64_t kReserveSamples = 44100;
// Holes in a row that a decode step steps over before it gives up.
constexpr int kMaxHoles = 64;

size_t OggStreamRead(void* buffer, size_t size, size_t count, void* data) {
  const auto* s = static_cast<const StreamSource*>(data);
  if (s == nullptr) return static_cast<size_t>(-1);
  return s->functions.read(buffer, size, count, s->handle);
}

int OggStreamSeek(void* data, ogg_int64_t offset, int origin) {
  const auto* s = static_cast<const StreamSource*>(data);
  if (s == nullptr) return -1;
  return s->functions.seek(s->handle, offset, origin);
}

int ReturnZero(void*) { return 0; }  // the stream stays open for its owner

long OggStreamTell(void* data) {
  const auto* s = static_cast<const StreamSource*>(data);
  if (s == nullptr) return -1;
  return static_cast<long>(s->functions.tell(s->handle));
}

const ov_callbacks kCallbacks = {OggStreamRead, OggStreamSeek, ReturnZero, OggStreamTell};

}  // namespace

int OpenOggVorbisStream(SoundConverter* c) {
  OggVorbisState& v = c->vorbis;
  v.decoderOpen = 0;
  // libvorbisfile trusts page order and header completeness; damaged
  // streams stop here, before it sees them.
  if (CheckOggPagesForDecoder(&c->source) != 0) return -1;
  if (ov_open_callbacks(&c->source, &v.file, nullptr, 0, kCallbacks) != 0) return -1;
  v.decoderOpen = 1;
  const vorbis_info* info = ov_info(&v.file, -1);
  // The length must be known. Channels and rate are taken as the stream has
  // them: a format the device cannot play is refused where the buffers are
  // made, with the line every other unplayable sound gets.
  const ogg_int64_t total = ov_pcm_total(&v.file, -1);
  if (info == nullptr || total < 0 || info->channels < 1 || info->rate < 1) {
    CloseOggVorbisStream(c);
    return -1;
  }
  // On a chained file the library may leave its position past the first
  // link; every sound starts at its first sample.
  if (ov_pcm_tell(&v.file) != 0) ov_pcm_seek(&v.file, 0);
  v.wordSize = GetSoundState().oggVorbisWordSize == 1 ? 1 : 2;
  v.totalSamples = total;
  WAVEFORMATEX& f = c->outputFormat;
  f = WAVEFORMATEX{};
  f.wFormatTag = plat::WAVE_FORMAT_PCM;
  f.nChannels = static_cast<uint16_t>(info->channels);
  f.nSamplesPerSec = static_cast<uint32_t>(info->rate);
  f.nBlockAlign = static_cast<uint16_t>(f.nChannels * v.wordSize);
  f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
  f.wBitsPerSample = static_cast<uint16_t>(v.wordSize * 8);
  if (GetOggVorbisBufferSize(c) > UINT32_MAX) {
    CloseOggVorbisStream(c);
    return -1;
  }
  c->blockSize = kVorbisBlockSize;
  c->dataSize = static_cast<uint32_t>(GetOggVorbisPcmBytes(c));
  c->kind = 2;
  return 0;
}

int DecodeOggVorbisPcm(SoundConverter* c) {
  OggVorbisState& v = c->vorbis;
  for (int holes = 0; holes <= kMaxHoles; ++holes) {
    int section = 0;
    const long got = ov_read(&v.file, reinterpret_cast<char*>(c->outputBuffer), static_cast<int>(c->blockSize), 0,
                             static_cast<int>(v.wordSize), v.wordSize == 1 ? 0 : 1, &section);
    if (got == OV_HOLE) continue;  // a gap in the data: what follows still plays
    if (got <= 0) return -1;       // the end, or data that cannot be decoded
    // A chained stream whose next link changes the format ends here.
    const vorbis_info* info = ov_info(&v.file, -1);
    if (info == nullptr || info->channels != c->outputFormat.nChannels ||
        static_cast<uint32_t>(info->rate) != c->outputFormat.nSamplesPerSec) {
      return -1;
    }
    c->bytesLeft = static_cast<uint32_t>(got);
    return 0;
  }
  return -1;
}

int SeekOggVorbisPcm(SoundConverter* c, uint32_t sample) {
  ov_pcm_seek(&c->vorbis.file, static_cast<ogg_int64_t>(sample));
  c->bytesLeft = 0;
  c->readOffset = 0;
  c->pcmPosition = sample * c->outputFormat.nBlockAlign;
  return 0;
}

int CloseOggVorbisStream(SoundConverter* c) {
  if (c->vorbis.decoderOpen == 1) {
    ov_clear(&c->vorbis.file);
    c->vorbis.decoderOpen = 0;
  }
  return 0;
}

uint64_t GetOggVorbisPcmBytes(const SoundConverter* c) {
  return uint64_t{c->outputFormat.nBlockAlign} * static_cast<uint64_t>(c->vorbis.totalSamples);
}

uint64_t GetOggVorbisBufferSize(const SoundConverter* c) {
  return uint64_t{c->outputFormat.nBlockAlign} * static_cast<uint64_t>(c->vorbis.totalSamples + kReserveSamples);
}

}  // namespace qor
