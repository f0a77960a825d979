// The load list against the list of loads typed here as it is written
// down, folder by folder in load order: every file's kind, piece count and
// grid, the repeats of the sounds, and the blank graph.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "game/world/asset_table.h"

namespace orb::test {
namespace {

// clang-format off
const char kLoads[] = R"(
gr\ divided (79): tovel.bmp (16: 4x4 of 128x128), quenby.bmp (18: 4x5 of 128x128), dorrin.bmp (14: 4x4 of 128x128), friska.bmp (14: 4x4 of 128x128), gorvath.bmp (14: 4x4 of 128x128), lismet.bmp (14: 4x4 of 128x128), verrow.bmp (14: 4x4 of 128x128), nocta.bmp (14: 4x4 of 128x128), kessel.bmp (15: 4x4 of 128x128), pallow.bmp (14: 4x4 of 128x128), zindra.bmp (15: 4x4 of 128x128), dorrinzako.bmp (7: 4x4 of 64x64), pell.bmp (8: 4x2 of 128x128), mossling.bmp (7: 4x2 of 128x128), haridama.bmp (1: 1x1 of 64x64), karasu.bmp (4: 4x1 of 128x128), kedama1.bmp (4: 4x1 of 64x64), kedama2.bmp (4: 4x1 of 64x64), kedama3.bmp (4: 4x1 of 64x64), kedama4.bmp (4: 4x1 of 64x64), kedama5.bmp (4: 4x1 of 64x64), kedama6.bmp (4: 4x1 of 64x64), kedama7.bmp (4: 4x1 of 64x64), kedama8.bmp (4: 4x1 of 64x64), kedama9.bmp (4: 4x1 of 64x64), vernette.bmp (1: 1x1 of 64x64), impkin.bmp (7: 4x2 of 128x128), kedamabig1.bmp (4: 4x1 of 128x128), kedamabig2.bmp (4: 4x1 of 128x128), kedamabig3.bmp (4: 4x1 of 128x128), kedamam1.bmp (4: 4x1 of 32x32), kedamam2.bmp (4: 4x1 of 32x32), kedamam3.bmp (4: 4x1 of 32x32), kedamam4.bmp (4: 4x1 of 32x32), kedamam5.bmp (4: 4x1 of 32x32), kedamam6.bmp (4: 4x1 of 32x32), kedamam7.bmp (4: 4x1 of 32x32), kedamam8.bmp (4: 4x1 of 32x32), kedamam9.bmp (4: 4x1 of 32x32), dimmet.bmp (7: 4x2 of 128x128), maidyouseim1.bmp (9: 4x4 of 64x64), maidyouseim2.bmp (9: 4x4 of 64x64), maidyouseim3.bmp (9: 4x4 of 64x64), maidyouseim4.bmp (9: 4x4 of 64x64), maidyouseim5.bmp (9: 4x4 of 64x64), maidyouseim6.bmp (9: 4x4 of 64x64), maidyouseim7.bmp (9: 4x4 of 64x64), maidyouseim8.bmp (9: 4x4 of 64x64), maidyouseim9.bmp (9: 4x4 of 64x64), maidyouseibig1.bmp (7: 4x2 of 128x128), maidyouseibig2.bmp (7: 4x2 of 128x128), hornwell.bmp (4: 4x1 of 128x128), trillow.bmp (7: 4x2 of 128x128), corvane.bmp (3: 4x2 of 128x128), ribbonyouseim1.bmp (9: 4x4 of 64x64), ribbonyouseim2.bmp (9: 4x4 of 64x64), ribbonyouseim3.bmp (9: 4x4 of 64x64), ribbonyouseim4.bmp (9: 4x4 of 64x64), ribbonyouseim5.bmp (9: 4x4 of 64x64), ribbonyouseim6.bmp (9: 4x4 of 64x64), ribbonyouseim7.bmp (9: 4x4 of 64x64), ribbonyouseim8.bmp (9: 4x4 of 64x64), glimmick.bmp (7: 4x2 of 128x128), keyling.bmp (4: 4x1 of 128x128), duskel.bmp (7: 4x2 of 128x128), bowring.bmp (4: 4x1 of 128x128), spangle.bmp (7: 4x2 of 128x128), brightel.bmp (7: 4x2 of 128x128), hopsy.bmp (7: 4x2 of 128x128), whiskit.bmp (12: 4x4 of 128x128), ravette.bmp (7: 4x2 of 128x128), yuurei1.bmp (4: 4x1 of 64x64), yuurei2.bmp (4: 4x1 of 64x64), yuurei3.bmp (4: 4x1 of 64x64), yuurei4.bmp (4: 4x1 of 64x64), yuureibig1.bmp (4: 4x1 of 128x128), yuureibig2.bmp (4: 4x1 of 128x128), switch.bmp (4: 4x1 of 128x128), switchb.bmp (4: 4x1 of 128x128)
block\ divided (25): belt32.bmp (8: 1x8 of 32x32), belt64.bmp (8: 1x8 of 64x32), belt128.bmp (8: 1x8 of 128x32), belt32b.bmp (8: 1x8 of 32x32), belt64b.bmp (8: 1x8 of 64x32), belt128b.bmp (8: 1x8 of 128x32), iwa3232.bmp (2: 2x1 of 32x32), iwa6432.bmp (2: 2x1 of 64x32), iwa3264.bmp (2: 2x1 of 32x64), iwa6464.bmp (2: 2x1 of 64x64), block32.bmp (8: 2x4 of 32x32), block64.bmp (8: 2x4 of 64x32), block128.bmp (8: 2x4 of 128x32), blockh.bmp (8: 2x4 of 64x32), blockhl.bmp (4: 1x4 of 128x32), blockhk.bmp (1: 1x1 of 16x480), maruta.bmp (2: 1x2 of 64x32), suujired.bmp (10: 1x10 of 64x32), suujiblue.bmp (10: 1x10 of 64x32), yajirusired.bmp (16: 4x4 of 32x32), yajirusiblue.bmp (16: 4x4 of 32x32), kooria.bmp (2: 2x1 of 64x64), koorib.bmp (2: 2x1 of 64x64), furikoa.bmp (1: 1x1 of 64x64), furikob.bmp (1: 1x1 of 16x512)
effect\ divided (42): bomb.bmp (32: 8x4 of 128x128), tamaa.bmp (16: 4x4 of 16x16), tamab.bmp (16: 4x4 of 32x32), tamac.bmp (4: 1x4 of 32x32), tamad.bmp (4: 1x4 of 32x32), tamae.bmp (4: 1x4 of 32x32), tamaf.bmp (4: 1x4 of 64x64), tamafire.bmp (4: 4x1 of 64x64), tamag.bmp (4: 1x4 of 64x64), tamahari.bmp (1: 1x1 of 32x32), tamaknife.bmp (4: 1x4 of 64x64), tamakoori.bmp (1: 1x1 of 32x32), tamakunai.bmp (4: 1x4 of 64x64), tamamissile.bmp (1: 1x1 of 32x32), tamastar.bmp (4: 1x4 of 64x64), tamayuurei.bmp (4: 4x1 of 64x64), tatumaki.bmp (8: 4x2 of 64x64), tamaonnpu.bmp (4: 1x4 of 64x64), life.bmp (1: 1x1 of 256x12), lifeb.bmp (1: 1x1 of 256x14), lifec.bmp (2: 2x1 of 3x14), lifem.bmp (1: 1x1 of 64x6), blife.bmp (1: 1x1 of 512x12), blifeb.bmp (1: 1x1 of 512x14), boss.bmp (1: 1x1 of 64x32), sukima.bmp (15: 5x3 of 128x128), litem.bmp (1: 1x1 of 32x32), sitem.bmp (1: 1x1 of 32x32), fitem.bmp (1: 1x1 of 32x32), upitem.bmp (1: 1x1 of 32x32), blitem.bmp (1: 1x1 of 32x32), bsitem.bmp (1: 1x1 of 32x32), titem.bmp (4: 4x1 of 64x64), ritem.bmp (4: 4x1 of 64x64), charawin.bmp (11: 5x3 of 128x48), itemwin.bmp (1: 1x1 of 640x32), playerwin.bmp (2: 1x2 of 128x48), playerwin2.bmp (2: 1x2 of 80x32), player12.bmp (8: 2x4 of 32x32), hozonn.bmp (2: 2x1 of 128x32), number.bmp (12: 12x1 of 32x32), gameover.bmp (1: 1x1 of 256x64)
title\ divided (22): title.bmp (1: 1x1 of 512x128), titlehaik.bmp (1: 1x1 of 640x480), titlehaikkumo.bmp (1: 1x1 of 640x480), menu.bmp (4: 1x4 of 256x32), onnmyou.bmp (1: 1x1 of 31x31), level.bmp (4: 1x4 of 256x32), levelmenu.bmp (4: 1x4 of 512x96), file.bmp (3: 1x3 of 512x128), face.bmp (10: 5x2 of 32x32), newgame.bmp (1: 1x1 of 256x32), optionmenu.bmp (7: 1x7 of 192x32), padmenu.bmp (8: 1x8 of 128x32), padnum.bmp (10: 1x10 of 32x32), padmenu2.bmp (8: 1x8 of 128x32), padnum2.bmp (10: 1x10 of 32x32), pad.bmp (2: 1x2 of 64x32), charaname.bmp (10: 2x5 of 160x64), charasetu.bmp (10: 2x5 of 320x128), taireiryoku.bmp (2: 1x2 of 64x32), staff.bmp (5: 1x5 of 640x32), thank.bmp (3: 1x3 of 512x32), op.bmp (7: 1x7 of 512x32)
title\ whole (13): tovelt.bmp, quenbyt.bmp, dorrint.bmp, friskat.bmp, gorvatht.bmp, lismett.bmp, verrowt.bmp, noctat.bmp, kesselt.bmp, pallowt.bmp, nakamani.bmp, oshimai.bmp, opening.bmp
back\ whole (4): blue.bmp, backsukima0.bmp, backsukima1.bmp, backkumo.bmp
sddata\ sound (44): attack0.wav, attack1.wav, attack3.wav, attack2.wav, attack4.wav, attack0.wav, attack1.wav, attack2.wav, attack5.wav, attack4.wav, shot2.wav, shot7.wav, shot3.wav, shot4.wav, shot7.wav, shot0.wav, shot7.wav, shot3.wav, shot7.wav, shot8.wav, shot5.wav, shot6.wav, shot9.wav, damage0.wav, hit0.wav, bomb0.wav, shothit0.wav, shield0.wav, select.wav, cancel.wav, decide.wav, close.wav, full.wav, sitem.wav, rtitem.wav, upitem.wav, litem.wav, nakama.wav, open.wav, dead.wav, bossup.wav, switchon.wav, bosscrash.wav, count.wav)";
// clang-format on

struct Load {
  std::string file;
  AssetKind kind;
  int pieces = 1, across = 0, down = 0, width = 0, height = 0;
};

// "folder\ kind (n): item, item, ..." per line; a divided item is
// "name (pieces: AxD of WxH)".
std::vector<Load> ParseLoads() {
  std::vector<Load> out;
  std::stringstream in(kLoads);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const size_t slash = line.find('\\');
    const std::string folder = line.substr(0, slash + 1);
    const size_t open = line.find('(');
    const size_t colon = line.find("): ");
    const std::string kindWord = line.substr(slash + 2, open - slash - 3);
    const int count = std::atoi(line.c_str() + open + 1);
    const AssetKind kind = kindWord == "divided" ? AssetKind::DividedGraph
                           : kindWord == "whole" ? AssetKind::WholeGraph
                                                 : AssetKind::Sound;
    std::string items = line.substr(colon + 3);
    int seen = 0;
    size_t at = 0;
    while (at < items.size()) {
      size_t end = kind == AssetKind::DividedGraph ? items.find("), ", at) : items.find(", ", at);
      if (end == std::string::npos) end = items.size();
      std::string item = items.substr(at, end - at + (kind == AssetKind::DividedGraph && end < items.size() ? 1 : 0));
      at = end + (kind == AssetKind::DividedGraph && end < items.size() ? 3 : 2);
      Load l;
      l.kind = kind;
      if (kind == AssetKind::DividedGraph) {
        char name[64];
        EXPECT_EQ(std::sscanf(item.c_str(), "%63s (%d: %dx%d of %dx%d)", name, &l.pieces, &l.across, &l.down, &l.width,
                              &l.height),
                  6)
            << item;
        l.file = folder + name;
      } else {
        l.file = folder + item;
      }
      out.push_back(l);
      ++seen;
    }
    EXPECT_EQ(seen, count) << line.substr(0, 40);
  }
  return out;
}

