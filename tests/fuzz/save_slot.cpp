// The save slot files as the file-select menu and a load read them: the
// first byte picks which of the two files the rest becomes; any bytes give
// values in range.
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/world/roster.h"
#include "game/world/save_slots.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz::InScratchFolder here;
  if (!here.ok()) return 0;
  mkdir("file", 0777);
  orb::ResetGameModules();
  const bool summary = data[0] & 1;
  if (!fuzz::WriteScratchFile(summary ? "file/setdata1.dat" : "file/data1.dat", data + 1, size - 1)) return 0;
  if (summary) {
    orb::ReadSaveSlotSummaries();
    const orb::SlotSummary& s = orb::saves.summaries[0];
    Check(std::isfinite(s.playTime) && s.playTime >= 0.0f && s.difficulty <= 3);
    for (int c : s.counters) Check(c >= 0 && c <= 14);
    for (uint8_t j : s.joined) Check(j <= 1);
    return 0;
  }
  orb::ResetNewGame();
  orb::ReadSaveSlot();
  const orb::GameState& g = orb::game;
  Check(std::isfinite(g.PlayTimeFrames) && g.PlayTimeFrames >= 0.0f && g.DifficultyLevel <= 3 && g.SaveSlotIndex == 0);
  for (const orb::PartyMember& m : g.party) {
    Check(m.hitPointsMax >= 1 && m.hitPointsMax <= 255 && m.powerMax >= 1 && m.powerMax <= 255 && m.joined <= 1);
    Check(m.hitPoints == m.hitPointsMax && m.power == static_cast<float>(m.powerMax));
  }
  for (int c : g.ItemCounters) Check(c >= 0 && c <= 14);
  for (int s = 0; s < orb::kStageTableSize; ++s) {
    Check((g.TakenItem6[s] | g.TakenItem7[s] | g.TakenItem8[s] | g.TakenItem9[s] | g.StageEventDone[s] |
           g.WarpGapOpen[s]) <= 1);
  }
  return 0;
}
