#include "game/world/save_slots.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "game/world/config_file.h"
#include "game/world/file_io.h"
#include "game/world/game_state.h"

namespace orb {

SaveState saves;

namespace {

constexpr int kPlayTimeOffset = 160;
constexpr int kMembersOffset = 164;
constexpr int kCountersOffset = 254;
constexpr int kStagesOffset = 270;
constexpr int kDifficultyOffset = 1806;
constexpr int kSlotIndexOffset = 1807;
constexpr int kSaveFillerOffset = 1808;

constexpr int kSumJoinedOffset = 164;
constexpr int kSumCountersOffset = 174;
constexpr int kSumDifficultyOffset = 190;
constexpr int kSumFillerOffset = 191;

uint8_t* const kStageTables[6] = {game.TakenItem6, game.TakenItem7, game.TakenItem8,
                                  game.TakenItem9, game.StageEventDone, game.WarpGapOpen};

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }
int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }
uint8_t Flag(uint8_t v) { return v ? 1 : 0; }
float PlayTime(float v) { return std::isfinite(v) && v > 0.0f ? v : 0.0f; }
uint8_t Difficulty(uint8_t v) { return v > 3 ? 3 : v; }

void SlotPath(char* out, size_t size, const char* stem) {
  std::snprintf(out, size, "file/%s%d.dat", stem, game.SaveSlotIndex % 3 + 1);
}

void ClearSummary(SlotSummary* s) { std::memset(s, 0, sizeof *s); }

// A slot file of the wrong size is moved aside before anything can be
// written over it, with the slot's other file (`companion`, when given and
// there) so that the pair stays together; one line tells where they went.
void KeepDamagedSlotFile(const char* path, long size, int expected, const char* companion) {
  char kept[96], keptCompanion[96] = "";
  uint8_t probe[1];
  if (companion && !(ReadGameFile(companion, probe, 1) >= 0 && KeepDamagedFile(companion, keptCompanion, 96)))
    keptCompanion[0] = 0;
  if (!KeepDamagedFile(path, kept, sizeof kept)) {
    TellPlayer("%s/%s is damaged (%ld bytes, not %d) and cannot be moved aside (%s)", GameFolder(), path, size,
               expected, std::strerror(errno));
    return;
  }
  TellPlayer("%s/%s is damaged (%ld bytes, not %d); kept as %s%s%s%s%s, the slot starts afresh", GameFolder(), path,
             size, expected, kept, keptCompanion[0] ? " and " : "", keptCompanion[0] ? companion : "",
             keptCompanion[0] ? " as " : "", keptCompanion);
}

}  // namespace

void ResetSaves() {
  std::memset(&saves, 0, sizeof saves);
  for (uint32_t i = 0; i < 32; ++i) saves.SaveFillerWords[i] = 0x7F4A7C15u ^ (i * 0x01000193u);
}

void EncodeSaveFile(uint8_t* out) {
  for (int i = 0; i < 32; ++i) {
    out[i * 5] = config.ConfigFillerBytes[i];
    PutU32(out + i * 5 + 1, config.ConfigFillerWords[i]);
  }
  PutF32(out + kPlayTimeOffset, game.PlayTimeFrames);
  for (int m = 0; m < kMemberCount; ++m) {
    uint8_t* p = out + kMembersOffset + m * 9;
    p[0] = game.party[m].joined;
    PutU32(p + 1, static_cast<uint32_t>(game.party[m].hitPointsMax));
    PutU32(p + 5, static_cast<uint32_t>(game.party[m].powerMax));
  }
  for (int i = 0; i < 4; ++i) PutU32(out + kCountersOffset + i * 4, static_cast<uint32_t>(game.ItemCounters[i]));
  for (int s = 0; s < kStageTableSize; ++s) {
    for (int t = 0; t < 6; ++t) out[kStagesOffset + s * 6 + t] = kStageTables[t][s];
  }
  out[kDifficultyOffset] = game.DifficultyLevel;
  out[kSlotIndexOffset] = game.SaveSlotIndex;
  for (int i = 0; i < 32; ++i) PutU32(out + kSaveFillerOffset + i * 4, saves.SaveFillerWords[i]);
}

void EncodeSummaryFile(uint8_t* out) {
  for (int i = 0; i < 32; ++i) {
    PutU32(out + i * 5, saves.SaveFillerWords[i]);
    out[i * 5 + 4] = config.ConfigFillerBytes[i];
  }
  PutF32(out + kPlayTimeOffset, game.PlayTimeFrames);
  for (int m = 0; m < kMemberCount; ++m) out[kSumJoinedOffset + m] = game.party[m].joined;
  for (int i = 0; i < 4; ++i) PutU32(out + kSumCountersOffset + i * 4, static_cast<uint32_t>(game.ItemCounters[i]));
  out[kSumDifficultyOffset] = game.DifficultyLevel;
  for (int i = 0; i < 32; ++i) PutU32(out + kSumFillerOffset + i * 4, config.ConfigFillerWords[i]);
}

