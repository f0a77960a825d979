// Runs the asset tool twice and checks what it wrote: the same bytes both
// times, every file of the load list at its size, sounds that are WAV files,
// and collision maps that fit the world (walls, floors that meet at side
// exits, stairs on both sides of every vertical exit, floor under every
// door and gap entry point). The maps are read here with a reader of our own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/world/asset_table.h"
#include "game/stages/stage_setup.h"
#include "support/asset_files.h"

namespace {

using testsupport::Le;
using testsupport::ReadBytes;

struct Map {
  int8_t t[15][320];
};

class MkassetsE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char a[] = "/tmp/orb_mkassets_XXXXXX";
    char b[] = "/tmp/orb_mkassets_XXXXXX";
    ASSERT_NE(mkdtemp(a), nullptr);
    ASSERT_NE(mkdtemp(b), nullptr);
    dirA = a;
    dirB = b;
    ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " " + dirA + "/assets").c_str()), 0);
    ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " " + dirB + "/assets").c_str()), 0);
    for (int s = 1; s <= 152; ++s) ReadMap(s);
  }
  static void TearDownTestSuite() {
    std::system(("rm -rf '" + dirA + "' '" + dirB + "'").c_str());
  }
  static void ReadMap(int stage) {
    char name[32];
    std::snprintf(name, sizeof name, "/assets/stage/%03d.bmp", stage);
    ASSERT_TRUE(testsupport::ReadCollisionMap(dirA + name, maps[stage].t)) << name;
  }
  static bool Solid(int code) { return code == 1 || code == 3 || code == 4 || code == 9 || code == 10; }
  static int FloorRow(int stage, int column) {
    for (int r = 0; r < 15; ++r) {
      if (Solid(maps[stage].t[r][column])) return r;
    }
    return -1;
  }
  static int RightColumn(int stage) { return orb::StageGeometryOf(stage).width / 32 + 19; }

  static std::string dirA, dirB;
  static Map maps[153];
};
std::string MkassetsE2E::dirA, MkassetsE2E::dirB;
Map MkassetsE2E::maps[153];

TEST_F(MkassetsE2E, TwoRunsWriteTheSameBytes) {
  EXPECT_EQ(std::system(("diff -r -q '" + dirA + "/assets' '" + dirB + "/assets'").c_str()), 0);
  EXPECT_EQ(ReadBytes(dirA + "/assets/config.ini").size(), 202u);
  EXPECT_EQ(ReadBytes(dirA + "/assets/config.ini")[160], 1);  // windowed
}

TEST_F(MkassetsE2E, EveryLoadListFileIsThereAtItsSize) {
  for (int i = 0; i < orb::AssetTableSize(); ++i) {
    const orb::AssetEntry& e = orb::AssetTable()[i];
    if (!e.file) continue;
    const std::vector<uint8_t> b = ReadBytes(dirA + "/assets/" + testsupport::LocalPath(e.file));
    ASSERT_GE(b.size(), 54u) << e.file;
    if (e.kind == orb::AssetKind::Sound) {
      EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0) << e.file;
      EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0) << e.file;
      EXPECT_EQ(Le(b, 20, 2), 1u) << e.file;  // PCM
      EXPECT_EQ(Le(b, 40, 4) + 44, b.size()) << e.file;
      continue;
    }
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(Le(b, 2, 4), b.size()) << e.file;
    if (e.kind == orb::AssetKind::DividedGraph) {
      EXPECT_EQ(Le(b, 18, 4), static_cast<uint32_t>(e.across * e.pieceWidth)) << e.file;
      EXPECT_EQ(Le(b, 22, 4), static_cast<uint32_t>(e.down * e.pieceHeight)) << e.file;
    }
    EXPECT_EQ(Le(b, 28, 2), 8u);
    EXPECT_EQ(Le(b, 30, 4), 1u);  // run-length coded
  }
  for (int n = 0; n < 15; ++n) {
    char name[40];
    std::snprintf(name, sizeof name, "/assets/sddata/bgm%02d.wav", n);
    EXPECT_GT(ReadBytes(dirA + name).size(), 44000u) << name;
  }
  const std::vector<uint8_t> film = ReadBytes(dirA + "/assets/title/film.bmp");
  ASSERT_GE(film.size(), 54u);
  EXPECT_EQ(Le(film, 18, 4), 5u * 213);
  EXPECT_EQ(Le(film, 22, 4), 8u * 160);
}

