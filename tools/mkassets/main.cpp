// mkassets DIR: writes a complete placeholder asset folder for the game:
// every file of the load list at its size and piece grid, the splash logo and
// the ending's film strip, 152 collision maps consistent with the world's
// links and stage pictures painted from them, sound effects and fifteen
// music loops, and a config.ini that starts windowed. Two runs write the
// same bytes.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "asset_files.h"
#include "game/world/asset_table.h"
#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/stage_load.h"
#include "game/stages/stage_setup.h"
#include "game/world/tile_map.h"
#include "pictures.h"
#include "sounds.h"
#include "sprite_sheets.h"
#include "stage_maps.h"
#include "text_render.h"
#include "whole_pictures.h"
#include "word_pieces.h"

namespace {

using namespace mkassets;

std::string Slashed(const std::string& dir, const char* gameName) {
  std::string path = dir + "/";
  for (const char* p = gameName; *p; ++p) path += *p == '\\' ? '/' : *p;
  return path;
}

// Sizes of the whole pictures, which the load list does not fix.
void WholeSize(const std::string& name, int* w, int* h) {
  *w = 640;
  *h = 480;
  if (name == "title\\opening.bmp") {
    *w = 1088;  // scrolls left by a quarter pixel a frame for about 1,900 frames
    *h = 384;
  } else if (name == "title\\nakamani.bmp") {
    *w = 512;
    *h = 128;
  } else if (name.rfind("title\\", 0) == 0 && name != "title\\oshimai.bmp") {
    *w = 256;  // the member portraits
    *h = 384;
  }
}

// A divided picture: words, figures and blocks where the piece carries
// them, numbered shapes for the bullets.
IndexedPicture DividedPicture(const orb::AssetEntry& e) {
  IndexedPicture pic;
  if (WordSheet(e.file, e.pieces, e.across, e.down, e.pieceWidth, e.pieceHeight, &pic)) return pic;
  if (SpriteSheet(e.file, e.pieces, e.across, e.down, e.pieceWidth, e.pieceHeight, &pic)) return pic;
  return SheetPicture(e.file, e.pieces, e.across, e.down, e.pieceWidth, e.pieceHeight);
}

IndexedPicture Whole(const std::string& file, int w, int h) {
  IndexedPicture pic;
  if (WholePicture(file, w, h, &pic)) return pic;
  return BackdropPicture(file, w, h);
}

bool WriteLoadList(const std::string& dir) {
  bool ok = true;
  std::set<std::string> written;
  for (int i = 0; i < orb::AssetTableSize(); ++i) {
    const orb::AssetEntry& e = orb::AssetTable()[i];
    if (!e.file || !written.insert(e.file).second) continue;
    const std::string path = Slashed(dir, e.file);
    switch (e.kind) {
      case orb::AssetKind::DividedGraph:
        ok &= WriteBmpRle8(path, DividedPicture(e));
        break;
      case orb::AssetKind::WholeGraph: {
        int w, h;
        WholeSize(e.file, &w, &h);
        ok &= WriteBmpRle8(path, Whole(e.file, w, h));
        break;
      }
      case orb::AssetKind::Sound:
        ok &= WriteWav16(path, SoundRate(), EffectSound(e.file));
        break;
      case orb::AssetKind::BlankGraph:
        break;
    }
  }
  ok &= WriteBmpRle8(Slashed(dir, "title\\tarnweed.bmp"), Whole("title\\tarnweed.bmp", 256, 154));
  ok &= WriteBmpRle8(Slashed(dir, "title\\film.bmp"), FilmStrip());
  for (int n = 0; n < 15; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "sddata\\bgm%02d.wav", n);
    ok &= WriteWav16(Slashed(dir, name), SoundRate(), MusicLoop(n));
  }
  return ok;
}

bool WriteStages(const std::string& dir) {
  static StageMap maps[153];
  BuildStageMaps(maps);
  bool ok = true;
  for (int s = 1; s <= orb::kLastStage; ++s) {
    std::vector<Rgb> pixels(static_cast<size_t>(kRows) * kColumns);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        Rgb& p = pixels[static_cast<size_t>(r) * kColumns + c];
        orb::ColourOfTileCode(maps[s].tiles[r][c], &p.r, &p.g, &p.b);
      }
    }
    ok &= WriteBmp24(Slashed(dir, orb::StageMapName(s)), kColumns, kRows, pixels);
    const int columns = orb::StageGeometryOf(s).width / 32;
    ok &= WriteBmpRle8(Slashed(dir, orb::StageBackName(s)), StagePicture(maps[s], 20, columns));
  }
  return ok;
}

bool WriteConfig(const std::string& dir) {
  orb::ResetConfig();
  orb::DefaultPlayerMasks(orb::input.ConfigButtonMasks);
  orb::DefaultPlayerMasks(orb::input.ConfigButtonMasks + 5);
  uint8_t bytes[orb::kConfigFileSize];
  orb::EncodeConfigFile(bytes);
  const std::string path = dir + "/config.ini";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !*argv[1]) {
    std::fprintf(stderr, "usage: mkassets DIR\n  writes the placeholder asset set into DIR (made when missing)\n");
    return 2;
  }
  std::string dir = argv[1];
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (!OpenFonts()) return 1;
  if (!MakeParentFolders(dir + "/x")) {
    std::fprintf(stderr, "mkassets: cannot make the folder %s\n", dir.c_str());
    return 1;
  }
  const bool ok = WriteLoadList(dir) && WriteStages(dir) && WriteConfig(dir);
  CloseFonts();
  if (!ok) {
    std::fprintf(stderr, "mkassets: cannot write every file into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
