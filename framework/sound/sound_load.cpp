#include "framework/sound/sound_load.h"

#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_buffers.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/stream_sound.h"
#include "framework/sound/wav_file.h"

namespace qor {

namespace {

constexpr uint32_t kWholeSoundFlags = plat::DSBCAPS_GLOBALFOCUS | plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_CTRLPAN |
                                      plat::DSBCAPS_CTRLFREQUENCY | plat::DSBCAPS_STATIC;  // 0x80E2
constexpr uint32_t kFallbackFlags = plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_CTRLPAN | plat::DSBCAPS_STATIC;  // 0xC2
constexpr uint32_t kRingFlags = kWholeSoundFlags | plat::DSBCAPS_GETCURRENTPOSITION2;                      // 0x180E2

// Data no buffer can hold; the load that gets it logs its own line too.
int RefuseSound() { return LogOutput("再生できない形式の音声データです"); }

// Copies the PCM into a buffer through one lock of the whole size.
int FillBuffer(SoundData* record, int index) {
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t s1 = 0, s2 = 0;
  SoundBufferSlot* slot = &record->slots[index];
  if (LockSoundBuffer(slot, 0, record->pcmSize, &p1, &s1, &p2, &s2) != 0) {
    return LogOutput("サウンドデータの転送に失敗しました_1");
  }
  const uint32_t first = s1 < record->pcmSize ? s1 : record->pcmSize;
  std::memcpy(p1, record->pcmData, first);
  if (p2 != nullptr && first < record->pcmSize) {
    const uint32_t rest = record->pcmSize - first;
    std::memcpy(p2, record->pcmData + first, rest < s2 ? rest : s2);
  }
  if (UnlockSoundBuffer(slot, p1, s1, p2, s2) != 0) return LogOutput("サウンドデータの転送に失敗しました_2");
  return 0;
}

}  // namespace

int CreateHandleSoundBuffers(const WAVEFORMATEX* format, uint32_t bytes, int kind, int count, int handle) {
  SoundData* record = GetSoundData(handle);
  if (record == nullptr) return -1;
  if (kind == kWholeSound) {
    if (count >= 1 && !IsBufferableSound(format, bytes)) return RefuseSound();
    for (int i = 0; i < count; ++i) {
      if (i == 0) {
        plat::DSBUFFERDESC desc{plat::kDsBufferDescSize, kWholeSoundFlags, bytes, 0, format};
        if (CreateSoundBuffer(&record->slots[0], &desc) != 0) {
          // A device without some of the controls may still take the sound.
          desc.dwFlags = kFallbackFlags;
          if (CreateSoundBuffer(&record->slots[0], &desc) != 0) FatalError("DirectSoundBuffer の作成に失敗しました");
        }
      } else if (DuplicateSoundBuffer(&record->slots[i], &record->slots[0]) != 0) {
        count = i;  // fewer copies to overlap with; the sound still plays
        break;
      }
      record->filled[i] = 0;
    }
    // A count of 0 or less makes no buffer and is kept as it is.
    record->bufferCount = count;
  } else if (kind == kStreamSound) {
    // Six seconds of the format.
    const uint64_t ring = uint64_t{6} * format->nAvgBytesPerSec;
    if (!IsBufferableSound(format, ring)) return RefuseSound();
    plat::DSBUFFERDESC desc{plat::kDsBufferDescSize, kRingFlags, static_cast<uint32_t>(ring), 0, format};
    if (CreateSoundBuffer(&record->slots[0], &desc) != 0) FatalError("ストリーム風サウンドバッファの作成に失敗しました");
    record->bufferCount = 1;
    AddLinkNode(&GetSoundState().streamListHead, &record->listNode, static_cast<uint32_t>(handle), 0);
  }
  record->kind = static_cast<uint32_t>(kind);
  return 0;
}

int CreateSoundFromMemory(const void* data, uint32_t size, int bufferCount, int shareWith) {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr || bufferCount > kMaxSoundBuffers) return -1;
  const int handle = AddSoundData(-1);
  if (handle == -1) return -1;
  if (s.createMode != 0) {
    if (LoadStreamSoundMem(data, size, 0, handle, s.createMode, shareWith) != 0) {
      DeleteSound(handle);
      return -1;
    }
    PrepareStreamSound(handle);
    return handle;
  }

  SoundConverter converter{};
  StreamHandle stream = OpenMemoryStream(data, size);
  uint8_t* pcm = nullptr;
  uint32_t pcmSize = 0;
  WAVEFORMATEX format{};
  SoundData* record = nullptr;
  if (stream == 0) goto failure;
  {
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    if (SetupSoundConverter(&source, &converter) != 0) {
      LogOutput("音声ファイルのＰＣＭへの変換に失敗しました");
      goto failure;
    }
  }
  if (ConvertWholeSound(&converter, &format, &pcm, &pcmSize) != 0) {
    LogOutput("音声ファイルを格納するメモリ領域の確保に失敗しました");
    goto failure;
  }
  EndSoundConverter(&converter);
  FreeMemoryStream(stream);
  stream = 0;  // the failure path below must not free it again

  if (CreateHandleSoundBuffers(&format, pcmSize, kWholeSound, bufferCount, handle) != 0) {
    FreeMemory(pcm);
    goto failure;
  }
  record = GetSoundData(handle);
  record->format = format;
  record->pcmSize = pcmSize;
  record->pcmData = pcm;
  // Duplicates share the first buffer's samples, so one copy fills them all.
  if (record->bufferCount >= 1 && FillBuffer(record, 0) != 0) goto failure;
  return handle;

failure:
  DeleteSound(handle);
  if (stream != 0) FreeMemoryStream(stream);
  EndSoundConverter(&converter);
  return -1;
}

int LoadSoundFile(const char* path, int bufferCount, int shareWith) {
  SoundState& s = GetSoundState();
  if (s.directSound == nullptr) return -1;
  if (s.createMode != 0) {
    const int handle = AddSoundData(-1);
    if (handle == -1) return -1;
    if (LoadStreamSoundFile(path, 0, handle, s.createMode, shareWith) != 0) {
      DeleteSound(handle);
      return -1;
    }
    PrepareStreamSound(handle);
    return handle;
  }
  uint8_t* image = nullptr;
  uint32_t size = 0;
  if (LoadFileToMemory(path, &image, &size) != 0) {
    return LogPrintf("右記の音声ファイルのロードに失敗しました_1：%s", path);
  }
  const int handle = CreateSoundFromMemory(image, size, bufferCount > kMaxSoundBuffers ? kMaxSoundBuffers : bufferCount, -1);
  FreeMemory(image);
  if (handle == -1) return LogPrintf("右記の音声ファイルのロードに失敗しました_2：%s", path);
  return handle;
}

int LoadSoundFileEntry2(const char* path, int bufferCount, int shareWith) {
  return LoadSoundFile(path, bufferCount, shareWith);
}

}  // namespace qor