TEST_F(MkassetsE2E, WallsAndFloorsMeetAtEverySideExit) {
  for (int s = 1; s <= 152; ++s) {
    for (int r = 0; r < 15; ++r) {
      EXPECT_TRUE(Solid(maps[s].t[r][19])) << s;
      EXPECT_TRUE(Solid(maps[s].t[r][RightColumn(s) + 1])) << s;
    }
    const orb::StageGeometry& g = orb::StageGeometryOf(s);
    if (g.exitLeft) {
      EXPECT_EQ(FloorRow(s, 20), FloorRow(g.exitLeft, RightColumn(g.exitLeft))) << s;
    }
    if (g.exitRight) {
      EXPECT_EQ(FloorRow(s, RightColumn(s)), FloorRow(g.exitRight, 20)) << s;
    }
    EXPECT_GE(FloorRow(s, 20), 1) << s;
  }
}

TEST_F(MkassetsE2E, StairsStandOnBothSidesOfEveryVerticalExit) {
  struct Climb {
    int lower, upper;
  };
  std::vector<Climb> climbs = {{25, 26}};
  for (int s = 1; s <= 152; ++s) {
    const orb::StageGeometry& g = orb::StageGeometryOf(s);
    if (g.exitUp) climbs.push_back({s, g.exitUp});
    if (g.exitDown) climbs.push_back({g.exitDown, s});
  }
  for (const Climb& c : climbs) {
    // Going up from lower to upper, x shifts between rooms stacked off-centre.
    int shift = 0;
    if ((c.lower == 25 && c.upper == 24) || (c.lower == 39 && c.upper == 41)) shift = -1280;
    if ((c.lower == 26 && c.upper == 27) || (c.lower == 30 && c.upper == 29)) shift = 1280;
    // A 45-degree climb from the foot above the lower floor reaches the
    // upper floor's landing about 480 pixels further on.
    bool found = false;
    for (int f = 20; f < 320 && !found; ++f) {
      if (maps[c.lower].t[12][f] != 5) continue;
      for (int t = 20; t < 320 && !found; ++t) {
        if (maps[c.upper].t[12][t] != 7) continue;
        const int run = t * 32 - shift - f * 32;
        found = run >= 448 && run <= 544;
      }
    }
    EXPECT_TRUE(found) << c.lower << " up to " << c.upper;
  }
}

TEST_F(MkassetsE2E, FloorStandsUnderEveryDoorAndGapEntryPoint) {
  struct Point {
    int stage;
    float x, y;
  };
  const Point points[] = {
      {138, 790.4f, 288}, {137, 1046.4f, 288}, {148, 790.4f, 256}, {58, 640.0f, 320},  {124, 640.0f, 352},
      {1, 1398.4f, 320},  {1, 1526.4f, 320},   {1, 1654.4f, 320},  {1, 1782.4f, 320},  {1, 886.4f, 320},
      {1, 758.4f, 320},   {1, 1142.4f, 320},   {1, 1270.4f, 320},  {1, 1014.4f, 320},  {17, 1526.4f, 320},
      {123, 1142.4f, 320}, {135, 1174.4f, 96}, {44, 1174.4f, 320}, {55, 1366.4f, 320}, {73, 886.4f, 288},
      {86, 1334.4f, 352}, {30, 822.4f, 352},   {100, 2038.4f, 128}, {56, 912.0f, 291.2f},
      // The hub's gaps.
      {1, 1472, 291.2f}, {1, 960, 291.2f}, {1, 832, 291.2f}, {1, 704, 291.2f}, {1, 1088, 291.2f},
      {1, 1216, 291.2f}, {1, 1344, 291.2f}, {1, 1600, 291.2f}, {1, 1728, 291.2f},
  };
  for (const Point& p : points) {
    const int column = static_cast<int>(p.x) / 32;
    bool floor = false;
    for (int r = static_cast<int>(p.y) / 32; r < 15; ++r) floor |= Solid(maps[p.stage].t[r][column]);
    EXPECT_TRUE(floor) << p.stage << " at " << p.x;
    EXPECT_FALSE(Solid(maps[p.stage].t[static_cast<int>(p.y) / 32][column])) << p.stage << " at " << p.x;
  }
}