TEST(LoadListOracle, EveryLoadInOrderWithItsKindPiecesAndGrid) {
  const std::vector<Load> want = ParseLoads();
  ASSERT_EQ(want.size(), 229u);
  std::vector<const AssetEntry*> files;
  int blanks = 0;
  for (int i = 0; i < AssetTableSize(); ++i) {
    const AssetEntry& e = AssetTable()[i];
    if (e.kind == AssetKind::BlankGraph) {
      ++blanks;
      EXPECT_EQ(e.file, nullptr);
      EXPECT_EQ(e.pieceWidth, 640);
      EXPECT_EQ(e.pieceHeight, 480);
      continue;
    }
    files.push_back(&e);
  }
  EXPECT_EQ(blanks, 1);
  ASSERT_EQ(files.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    const AssetEntry& e = *files[i];
    const Load& w = want[i];
    ASSERT_NE(e.file, nullptr);
    EXPECT_EQ(std::string(e.file), w.file) << "load " << i;
    EXPECT_EQ(e.kind, w.kind) << w.file;
    if (w.kind != AssetKind::DividedGraph) continue;
    EXPECT_EQ(e.pieces, w.pieces) << w.file;
    EXPECT_EQ(e.across, w.across) << w.file;
    EXPECT_EQ(e.down, w.down) << w.file;
    EXPECT_EQ(e.pieceWidth, w.width) << w.file;
    EXPECT_EQ(e.pieceHeight, w.height) << w.file;
  }
  // Sounds loaded more than once fill handles of their own.
  for (size_t i = 0; i < want.size(); ++i) {
    for (size_t j = i + 1; j < want.size(); ++j) EXPECT_NE(files[i]->handles, files[j]->handles) << want[i].file;
  }
}

}  // namespace
}  // namespace orb::test
