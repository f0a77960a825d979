// What a player meets before the game can help: the program started in a
// folder without the assets says which folder, how much is missing, the
// first missing file and how to make the placeholder set, in one line; and
// scripts/play answers --help and a wrong folder without building anything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "game/world/asset_table.h"
#include "support/scratch_folder.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a shell command; its exit status, stdout and stderr.
struct ShellRun {
  int status = -1;
  std::string out, err;
};
ShellRun Shell(const std::string& command, const testsupport::ScratchFolder& scratch) {
  const std::string out = scratch.Host("out.txt"), err = scratch.Host("err.txt");
  const int raw = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
  ShellRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(out);
  r.err = Slurp(err);
  return r;
}

int Lines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(PlayerMessagesE2E, AFolderWithoutAssetsSaysWhereWhatAndHow) {
  testsupport::ScratchFolder scratch;
  const std::string assets = scratch.Host("empty");
  ASSERT_EQ(mkdir(assets.c_str(), 0777), 0);
  // Past the splash's load (picture 64) and on into the opening.
  const ShellRun r = Shell("cd '" + assets + "' && env ORB_HOST=headless ORB_FRAMES=80 '" ORB_PROGRAM_PATH "'", scratch);
  EXPECT_EQ(r.status, 0);
  std::string line;
  for (size_t at = 0; at < r.err.size();) {
    const size_t end = r.err.find('\n', at);
    const std::string l = r.err.substr(at, end - at);
    if (l.find("asset folder") != std::string::npos) {
      EXPECT_TRUE(line.empty()) << "said twice:\n" << r.err;
      line = l;
    }
    at = end == std::string::npos ? r.err.size() : end + 1;
  }
  int files = 0;
  for (int n = 0; n < orb::AssetTableSize(); ++n) files += orb::AssetTable()[n].kind != orb::AssetKind::BlankGraph;
  ASSERT_GT(files, 200);
  const std::string expected = "orbworld: the asset folder " + assets + " lacks " + std::to_string(files) +
                               " of the game's " + std::to_string(files) +
                               " files (the first: gr/tovel.bmp); scripts/play DIR makes the placeholder set in "
                               "an empty or missing DIR";
  EXPECT_EQ(line, expected) << r.err;
}

TEST(PlayerMessagesE2E, PlayExplainsItselfWithoutBuilding) {
  testsupport::ScratchFolder scratch;
  // Only the few tools the script may use before it builds: no cmake, no apt.
  const std::string bin = scratch.Host("bin");
  ASSERT_EQ(mkdir(bin.c_str(), 0777), 0);
  for (const char* tool : {"dirname", "cat", "ls"}) {
    const std::string from = std::string("/usr/bin/") + tool;
    const std::string to = bin + "/" + tool;
    ASSERT_EQ(symlink(access(from.c_str(), X_OK) == 0 ? from.c_str() : (std::string("/bin/") + tool).c_str(),
                      to.c_str()),
              0);
  }
  const std::string play = std::string(ORB_TEST_DATA_DIR) + "/../../scripts/play";
  const std::string env = "env PATH='" + bin + "' /bin/bash '" + play + "'";

  ShellRun r = Shell(env + " --help", scratch);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("usage: scripts/play [DIR]\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("config.ini"), std::string::npos);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Shell(env + " -h", scratch).out, r.out);

  r = Shell(env + " --frobnicate", scratch);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("scripts/play: unknown option --frobnicate\nusage:", 0), 0u) << r.err;

  std::FILE* f = std::fopen(scratch.Host("plain").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("x", f);
  std::fclose(f);
  r = Shell(env + " '" + scratch.Host("plain") + "'", scratch);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "scripts/play: " + scratch.Host("plain") + " is not a folder\n");
  EXPECT_EQ(Lines(r.err), 1);
}

}  // namespace
