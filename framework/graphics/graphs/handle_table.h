// Handles: one 32-bit value names every framework object a caller holds.
//
//   bit 31      always 0 (a valid handle is never negative)
//   bits 27-30  kind (the kind tag is the kind number << 27)
//   bits 16-26  check number of the record (0..2047)
//   bits 0-15   slot index in the kind's table
//
// Every kind keeps one HandleTable. The check number changes with every new
// record of a kind, so a handle whose record was deleted and whose slot was
// reused no longer validates (until the 2048 check numbers come round).
//
// The table only maps slots to records; the kind's own code allocates and
// frees the records (or points slots at records kept in place) and decides
// what a full table means for it. Every record starts with its u32 check.
#pragma once

#include <cstdint>

namespace qor {

constexpr int32_t kHandleKindMask = 0x78000000;
constexpr int32_t kHandleCheckMask = 0x07FF0000;
constexpr int32_t kHandleIndexMask = 0x0000FFFF;
constexpr int32_t kHandleCheckLimit = 2048;

// Kind tags and table sizes.
constexpr int32_t kGraphHandleTag = 0x08000000;
constexpr int32_t kGraphHandleMax = 32768;
constexpr int32_t kSoundHandleTag = 0x10000000;
constexpr int32_t kSoundHandleMax = 4096;
constexpr int32_t kMovieHandleTag = 0x18000000;
constexpr int32_t kMovieHandleMax = 100;
constexpr int32_t kFontHandleTag = 0x20000000;
constexpr int32_t kFontHandleMax = 40;
constexpr int32_t kSurface2DHandleTag = 0x28000000;
constexpr int32_t kSurface2DHandleMax = 32768;
constexpr int32_t kSurface3DHandleTag = 0x30000000;
constexpr int32_t kSurface3DHandleMax = 65536;
constexpr int32_t kSurfaceDataHandleTag = 0x38000000;
constexpr int32_t kSurfaceDataHandleMax = 65536;
constexpr int32_t kMaskHandleTag = 0x40000000;
constexpr int32_t kMaskHandleMax = 512;
constexpr int32_t kSocketHandleTag = 0x48000000;
constexpr int32_t kSocketHandleMax = 4097;  // 4096 connections and the listening slot
constexpr int32_t kTextInputHandleTag = 0x50000000;
constexpr int32_t kTextInputHandleMax = 256;
constexpr int32_t kMusicHandleTag = 0x58000000;
constexpr int32_t kMusicHandleMax = 256;
constexpr int32_t kLightHandleTag = 0x60000000;
constexpr int32_t kLightHandleMax = 4096;
constexpr int32_t kSoftImageHandleTag = 0x70000000;
constexpr int32_t kSoftImageHandleMax = 8192;

struct HandleTable {
  int32_t kindTag;
  int32_t maximum;       // number of slots
  void** slots;          // `maximum` record pointers, null = free
  int32_t liveCount;     // records in use
  int32_t usedEnd;       // one past the highest slot in use, 0 when empty
  int32_t checkCounter;  // check number of the next record, 0..2047
};

// Binds `slots` (an array of `maximum` pointers owned by the kind) to the
// table and empties both.
void InitHandleTable(HandleTable* table, int32_t kindTag, int32_t maximum, void** slots);

int IsHandleTableFull(const HandleTable* table);

// Stores `record` in the next slot (the used end, or the first free slot once
// the used end has reached the maximum), gives it the next check number and
// returns its handle; -1 when the table is full.
int32_t AddHandleEntry(HandleTable* table, void* record);

// The record a handle names, or null for a negative handle, another kind, an
// index beyond the table, an empty slot or a different check number.
void* LookupHandleEntry(const HandleTable* table, int32_t handle);

// Empties the handle's slot and moves the used end down past the empty slots
// below it. The record itself is left to the caller. 0, or -1 for a handle
// that does not validate.
int RemoveHandleEntry(HandleTable* table, int32_t handle);

// The handle of the record in `slot` rebuilt from its check number, or -1
// for an empty slot or a slot outside the table.
int32_t HandleOfSlot(const HandleTable* table, int32_t slot);

inline int32_t HandleSlotIndex(int32_t handle) { return handle & kHandleIndexMask; }

}  // namespace qor
