// A movie's sound: decoded by a reader of its own into 16-bit PCM (one or two
// channels, the stream's rate) and written into a one-second ring buffer of
// the sound device, which plays it looping while the stream clock runs. A
// worker keeps the ring filled about half a second ahead of the play cursor.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/kernel/threads.h"
#include "platform/media/media_internal.h"

namespace plat {

namespace {

std::atomic<IDirectSound*> g_device{nullptr};

constexpr int kRefillMs = 5;

}  // namespace

struct MediaAudio {
  std::mutex lock;  // the reader, the ring's write position and the pending samples
  StreamReader reader;
  IDirectSoundBuffer* ring = nullptr;
  uint32_t ringBytes = 0;
  uint32_t writePos = 0;
  uint32_t blockAlign = 0;
  int channels = 0;
  std::vector<int16_t> pending;  // decoded, not yet in the ring
  size_t pendingAt = 0;
  bool ended = false;
  Thread* worker = nullptr;
  std::atomic<int> quit{0};
};

namespace {

int16_t ToS16(double value) {
  const double scaled = value * 32768.0;
  if (!(scaled > -32768.0)) return -32768;  // also NaN
  if (scaled >= 32767.0) return 32767;
  return static_cast<int16_t>(scaled);
}

// One sample of a decoded frame as -1..1 (16-bit and 8-bit kept exact).
double SampleAt(const AVFrame* frame, int channel, int index, int channels) {
  const AVSampleFormat format = static_cast<AVSampleFormat>(frame->format);
  const bool planar = av_sample_fmt_is_planar(format);
  const uint8_t* base = planar ? frame->extended_data[channel] : frame->extended_data[0];
  const int at = planar ? index : index * channels + channel;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: return (base[at] - 128) / 128.0;
    case AV_SAMPLE_FMT_S16: return reinterpret_cast<const int16_t*>(base)[at] / 32768.0;
    case AV_SAMPLE_FMT_S32: return reinterpret_cast<const int32_t*>(base)[at] / 2147483648.0;
    case AV_SAMPLE_FMT_FLT: return reinterpret_cast<const float*>(base)[at];
    case AV_SAMPLE_FMT_DBL: return reinterpret_cast<const double*>(base)[at];
    default: return 0.0;
  }
}

// Decodes the next frame into the pending samples. False at the end.
bool DecodeMore(MediaAudio* a) {
  if (a->ended || ReadNextFrame(&a->reader) != 1) {
    a->ended = true;
    return false;
  }
  const AVFrame* frame = a->reader.frame;
  const int sourceChannels = frame->ch_layout.nb_channels;
  if (sourceChannels <= 0) return true;
  a->pending.erase(a->pending.begin(), a->pending.begin() + static_cast<std::ptrdiff_t>(a->pendingAt));
  a->pendingAt = 0;
  for (int i = 0; i < frame->nb_samples; ++i) {
    for (int c = 0; c < a->channels; ++c) {
      a->pending.push_back(ToS16(SampleAt(frame, std::min(c, sourceChannels - 1), i, sourceChannels)));
    }
  }
  return true;
}

// Writes `bytes` at the write position: pending sound, then silence at the end.
void WriteRing(MediaAudio* a, uint32_t bytes) {
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (bytes == 0 || MediaStepFails(kMediaStepSoundWrite) ||
      a->ring->Lock(a->writePos, bytes, &p1, &n1, &p2, &n2, 0) != DS_OK) {
    return;
  }
  for (auto [region, size] : {std::pair<void*, uint32_t>{p1, n1}, std::pair<void*, uint32_t>{p2, n2}}) {
    int16_t* out = static_cast<int16_t*>(region);
    size_t samples = size / sizeof(int16_t);
    while (samples > 0) {
      if (a->pendingAt == a->pending.size() && !DecodeMore(a)) {
        std::fill(out, out + samples, 0);
        break;
      }
      const size_t take = std::min(samples, a->pending.size() - a->pendingAt);
      std::copy_n(a->pending.begin() + static_cast<std::ptrdiff_t>(a->pendingAt), take, out);
      a->pendingAt += take;
      out += take;
      samples -= take;
    }
  }
  a->ring->Unlock(p1, n1, p2, n2);
  a->writePos = (a->writePos + bytes) % a->ringBytes;
}

// Keeps half the ring written ahead of the play cursor.
void Refill(MediaAudio* a) {
  uint32_t play = 0, write = 0;
  if (a->ring->GetCurrentPosition(&play, &write) != DS_OK) return;
  const uint32_t ahead = (a->writePos + a->ringBytes - play) % a->ringBytes;
  const uint32_t half = a->ringBytes / 2;
  if (ahead < half) WriteRing(a, (half - ahead) / a->blockAlign * a->blockAlign);
}

void AudioWorker(void* argument) {
  MediaAudio* a = static_cast<MediaAudio*>(argument);
  while (a->quit.load() == 0) {
    {
      std::lock_guard<std::mutex> hold(a->lock);
      Refill(a);
    }
    SleepRealMs(kRefillMs);
  }
}

}  // namespace

