#include "platform/kernel/path_map.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/scratch_folder.h"

using namespace plat;

namespace {

// A folder "Title" holding "Title.BMP", and a folder "ソフト".
struct TempTree : testsupport::ScratchFolder {
  const std::string& root = host;
  TempTree() {
    MakeDir("Title");
    WriteText("Title/Title.BMP", "");
    MakeDir(reinterpret_cast<const char*>(u8"ソフト"));
  }
};

std::string Map(const std::string& p) {
  char out[4096];
  return MapPathToHost(p.c_str(), out, sizeof out) == 0 ? out : "<fail>";
}

}  // namespace

TEST(PathMap, ResolvesEveryComponentWithoutRegardToCase) {
  TempTree t;
  std::string win = "Z:";
  for (char c : t.root) win += (c == '/') ? '\\' : c;
  EXPECT_EQ(Map(win + "\\title\\title.bmp"), t.root + "/Title/Title.BMP");
  EXPECT_EQ(Map(win + "/TITLE/TITLE.BMP"), t.root + "/Title/Title.BMP");
  // A name that does not exist is kept as written (files about to be made).
  EXPECT_EQ(Map(win + "\\title\\new.txt"), t.root + "/Title/new.txt");
  // The trail byte 0x5C of "ソ" is part of the name, not a separator.
  EXPECT_EQ(Map(win + "\\ソフト\\a"), t.root + reinterpret_cast<const char*>(u8"/ソフト/a"));
  EXPECT_EQ(Map(win + "\\title\\..\\Title\\.\\title.bmp"), t.root + "/Title/Title.BMP");
  EXPECT_EQ(Map("Z:\\"), "/");

  char cwdBefore[4096];
  ASSERT_NE(getcwd(cwdBefore, sizeof cwdBefore), nullptr);
  ASSERT_EQ(chdir(t.root.c_str()), 0);
  EXPECT_EQ(Map("title\\TITLE.bmp"), t.root + "/Title/Title.BMP");
  char cur[4096];
  ASSERT_GT(GetCurrentDirectoryCp932(cur, sizeof cur), 0);
  EXPECT_EQ(std::string(cur), win);
  EXPECT_EQ(GetCurrentDirectoryCp932(cur, 3), -1);
  ASSERT_EQ(chdir(cwdBefore), 0);

  char small[8];
  EXPECT_EQ(MapPathToHost("Z:\\a\\long\\path", small, sizeof small), -1);
}
