#include "framework/sound/stream_sound.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/wav_file.h"

namespace qor {

namespace {

// Releases a part that was being added, and clears it.
void DropPart(StreamPart* part) {
  EndSoundConverter(&part->converter);
  if (part->source.handle != 0) FreeMemoryStream(part->source.handle);
  if (part->data != nullptr) FreeMemory(part->data);
  std::memset(static_cast<void*>(part), 0, sizeof *part);
}

// The part's data in memory, its own memory stream over it and its converter.
int OpenImagePart(StreamPart* part) {
  part->source.handle = OpenMemoryStream(part->data, part->size);
  if (part->source.handle == 0) return -1;
  part->source = MakeStreamSource(GetMemoryStreamTable(), part->source.handle);
  return SetupSoundConverter(&part->source, &part->converter);
}

// Kind 0: the whole source converted once into a WAVE image of its PCM.
int ConvertToImage(const StreamSource* source, StreamPart* part) {
  uint8_t* file = nullptr;
  uint32_t fileSize = 0;
  if (LoadStreamToMemory(source, &file, &fileSize) != 0) return LogOutput("音声データの読み込みに失敗しました");
  SoundConverter converter{};
  const StreamHandle stream = OpenMemoryStream(file, fileSize);
  WAVEFORMATEX format{};
  uint8_t* pcm = nullptr;
  uint32_t pcmSize = 0;
  int result = -1;
  if (stream != 0) {
    const StreamSource memory = MakeStreamSource(GetMemoryStreamTable(), stream);
    if (SetupSoundConverter(&memory, &converter) == 0 && ConvertWholeSound(&converter, &format, &pcm, &pcmSize) == 0) {
      result = 0;
    }
    EndSoundConverter(&converter);
    FreeMemoryStream(stream);
  }
  FreeMemory(file);
  if (result != 0) return LogOutput("音声データの変換に失敗しました");
  result = BuildWaveImage(&part->data, &part->size, &format, sizeof format, pcm, pcmSize);
  FreeMemory(pcm);
  if (result != 0 || OpenImagePart(part) != 0) return LogOutput("音声データの変換に失敗しました");
  return 0;
}

// The ring of a sound's first part: a valid stream sound's own ring when the
// formats agree, else a new one.
int ChooseRing(SoundData* record, int handle, int shareWith) {
  SoundData* other = shareWith != -1 ? GetSoundData(shareWith) : nullptr;
  if (other != nullptr && other != record && other->kind == kStreamSound && other->shareSource == -1 &&
      std::memcmp(&other->format, &record->format, sizeof record->format) == 0) {
    record->kind = kStreamSound;
    record->bufferCount = 1;
    AddLinkNode(&GetSoundState().streamListHead, &record->listNode, static_cast<uint32_t>(handle), 0);
    record->shareSource = shareWith;
    ++other->sharerCount;
    record->ringSize = other->ringSize;
  } else {
    const uint64_t ring = uint64_t{6} * record->format.nAvgBytesPerSec;
    if (CreateHandleSoundBuffers(&record->format, static_cast<uint32_t>(ring > UINT32_MAX ? 0 : ring), kStreamSound,
                                 1, handle) != 0) {
      return -1;
    }
    record->ringSize = static_cast<uint32_t>(ring);
    record->shareSource = -1;
  }
  record->sharerCount = 0;
  record->currentUser = -1;
  record->deletePending = 0;
  return 0;
}

}  // namespace

int AddSreamSound(const StreamSource* source, int loopCount, int handle, int kind, int* ownsStream, int shareWith) {
  SoundData* record = GetSoundData(handle);
  if (record == nullptr) return -1;
  if (record->partCount > 0) {
    if (record->kind != kStreamSound) {
      return LogOutput("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
    }
    SoundBufferSlot* slot = nullptr;
    if (ClaimStreamBuffer(handle, record, &slot, 0) == 0 && IsStreamPlaying(handle) == 1) {
      return LogOutput("既に再生中のストリームサウンドデータにデータを追加しようとしました\n");
    }
    if (record->partCount >= kMaxStreamParts) return LogOutput("ストリーム風サウンドの制御データ領域がいっぱいです\n");
  }
  if (kind != static_cast<int>(kStreamPartWhole) && kind != static_cast<int>(kStreamPartImage) &&
      kind != static_cast<int>(kStreamPartDirect)) {
    return LogOutput("音声データのオープンに失敗しました");  // no such part kind
  }

  StreamPart* part = &record->parts[record->partCount];
  std::memset(static_cast<void*>(part), 0, sizeof *part);
  part->kind = static_cast<uint32_t>(kind);
  source->functions.seek(source->handle, 0, 0);
  if (kind == static_cast<int>(kStreamPartWhole)) {
    if (ConvertToImage(source, part) != 0) {
      DropPart(part);
      return -1;
    }
    *ownsStream = 1;
  } else if (kind == static_cast<int>(kStreamPartImage)) {
    if (LoadStreamToMemory(source, &part->data, &part->size) != 0) {
      DropPart(part);
      return LogOutput("音声データの読み込みに失敗しました");
    }
    if (OpenImagePart(part) != 0) {
      DropPart(part);
      return LogOutput("音声データのオープンに失敗しました");
    }
    *ownsStream = 1;
  } else {
    if (SetupSoundConverter(source, &part->converter) != 0) {
      DropPart(part);
      return LogOutput("音声データのオープンに失敗しました");
    }
    *ownsStream = 0;
  }

  WAVEFORMATEX format{};
  GetConverterFormat(&part->converter, &format);
  if (record->partCount > 0) {
    if (std::memcmp(&format, &record->format, sizeof format) != 0) {
      DropPart(part);
      return LogOutput("フォーマットの違う音声データは同時に使うことは出来ません");
    }
  } else {
    record->format = format;
    if (ChooseRing(record, handle, shareWith) != 0) {
      DropPart(part);
      return -1;
    }
  }

  part->loopCount = static_cast<uint8_t>(loopCount);
  ++record->partCount;
  // The length counts what a whole conversion reserves, so an Ogg Vorbis
  // part adds its second of spare room.
  uint64_t samples = 0;
  for (int i = 0; i < record->partCount; ++i) {
    samples += GetConvertedSoundSize(&record->parts[i].converter) / record->format.nBlockAlign;
  }
  record->length = samples > INT32_MAX ? INT32_MAX : static_cast<uint32_t>(samples);
  return 0;
}

int LoadStreamSoundFile(const char* path, int loopCount, int handle, int kind, int shareWith) {
  const FileHandle file = FileOpenDispatch(path, 0, 1, 0);
  if (file == 0) return LogPrintf("右記のＷＡＶファイルのロードに失敗しました：%s \n", path);
  const StreamSource source = MakeStreamSource(GetFileStreamTable(), file);
  int owns = 0;
  if (AddSreamSound(&source, loopCount, handle, kind, &owns, shareWith) != 0) {
    FileCloseDispatch(file);
    return LogPrintf("右記のＷＡＶファイルのセットアップに失敗しました：%s \n", path);
  }
  if (owns == 1) FileCloseDispatch(file);
  SoundData* record = GetSoundData(handle);
  record->ownsStream[record->partCount - 1] = 1;  // a direct part's file closes with the sound
  return 0;
}

int LoadStreamSoundMem(const void* data, uint32_t size, int loopCount, int handle, int kind, int shareWith) {
  const StreamHandle stream = OpenMemoryStream(data, size);
  if (stream == 0) return LogOutput("ＷＡＶファイルのストリームイメージハンドルの作成に失敗しました \n");
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  int owns = 0;
  if (kind == static_cast<int>(kStreamPartDirect)) kind = static_cast<int>(kStreamPartImage);
  if (AddSreamSound(&source, loopCount, handle, kind, &owns, shareWith) != 0) {
    FreeMemoryStream(stream);
    return LogOutput("ＷＡＶファイルのストリームイメージのセットアップに失敗しました \n");
  }
  if (owns == 1) FreeMemoryStream(stream);
  SoundData* record = GetSoundData(handle);
  record->ownsStream[record->partCount - 1] = static_cast<uint8_t>(owns);
  return 0;
}

void FreeStreamParts(SoundData* record) {
  for (int i = 0; i < record->partCount; ++i) {
    StreamPart* part = &record->parts[i];
    const StreamSource input = part->converter.source;
    EndSoundConverter(&part->converter);
    if (part->data != nullptr) FreeMemory(part->data);
    part->data = nullptr;
    if (record->ownsStream[i] == 1 && part->kind == kStreamPartDirect && input.functions.close != nullptr) {
      input.functions.close(input.handle);
    }
    if (part->source.handle != 0) part->source.functions.close(part->source.handle);
    part->source.handle = 0;
  }
  record->partCount = 0;
}

}  // namespace qor