void SetMediaSoundDevice(IDirectSound* device) { g_device = device; }

MediaAudio* StartMediaAudio(const char* hostPath) {
  IDirectSound* device = g_device.load();
  if (device == nullptr) return nullptr;
  MediaAudio* a = new MediaAudio;
  if (!OpenStreamReader(hostPath, AVMEDIA_TYPE_AUDIO, &a->reader) || a->reader.codec->sample_rate <= 0) {
    EndMediaAudio(a);
    return nullptr;
  }
  a->channels = std::clamp(a->reader.codec->ch_layout.nb_channels, 1, 2);
  a->blockAlign = static_cast<uint32_t>(a->channels) * 2;
  const uint32_t rate = static_cast<uint32_t>(a->reader.codec->sample_rate);
  a->ringBytes = rate * a->blockAlign;
  WAVEFORMATEX format{1, static_cast<uint16_t>(a->channels), rate, a->ringBytes, static_cast<uint16_t>(a->blockAlign),
                      16, 0};
  DSBUFFERDESC desc{kDsBufferDescSize, DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLVOLUME,
                    a->ringBytes, 0, &format};
  if (device->CreateSoundBuffer(&desc, &a->ring, nullptr) != DS_OK) {
    a->ring = nullptr;
    EndMediaAudio(a);
    return nullptr;
  }
  WriteRing(a, a->ringBytes / 2 / a->blockAlign * a->blockAlign);
  a->worker = CreateThread(AudioWorker, a);
  if (a->worker == nullptr) {
    EndMediaAudio(a);
    return nullptr;
  }
  return a;
}

void EndMediaAudio(MediaAudio* a) {
  if (a == nullptr) return;
  if (a->worker != nullptr) {
    a->quit = 1;
    JoinThread(a->worker);
  }
  if (a->ring != nullptr) {
    a->ring->Stop();
    a->ring->Release();
  }
  CloseStreamReader(&a->reader);
  delete a;
}

void PlayMediaAudio(MediaAudio* a, bool play) {
  if (a == nullptr) return;
  if (play) a->ring->Play(0, 0, DSBPLAY_LOOPING);
  else a->ring->Stop();
}

void SeekMediaAudio(MediaAudio* a, int64_t time) {
  if (a == nullptr) return;
  std::lock_guard<std::mutex> hold(a->lock);
  SeekStreamReader(&a->reader, time);
  a->ended = false;
  a->pending.clear();
  a->pendingAt = 0;
  // Sound from the new place follows right after the play cursor.
  uint32_t play = 0, write = 0;
  a->ring->GetCurrentPosition(&play, &write);
  a->writePos = write / a->blockAlign * a->blockAlign;
  WriteRing(a, a->ringBytes / 2 / a->blockAlign * a->blockAlign);
}

}  // namespace plat
