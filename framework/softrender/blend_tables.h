// Lookup tables read by every software blend, so that the blend loops do no
// division.
#pragma once

#include <cstdint>

namespace qor {

struct BlendTables {
  // Row p (0..255), entry k + 255 for k = -255..255: p x k / 255 truncated
  // toward zero. The 512th entry of a row is never written.
  int32_t signedBlend[256][512];
  // Row a, column b: a x b / 255 truncated.
  int32_t product[256][256];
  // Entry [f][s][d] at f x 4096 + s x 64 + d: (f x s + (63 - f) x d) / 63.
  uint8_t cube[64 * 64 * 64];
  // Strength (0..255) of a pixel where the blend graph holds value i.
  uint8_t blendGraphThreshold[256];
};

extern BlendTables g_blendTables;

// Fills the three fixed tables. 0.
int BuildBlendTables();
// Fills the threshold table from the blend graph's border parameter and
// border range (each 0..255).
void BuildBlendGraphTable(int32_t borderParameter, int32_t borderRange);
// Clears every table to its load state (all zero).
void ResetBlendTables();

// The signed-table entry for weight p and difference k (-255..255).
inline int32_t SignedBlend(int32_t p, int32_t k) { return g_blendTables.signedBlend[p][k + 255]; }

}  // namespace qor