// --- the pictures -------------------------------------------------------------

bool IsKey(const testsupport::IndexedBmp& p, int x, int y) { return p.palette[p.At(x, y)] == 0x00FF00; }

// A piece's pixels, to tell pieces apart.
std::vector<uint8_t> PieceBytes(const testsupport::IndexedBmp& p, int across, int w, int h, int index) {
  std::vector<uint8_t> out;
  const int x0 = (index % across) * w, y0 = (index / across) * h;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) out.push_back(p.At(x, y));
  }
  return out;
}

int CountColour(const testsupport::IndexedBmp& p, int across, int w, int h, int index, uint32_t rgb) {
  int n = 0;
  const int x0 = (index % across) * w, y0 = (index / across) * h;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) n += p.palette[p.At(x, y)] == rgb;
  }
  return n;
}

const orb::AssetEntry* EntryOf(const char* file) {
  for (int i = 0; i < orb::AssetTableSize(); ++i) {
    const orb::AssetEntry& e = orb::AssetTable()[i];
    if (e.file && std::strcmp(e.file, file) == 0) return &e;
  }
  return nullptr;
}

TEST_F(MkassetsE2E, PicturesDrawnWithoutTheKeyAreOpaqueAllOver) {
  for (const char* name : {"title/titlehaik.bmp", "back/blue.bmp", "back/backsukima0.bmp", "back/backsukima1.bmp",
                           "back/backkumo.bmp", "title/opening.bmp"}) {
    testsupport::IndexedBmp p;
    ASSERT_TRUE(testsupport::ReadRle8Bmp(dirA + "/assets/" + name, &p)) << name;
    int key = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) key += IsKey(p, x, y);
    }
    EXPECT_EQ(key, 0) << name;
  }
}

TEST_F(MkassetsE2E, EveryPieceShowsSomethingAndWordPiecesCarryInk) {
  for (int i = 0; i < orb::AssetTableSize(); ++i) {
    const orb::AssetEntry& e = orb::AssetTable()[i];
    if (!e.file || e.kind != orb::AssetKind::DividedGraph) continue;
    testsupport::IndexedBmp p;
    ASSERT_TRUE(testsupport::ReadRle8Bmp(dirA + "/assets/" + testsupport::LocalPath(e.file), &p)) << e.file;
    for (int k = 0; k < e.pieces; ++k) {
      const int all = e.pieceWidth * e.pieceHeight;
      const int key = CountColour(p, e.across, e.pieceWidth, e.pieceHeight, k, 0x00FF00);
      EXPECT_LT(key, all) << e.file << " piece " << k;
    }
  }
  // Words are white with a black rim; each piece says something else.
  for (const char* file : {"title\\menu.bmp", "title\\level.bmp", "title\\levelmenu.bmp", "title\\optionmenu.bmp",
                           "title\\padmenu.bmp", "title\\padmenu2.bmp", "title\\padnum.bmp", "title\\padnum2.bmp",
                           "title\\pad.bmp", "title\\newgame.bmp", "title\\charaname.bmp", "title\\charasetu.bmp",
                           "title\\taireiryoku.bmp", "title\\staff.bmp", "title\\thank.bmp", "title\\op.bmp",
                           "title\\face.bmp", "effect\\hozonn.bmp", "effect\\charawin.bmp", "effect\\playerwin2.bmp",
                           "effect\\player12.bmp"}) {
    const orb::AssetEntry* e = EntryOf(file);
    ASSERT_NE(e, nullptr) << file;
    testsupport::IndexedBmp p;
    ASSERT_TRUE(testsupport::ReadRle8Bmp(dirA + "/assets/" + testsupport::LocalPath(file), &p)) << file;
    const int words = std::strcmp(file, "effect\\player12.bmp") == 0 ? 4 : e->pieces;  // then the arrows
    for (int k = 0; k < words; ++k) {
      EXPECT_GT(CountColour(p, e->across, e->pieceWidth, e->pieceHeight, k, 0xFFFFFF), 12) << file << " piece " << k;
      EXPECT_GT(CountColour(p, e->across, e->pieceWidth, e->pieceHeight, k, 0x000000), 12) << file << " piece " << k;
      for (int j = 0; j < k; ++j) {
        EXPECT_NE(PieceBytes(p, e->across, e->pieceWidth, e->pieceHeight, j),
                  PieceBytes(p, e->across, e->pieceWidth, e->pieceHeight, k))
            << file << " pieces " << j << " and " << k;
      }
    }
  }
  // The digits and the number panels: twelve and ten different signs.
  for (const char* file : {"effect\\number.bmp", "block\\suujired.bmp", "block\\suujiblue.bmp"}) {
    const orb::AssetEntry* e = EntryOf(file);
    testsupport::IndexedBmp p;
    ASSERT_TRUE(testsupport::ReadRle8Bmp(dirA + "/assets/" + testsupport::LocalPath(file), &p)) << file;
    for (int k = 0; k < e->pieces; ++k) {
      for (int j = 0; j < k; ++j) {
        EXPECT_NE(PieceBytes(p, e->across, e->pieceWidth, e->pieceHeight, j),
                  PieceBytes(p, e->across, e->pieceWidth, e->pieceHeight, k))
            << file << " pieces " << j << " and " << k;
      }
    }
  }
}

