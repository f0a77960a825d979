#include <gtest/gtest.h>

#include "framework/softrender/blend_tables.h"

namespace qor {
namespace {

TEST(BlendTablesTest, FixedTables) {
  ResetBlendTables();
  ASSERT_EQ(BuildBlendTables(), 0);
  EXPECT_EQ(SignedBlend(255, -255), -255);
  EXPECT_EQ(SignedBlend(0, 200), 0);
  EXPECT_EQ(SignedBlend(128, 31), 15);
  EXPECT_EQ(g_blendTables.product[255][255], 255);
  EXPECT_EQ(g_blendTables.product[255][127], 127);
  for (int p = 0; p < 256; ++p) {
    EXPECT_EQ(g_blendTables.signedBlend[p][511], 0);  // never written
    for (int k = 1; k <= 255; ++k) {
      // Truncation toward zero makes the table odd, and it stays within
      // one step below the exact value.
      ASSERT_EQ(SignedBlend(p, -k), -SignedBlend(p, k));
      double exact = p * k / 255.0;
      ASSERT_LE(SignedBlend(p, k), exact);
      ASSERT_GT(SignedBlend(p, k), exact - 1);
    }
    for (int b = 0; b < 256; ++b) ASSERT_EQ(g_blendTables.product[p][b], g_blendTables.product[b][p]);
  }
  for (int s = 0; s < 64; ++s) {
    for (int d = 0; d < 64; ++d) {
      ASSERT_EQ(g_blendTables.cube[63 * 4096 + s * 64 + d], s);
      ASSERT_EQ(g_blendTables.cube[0 * 4096 + s * 64 + d], d);
    }
  }
  EXPECT_EQ(g_blendTables.cube[32 * 4096 + 63 * 64 + 0], 32);
}

TEST(BlendTablesTest, BlendGraphThresholds) {
  auto table = [](int p, int r) {
    BuildBlendGraphTable(p, r);
    return g_blendTables.blendGraphThreshold;
  };
  const uint8_t* t = table(0, 37);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(t[i], 255);
  t = table(255, 0);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(t[i], 0);
  EXPECT_EQ(t[255], 1);
  t = table(128, 255);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(t[i], i);
  t = table(255, 255);
  EXPECT_EQ(t[254], 0);
  EXPECT_EQ(t[255], 1);
  // Strength never falls as the blend-graph value rises.
  for (int p = 0; p < 256; p += 15) {
    for (int r = 0; r < 256; r += 17) {
      t = table(p, r);
      for (int i = 1; i < 256; ++i) ASSERT_GE(t[i], t[i - 1]);
    }
  }
}

}  // namespace
}  // namespace qor
