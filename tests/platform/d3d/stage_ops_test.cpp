// Texture-stage operations, arguments and modifiers on one pixel, against
// values worked out by hand from the rounded-product rule.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/d3d/device.h"

namespace {

using namespace plat::d3d;

struct Stage {
  uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
};
struct Case {
  Stage s0;
  Stage s1;  // colorOp 0: one stage only
  bool specular;
  uint32_t expected;
};

TEST(D3DStageOps, OperationsOnOnePixelGiveTheHandWorkedValues) {
  // Texel T = 40 80 60 20, diffuse D = 80 C0 A0 40, specular S = FF 10 20 30,
  // texture factor F = 20 FF FF FF (alpha, red, green, blue).
  const Case cases[] = {
      {{kTopModulate, kTaTexture, kTaDiffuse, kTopModulate, kTaTexture, kTaDiffuse}, {}, false, 0x20603C08},
      {{kTopAdd, kTaTexture, kTaDiffuse, kTopAdd, kTaTexture, kTaTFactor}, {}, false, 0x60FFFF60},
      {{kTopSubtract, kTaDiffuse, kTaTexture, kTopSubtract, kTaTexture, kTaDiffuse}, {}, false, 0x00404020},
      {{kTopModulate4x, kTaTexture, kTaSpecular, kTopModulate2x, kTaDiffuse, kTaTFactor}, {}, false, 0x20203018},
      {{kTopSelectArg1, kTaTexture | kTaComplement, 0, kTopSelectArg2, 0, kTaSpecular}, {}, false, 0xFF7F9FDF},
      {{kTopBlendDiffuseAlpha, kTaTexture, kTaTFactor, kTopSelectArg1, kTaDiffuse, 0}, {}, false, 0x80BFAF8F},
      {{kTopSelectArg1, kTaTexture, 0, kTopSelectArg1, kTaTexture, 0},
       {kTopBlendCurrentAlpha, kTaCurrent, kTaTFactor, kTopSelectArg1, kTaCurrent, 0}, false, 0x40DFD7C7},
      {{kTopSelectArg1, kTaTexture | kTaAlphaReplicate, 0, kTopModulate, kTaTexture, kTaTFactor}, {}, false, 0x08404040},
      {{kTopSelectArg2, 0, kTaDiffuse, kTopSelectArg1, kTaDiffuse, 0}, {}, true, 0x80D0C070},
  };
  uint32_t texel = 0x40806020;
  Texture texture = {{reinterpret_cast<uint8_t*>(&texel), 4, 1, 1, kLayoutA8R8G8B8}, false, 0};
  struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
  };
  const Vertex tri[3] = {{-0.5f, -0.5f, 0, 1, 0x80C0A040, 0xFF102030, 0.5f, 0.5f},
                         {1.5f, -0.5f, 0, 1, 0, 0, 0.5f, 0.5f},
                         {-0.5f, 1.5f, 0, 1, 0, 0, 0.5f, 0.5f}};
  const uint32_t fvf = kFvfXyzRhw | kFvfDiffuse | kFvfSpecular | 0x100;
  int row = 0;
  for (const Case& c : cases) {
    uint32_t pixel = 0x12345678;
    Device d;
    ASSERT_EQ(d.SetRenderTarget({reinterpret_cast<uint8_t*>(&pixel), 4, 1, 1, kLayoutA8R8G8B8}), kOk);
    d.SetTexture(0, &texture);
    d.SetRenderState(kRsShadeMode, kShadeFlat);
    d.SetRenderState(kRsTextureFactor, 0x20FFFFFF);
    d.SetRenderState(kRsSpecularEnable, c.specular);
    const Stage* stages[2] = {&c.s0, &c.s1};
    for (uint32_t k = 0; k < 2; ++k) {
      const Stage& s = *stages[k];
      d.SetTextureStageState(k, kTssColorOp, s.colorOp == 0 ? kTopDisable : s.colorOp);
      d.SetTextureStageState(k, kTssColorArg1, s.colorArg1);
      d.SetTextureStageState(k, kTssColorArg2, s.colorArg2);
      d.SetTextureStageState(k, kTssAlphaOp, s.alphaOp == 0 ? kTopDisable : s.alphaOp);
      d.SetTextureStageState(k, kTssAlphaArg1, s.alphaArg1);
      d.SetTextureStageState(k, kTssAlphaArg2, s.alphaArg2);
    }
    d.BeginScene();
    ASSERT_EQ(d.DrawPrimitive(kPtTriangleList, fvf, tri, 3, 0), kOk);
    d.EndScene();
    EXPECT_EQ(pixel, c.expected) << "row " << row << std::hex << " got " << pixel;
    ++row;
  }
}

}  // namespace