TEST_F(MkassetsE2E, MembersEnemiesAndBossesAreToldApart) {
  // The first frame of every sprite sheet differs from that of every other
  // sheet with pieces of the same size.
  struct First {
    const char* file;
    int w, h;
    std::vector<uint8_t> bytes;
  };
  std::vector<First> firsts;
  for (int i = 0; i < orb::AssetTableSize(); ++i) {
    const orb::AssetEntry& e = orb::AssetTable()[i];
    if (!e.file || std::strncmp(e.file, "gr\\", 3) != 0) continue;
    testsupport::IndexedBmp p;
    ASSERT_TRUE(testsupport::ReadRle8Bmp(dirA + "/assets/" + testsupport::LocalPath(e.file), &p)) << e.file;
    firsts.push_back({e.file, e.pieceWidth, e.pieceHeight, PieceBytes(p, e.across, e.pieceWidth, e.pieceHeight, 0)});
  }
  EXPECT_EQ(firsts.size(), 79u);
  for (size_t a = 0; a < firsts.size(); ++a) {
    for (size_t b = 0; b < a; ++b) {
      if (firsts[a].w != firsts[b].w || firsts[a].h != firsts[b].h) continue;
      EXPECT_NE(firsts[a].bytes, firsts[b].bytes) << firsts[a].file << " and " << firsts[b].file;
    }
  }
}

TEST(MkassetsFontsE2E, WithoutTheIpaFontsNothingIsWrittenAndALineSaysWhy) {
  char folder[] = "/tmp/orb_mkassets_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dir = folder;
  std::FILE* conf = std::fopen((dir + "/fonts.conf").c_str(), "w");
  ASSERT_NE(conf, nullptr);
  std::fputs("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" , conf);
  std::fputs((dir + "/cache").c_str(), conf);
  std::fputs("</cachedir></fontconfig>\n", conf);
  std::fclose(conf);
  const std::string cmd = "FONTCONFIG_FILE='" + dir + "/fonts.conf' " + ORB_MKASSETS_PATH + " '" + dir + "/assets' 2> '" +
                          dir + "/err.txt'";
  const int rc = std::system(cmd.c_str());
  EXPECT_NE(rc, 0);
  const std::vector<uint8_t> err = ReadBytes(dir + "/err.txt");
  EXPECT_NE(std::string(err.begin(), err.end()).find("fonts-ipafont-gothic"), std::string::npos);
  EXPECT_TRUE(ReadBytes(dir + "/assets/title/menu.bmp").empty());
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
