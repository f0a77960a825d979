// The records of the sound module: a sound's playback buffers, the two
// regions of a buffer lock, the converter that turns a source into PCM, the
// data parts of a stream sound and the record behind a sound handle.
#pragma once

#include <cstdint>

#include "framework/core/link_list.h"
#include "framework/core/files/file_access.h"
#include "platform/acm/acm.h"
#include "platform/dsound/dsound.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace qor {

using plat::WAVEFORMATEX;

constexpr int kMaxSoundBuffers = 10;
constexpr int kMaxStreamParts = 3;

// One playback buffer of a sound.
struct SoundBufferSlot {
  uint32_t valid;                       // 1 = the slot holds a buffer
  plat::IDirectSoundBuffer* buffer;
};

// The two regions of one buffer lock; the second starts at buffer offset 0
// and is null when the lock did not wrap.
struct SoundLockRegions {
  uint32_t offset;
  uint8_t* pointer1;
  uint8_t* pointer2;
  uint32_t size1, size2;
  uint32_t used1, used2;   // bytes already written into each region
  uint32_t left1, left2;   // bytes still free in each region
};

// The state of a conversion through the compression manager (compressed WAV
// and MPEG audio).
struct AcmConverterState {
  uint8_t* formatBlock;        // the source format, owned
  plat::HACMSTREAM mainStream;
  plat::HACMSTREAM spareStream;  // converts nothing until a backward seek
  uint8_t* sourceData;         // every compressed byte from the data start, owned
  uint32_t sourceSize;
  uint32_t readPosition;       // source bytes the main stream has consumed
  int32_t totalSamples;        // sum over the MPEG frames; -1: ask the stream
  uint32_t stepBytes;          // source bytes per conversion step
};

// The state of an Ogg Vorbis decode.
struct OggVorbisState {
  uint32_t decoderOpen;
  OggVorbis_File file;
  uint32_t wordSize;           // bytes per output sample
  int64_t totalSamples;
};

// One conversion of a sound source into PCM. The caller owns the record and
// clears `active` before the set-up, so that ending it is always allowed.
struct SoundConverter {
  uint32_t active;
  uint32_t endOfData;       // a refill found the source exhausted
  uint32_t kind;            // 0 plain PCM WAV, 1 compression manager, 2 Ogg Vorbis
  StreamSource source;       // a copy of the caller's stream; never closed here
  uint32_t dataStart;       // stream position of the first byte of sound data
  uint32_t dataSize;        // bytes of source data present
  WAVEFORMATEX outputFormat;
  AcmConverterState acm;
  OggVorbisState vorbis;
  uint8_t* outputBuffer;    // one block of PCM, owned
  uint32_t blockSize;       // bytes asked for per refill
  uint32_t bytesLeft;       // bytes of the output buffer not yet delivered
  uint32_t readOffset;      // offset in the output buffer of the next byte
  uint32_t pcmPosition;     // PCM bytes from the start to the next byte delivered
  uint32_t decoderVariant;
};

// One data part of a stream sound.
struct StreamPart {
  uint8_t loopCount;        // further plays after the first; 255 = endless
  uint32_t kind;            // 0 WAVE image in memory, 2 file image in memory, 3 read from the stream
  uint8_t* data;            // owned
  uint32_t size;
  StreamSource source;
  uint32_t loopStart;       // sample frame an endless part restarts at
  SoundConverter converter;
};

// The record behind a sound handle, allocated zero-filled.
struct SoundData {
  uint32_t check;                        // equals bits 16-26 of the handle
  SoundBufferSlot slots[kMaxSoundBuffers];
  WAVEFORMATEX format;                   // PCM format of the data and of every buffer
  uint32_t kind;                         // 0 whole sound in memory, 1 stream sound
  // Stream sounds.
  uint32_t playType;
  uint32_t playTime;                     // clock milliseconds at the last start
  int32_t shareSource;
  uint32_t sharerCount;
  int32_t currentUser;
  uint32_t deletePending;
  uint32_t ringSize;
  int32_t writeOffset;
  int32_t tailOffset;
  StreamPart parts[kMaxStreamParts];
  uint8_t ownsStream[kMaxStreamParts];
  int32_t partCount;
  int32_t currentPart;
  int32_t loopCounter;
  uint32_t partBytesDone;
  uint32_t length;                       // samples, over all parts
  uint32_t playedPosition;
  uint32_t lastCursor;
  uint8_t primed;
  uint8_t ending;
  uint8_t wrapPending;
  uint8_t reachedEnd;
  uint32_t restartPosition;
  uint32_t endOffset;
  uint32_t cursorAtEnd;
  uint32_t loopMark;
  // Where the last refill found the play cursor and how far ahead of it the
  // written data then reached: a cursor that has moved further since has run
  // past the data (the pump was starved).
  uint32_t refillCursor;
  uint32_t refillAhead;
  LinkNode listNode;                     // link in the list of stream sounds
  // Whole sounds.
  uint32_t pcmSize;
  uint8_t* pcmData;                      // owned
  uint32_t filled[kMaxSoundBuffers];
  int32_t bufferCount;                   // buffers created, 1 to 10
  int32_t currentBuffer;                 // the buffer started last (round robin)
};

}  // namespace qor
