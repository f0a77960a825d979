// The archive writer against the reader: whatever is packed comes back
// through the archive-aware file set with the same names, folders and bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "file_test_support.h"

using namespace qor;
using filetest::DirNode;
using filetest::FileNode;
using filetest::ScratchDir;

namespace {

using Listing = std::map<std::string, std::vector<uint8_t>>;  // "dir\" entries have no bytes

void Flatten(const PackNode& node, const std::string& prefix, Listing* out) {
  for (const PackNode& child : node.children) {
    const std::string path = prefix + child.name;
    if (child.isDirectory) {
      (*out)[path + "\\"] = {};
      Flatten(child, path + "\\", out);
    } else {
      (*out)[path] = child.data;
    }
  }
}

// Everything below `folder` as the archive-aware set shows it.
void ReadBack(const std::string& folder, const std::string& prefix, Listing* out) {
  FindRecord r;
  const FindHandle h = ArcFindFirst((folder + "\\*").c_str(), &r);
  if (h == -1) return;
  std::vector<FindRecord> found;
  do {
    if (std::strcmp(r.name, ".") != 0 && std::strcmp(r.name, "..") != 0) found.push_back(r);
  } while (ArcFindNext(h, &r) == 0);
  ArcFindClose(h);
  for (const FindRecord& e : found) {
    const std::string path = prefix + e.name;
    if (e.isDirectory) {
      (*out)[path + "\\"] = {};
      ReadBack(folder + "\\" + e.name, path + "\\", out);
      continue;
    }
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(filetest::ReadThroughTable(folder + "\\" + e.name, &bytes, 1000)) << path;
    EXPECT_EQ(bytes.size(), e.sizeLow) << path;
    (*out)[path] = bytes;
  }
}

PackNode SampleTree() {
  return DirNode("", {
                         FileNode("Title.bmp", filetest::CompressibleBytes(40000, 1)),
                         FileNode("noise.bin", filetest::RandomBytes(3000, 2)),
                         FileNode("empty.txt", {}),
                         FileNode("\x83\x5C\x83\x74\x83\x67.wav", filetest::CompressibleBytes(777, 3)),  // ソフト
                         DirNode("Gr", {FileNode("a.bmp", {1, 2, 3}),
                                        DirNode("\x93\xFA\x96\x7B", {FileNode("deep.dat", filetest::CompressibleBytes(9000, 4))}),
                                        DirNode("EmptyDir", {})}),
                     });
}

int RunShell(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(QrpackRoundTrip, EveryVersionStoredAndCompressed) {
  ScratchDir dir;
  const PackNode tree = SampleTree();
  Listing expected;
  Flatten(tree, "", &expected);
  for (int version = 0; version <= 3; ++version) {
    for (bool store : {false, true}) {
      for (PackKeyMode mode : {PackKeyMode::String, PackKeyMode::Fallback}) {
        SCOPED_TRACE(testing::Message() << "version " << version << " store " << store << " mode " << int(mode));
        filetest::ResetFileModules();
        PackOptions o;
        o.keyMode = mode;
        o.key = "trum8";
        o.version = version;
        o.store = store;
        std::vector<uint8_t> bytes;
        ASSERT_EQ(BuildArchive(tree, o, &bytes), 0);
        dir.WriteFile("pack.dat", bytes);
        // Compression only from version 2 on, and only when asked.
        if (version >= 2 && !store) {
          EXPECT_LT(bytes.size(), 30000u);
        } else {
          EXPECT_GT(bytes.size(), 40000u + 3000u + 777u + 9000u);
        }
        SetArchiveExtension("dat");
        SetArchiveKey("trum8");
        Listing got;
        ReadBack(dir.Z("pack"), "", &got);
        EXPECT_EQ(got, expected);
      }
    }
  }
  // Names the format cannot hold, and versions it does not have, are refused.
  std::vector<uint8_t> bytes;
  EXPECT_EQ(BuildArchive(DirNode("", {FileNode(std::string(300, 'n'), {})}), PackOptions{}, &bytes), -1);
  PackOptions v4;
  v4.version = 4;
  EXPECT_EQ(BuildArchive(tree, v4, &bytes), -1);
}

TEST(QrpackE2E, PackListExtractAndFailures) {
  const std::string tool = filetest::QrpackPath();
  if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "qrpack not built at " << tool;
  ScratchDir dir;
  dir.MakeDir("src");
  dir.MakeDir("src/Sub");
  dir.MakeDir(reinterpret_cast<const char*>(u8"src/ソフト"));
  dir.WriteFile("src/Sub/x.bin", filetest::CompressibleBytes(50000, 8));
  dir.WriteFile("src/r.bin", filetest::RandomBytes(5000, 9));
  dir.WriteText(reinterpret_cast<const char*>(u8"src/ソフト/名前.txt"), "name");
  const std::string q = "'" + tool + "' ";
  const std::string h = "'" + dir.host + "/";
  for (const char* version : {"0", "1", "2", "3"}) {
    SCOPED_TRACE(version);
    ASSERT_EQ(RunShell(q + "pack --key trum8 --version " + version + " " + h + "src' " + h + "gr.dat'"), 0);
    EXPECT_EQ(RunShell(q + "list " + h + "gr.dat' --key trum8"), 0);
    std::system(("rm -rf " + h + "out'").c_str());
    ASSERT_EQ(RunShell(q + "extract " + h + "gr.dat' " + h + "out' --key trum8"), 0);
    EXPECT_EQ(RunShell("diff -r " + h + "src' " + h + "out'"), 0);
  }
  ASSERT_EQ(RunShell(q + "pack --store " + h + "src' " + h + "plain.dat'"), 0);
  EXPECT_EQ(RunShell(q + "extract " + h + "plain.dat' " + h + "out2' --key anything"), 0);  // the fallback key
  EXPECT_EQ(RunShell("diff -r " + h + "src' " + h + "out2'"), 0);

  EXPECT_NE(RunShell(q + "list " + h + "gr.dat' --key wrong"), 0);
  EXPECT_NE(RunShell(q + "list " + h + "gr.dat'"), 0);
  EXPECT_NE(RunShell(q + "pack " + h + "missing' " + h + "x.dat'"), 0);
  dir.WriteFile("bad.dat", filetest::RandomBytes(500, 1));
  EXPECT_NE(RunShell(q + "list " + h + "bad.dat'"), 0);
  EXPECT_NE(RunShell(q + "extract " + h + "none.dat' " + h + "o3'"), 0);
  EXPECT_NE(RunShell(q + "pack --version 7 " + h + "src' " + h + "x.dat'"), 0);

  // An entry named to climb out of the target folder is refused, and the
  // file it names is left alone.
  dir.WriteText("victim.txt", "keep me");
  std::vector<uint8_t> evil;
  ASSERT_EQ(BuildArchive(DirNode("", {FileNode("AAAvictim.txt", {1, 2, 3})}), PackOptions{}, &evil), 0);
  uint8_t key[kArchiveKeyBytes];
  MakeFallbackArchiveKey(key);
  ScrambleArchiveBytes(evil.data(), evil.size(), 0, key);
  const std::string written = "AAAvictim.txt", climbing = "..\\victim.txt";
  const auto at = std::search(evil.begin(), evil.end(), written.begin(), written.end());
  ASSERT_NE(at, evil.end());
  std::copy(climbing.begin(), climbing.end(), at);
  ScrambleArchiveBytes(evil.data(), evil.size(), 0, key);
  dir.WriteFile("evil.dat", evil);
  EXPECT_NE(RunShell(q + "extract " + h + "evil.dat' " + h + "out3'"), 0);
  EXPECT_NE(RunShell(q + "list " + h + "evil.dat'"), 0);
  std::vector<uint8_t> victim;
  ASSERT_EQ(ReadWholeFile(dir.Z("victim.txt").c_str(), &victim), 0);
  EXPECT_EQ(std::string(victim.begin(), victim.end()), "keep me");
  EXPECT_NE(RunShell(q + "frobnicate"), 0);
}