void DecodeSaveFile(const uint8_t* in) {
  for (int i = 0; i < 32; ++i) {
    config.ConfigFillerBytes[i] = in[i * 5];
    config.ConfigFillerWords[i] = GetU32(in + i * 5 + 1);
  }
  game.PlayTimeFrames = PlayTime(GetF32(in + kPlayTimeOffset));
  for (int m = 0; m < kMemberCount; ++m) {
    const uint8_t* p = in + kMembersOffset + m * 9;
    game.party[m].joined = Flag(p[0]);
    game.party[m].hitPointsMax = Clamp(GetI32(p + 1), 1, 255);
    game.party[m].powerMax = Clamp(GetI32(p + 5), 1, 255);
  }
  for (int i = 0; i < 4; ++i) game.ItemCounters[i] = Clamp(GetI32(in + kCountersOffset + i * 4), 0, 14);
  for (int s = 0; s < kStageTableSize; ++s) {
    for (int t = 0; t < 6; ++t) kStageTables[t][s] = Flag(in[kStagesOffset + s * 6 + t]);
  }
  game.DifficultyLevel = Difficulty(in[kDifficultyOffset]);
  // The slot index byte is not taken: the slot the player chose stays the one saved to.
  for (int i = 0; i < 32; ++i) saves.SaveFillerWords[i] = GetU32(in + kSaveFillerOffset + i * 4);
}

void DecodeSummaryFile(const uint8_t* in, SlotSummary* summary) {
  for (int i = 0; i < 32; ++i) {
    saves.SaveFillerWords[i] = GetU32(in + i * 5);
    config.ConfigFillerBytes[i] = in[i * 5 + 4];
  }
  summary->playTime = PlayTime(GetF32(in + kPlayTimeOffset));
  for (int m = 0; m < kMemberCount; ++m) summary->joined[m] = Flag(in[kSumJoinedOffset + m]);
  for (int i = 0; i < 4; ++i) summary->counters[i] = Clamp(GetI32(in + kSumCountersOffset + i * 4), 0, 14);
  summary->difficulty = Difficulty(in[kSumDifficultyOffset]);
  for (int i = 0; i < 32; ++i) config.ConfigFillerWords[i] = GetU32(in + kSumFillerOffset + i * 4);
}

bool WriteSaveSlot() {
  char path[64];
  SlotPath(path, sizeof path, "data");
  if (!EnsureGameFolder("file")) {
    TellPlayer("cannot save to %s/%s (%s); play goes on unsaved", GameFolder(), path, std::strerror(errno));
    return false;
  }
  uint8_t full[kSaveFileSize];
  EncodeSaveFile(full);
  const bool fullWritten = WriteGameFile(path, full, sizeof full);
  if (!fullWritten) TellPlayer("cannot save to %s/%s (%s); play goes on unsaved", GameFolder(), path, std::strerror(errno));
  uint8_t summary[kSummaryFileSize];
  EncodeSummaryFile(summary);
  SlotPath(path, sizeof path, "setdata");
  const bool summaryWritten = WriteGameFile(path, summary, sizeof summary);
  if (fullWritten && !summaryWritten) {
    TellPlayer("cannot save to %s/%s (%s); play goes on unsaved", GameFolder(), path, std::strerror(errno));
  }
  return fullWritten && summaryWritten;
}

void ReadSaveSlot() {
  char path[64];
  SlotPath(path, sizeof path, "data");
  uint8_t bytes[kSaveFileSize + 1];
  const long n = ReadGameFile(path, bytes, sizeof bytes);
  if (n == kSaveFileSize) {
    DecodeSaveFile(bytes);
  } else if (n >= 0) {
    KeepDamagedSlotFile(path, n, kSaveFileSize, nullptr);
  }
  for (PartyMember& m : game.party) {
    m.hitPoints = m.hitPointsMax;
    m.power = static_cast<float>(m.powerMax);
  }
}

void ReadSaveSlotSummaries() {
  uint8_t bytes[kSummaryFileSize + 1];
  for (int slot = 0; slot < 3; ++slot) {
    char path[64];
    std::snprintf(path, sizeof path, "file/setdata%d.dat", slot + 1);
    ClearSummary(&saves.summaries[slot]);
    const long n = ReadGameFile(path, bytes, sizeof bytes);
    if (n == kSummaryFileSize) {
      DecodeSummaryFile(bytes, &saves.summaries[slot]);
    } else if (n >= 0) {
      // The slot now reads as empty: its full file goes aside too, before a new game can replace it.
      char full[64];
      std::snprintf(full, sizeof full, "file/data%d.dat", slot + 1);
      KeepDamagedSlotFile(path, n, kSummaryFileSize, full);
    }
  }
}

bool SlotUsed(int slot) { return slot >= 0 && slot < 3 && saves.summaries[slot].joined[0] == 1; }

}  // namespace orb
