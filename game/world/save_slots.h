// The three save slots: a full file "file/dataN.dat" (1,936 bytes) and a
// summary "file/setdataN.dat" (319 bytes) for the file-select menu.
#pragma once

#include <cstdint>

namespace orb {

constexpr int kSaveFileSize = 1936;
constexpr int kSummaryFileSize = 319;

struct SlotSummary {
  float playTime;
  uint8_t joined[10];
  int32_t counters[4];
  uint8_t difficulty;
};

struct SaveState {
  uint32_t SaveFillerWords[32];
  SlotSummary summaries[3];
};

extern SaveState saves;

void ResetSaves();

// Writes both files of slot SaveSlotIndex + 1 (creating the folder "file");
// false when either could not be written.
bool WriteSaveSlot();

// Reads the full file of slot SaveSlotIndex over the current state, then
// fills every member's hit points and power. A missing or wrong-size file
// leaves the state as it is (a fresh game); values are brought into range,
// and the slot index stored in the file is not taken.
void ReadSaveSlot();

// Reads the three summaries; a missing or wrong-size one is an unused slot.
void ReadSaveSlotSummaries();

// True when the slot's member 0 has joined.
bool SlotUsed(int slot);

// The bytes WriteSaveSlot writes, and the decoding ReadSaveSlot applies.
void EncodeSaveFile(uint8_t* out);
void EncodeSummaryFile(uint8_t* out);
void DecodeSaveFile(const uint8_t* in);
void DecodeSummaryFile(const uint8_t* in, SlotSummary* summary);

}  // namespace orb
