// Damaged archives: truncated, bit-flipped and with header and index fields
// set to edge values. Each must either read as an archive or be refused;
// nothing may crash, hang, read out of bounds or leave a thread behind.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "file_test_support.h"

using namespace qor;
using filetest::DirNode;
using filetest::FileNode;
using filetest::ScratchDir;

namespace {

PackNode CorpusTree() {
  std::vector<uint8_t> text = filetest::CompressibleBytes(900, 31);
  return DirNode("", {FileNode("a.txt", text), FileNode("empty", {}), FileNode("raw.bin", filetest::RandomBytes(120, 32)),
                      DirNode("Sub", {FileNode("\x83\x5C\x83\x74\x83\x67.bmp", text),
                                      DirNode("deep", {FileNode("z", {1, 2, 3})})})});
}

std::vector<uint8_t> BuildCorpusArchive(int version) {
  PackOptions o;
  o.keyMode = PackKeyMode::String;
  o.key = "k";
  o.version = version;
  std::vector<uint8_t> bytes;
  BuildArchive(CorpusTree(), o, &bytes);
  return bytes;
}

// Reads every file below `folder` found through the find operations, with
// a few seeks and element sizes. Returns the number of bytes read.
size_t ReadEverything(const std::string& folder, int depth = 0) {
  if (depth > 8) return 0;
  size_t total = 0;
  FindRecord r;
  const FindHandle h = ArcFindFirst((folder + "\\*").c_str(), &r);
  if (h == -1) return 0;
  std::vector<std::pair<std::string, bool>> entries;
  do {
    if (std::strcmp(r.name, ".") != 0 && std::strcmp(r.name, "..") != 0) entries.emplace_back(r.name, r.isDirectory != 0);
  } while (ArcFindNext(h, &r) == 0);
  ArcFindClose(h);
  for (const auto& [name, isDirectory] : entries) {
    const std::string path = folder + "\\" + name;
    if (isDirectory) {
      total += ReadEverything(path, depth + 1);
      continue;
    }
    const FileHandle f = FileOpenDispatch(path.c_str(), 0, 1, 0);
    if (f == 0) continue;
    uint8_t buffer[256];
    for (size_t got; (got = FileReadDispatch(buffer, 3, 50, f)) > 0;) total += got * 3;
    FileSeekDispatch(f, -7, 2);
    total += FileReadDispatch(buffer, 1, sizeof buffer, f);
    FileSeekDispatch(f, 5, 0);
    total += FileReadDispatch(buffer, 8, 4, f) * 8;
    FileCloseDispatch(f);
  }
  return total;
}

struct Corpus {
  ScratchDir dir;
  int opened = 0;
  size_t lastRead = 0;

  // Tries one archive image; true when it opened as an archive.
  bool Try(const std::vector<uint8_t>& bytes) {
    dir.WriteFile("c.dat", bytes);
    ResetArchiveTables();
    SetArchiveExtension("dat");
    SetArchiveKey("k");
    char inner[512];
    const int slot = FindArchiveForPath(dir.Z("c\\x").c_str(), inner, sizeof inner);
    if (slot >= 0) LowerArchiveUse(slot);
    lastRead = ReadEverything(dir.Z("c"));
    ResetArchiveTables();
    EXPECT_EQ(plat::LiveThreadCount(), 0);
    if (slot >= 0) ++opened;
    return slot >= 0;
  }
};

// The archive image with a 32-bit field (in descrambled terms) replaced.
std::vector<uint8_t> WithField(const std::vector<uint8_t>& scrambled, size_t at, uint32_t value) {
  uint8_t key[kArchiveKeyBytes];
  ExpandArchiveKey("k", key);
  std::vector<uint8_t> plain = scrambled;
  ScrambleArchiveBytes(plain.data(), plain.size(), 0, key);
  WriteLe32(plain.data() + at, value);
  ScrambleArchiveBytes(plain.data(), plain.size(), 0, key);
  return plain;
}

void SweepFields(int version) {
  Corpus c;
  const std::vector<uint8_t> good = BuildCorpusArchive(version);
  ASSERT_TRUE(c.Try(good));
  ASSERT_GT(c.lastRead, 2000u);
  const uint32_t size = static_cast<uint32_t>(good.size());
  uint8_t key[kArchiveKeyBytes];
  ExpandArchiveKey("k", key);
  std::vector<uint8_t> plain = good;
  ScrambleArchiveBytes(plain.data(), plain.size(), 0, key);
  const uint32_t indexOffset = ReadLe32(plain.data() + kHeaderIndexOffset);
  std::vector<size_t> fields = {4, 8, 12, 16, 20};
  for (size_t at = indexOffset; at + 4 <= good.size(); at += 4) fields.push_back(at);
  for (size_t at : fields) {
    const uint32_t old = ReadLe32(plain.data() + at);
    for (uint32_t value : {0u, 1u, 0xFFFFFFFFu, 0x80000000u, size, size - 1, old + 12, old - 1, old + 0x10000}) {
      c.Try(WithField(good, at, value));
    }
  }
  // The version field itself: 4 and above are refused.
  std::vector<uint8_t> v4 = good;
  v4[2] ^= static_cast<uint8_t>(version ^ 4);
  EXPECT_FALSE(c.Try(v4));
}

}  // namespace

// Every cut is tried in the header and near the end (where the index is);
// elsewhere every 17th. The slow sweep below tries them all.
void SweepTruncations(int step) {
  Corpus c;
  for (int version : {0, 3}) {
    const std::vector<uint8_t> good = BuildCorpusArchive(version);
    for (size_t length = 0; length < good.size(); ++length) {
      if (length > 32 && length + 64 < good.size() && length % static_cast<size_t>(step) != 0) continue;
      ASSERT_FALSE(c.Try(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(length)))) << length;
    }
    EXPECT_TRUE(c.Try(good));
  }
}

TEST(ArchiveCorpus, TruncationsAreRefused) { SweepTruncations(17); }
TEST(ArchiveCorpus, SlowEveryTruncationIsRefused) { SweepTruncations(1); }

TEST(ArchiveCorpus, HeaderAndIndexFieldsAtEdgeValues) { SweepFields(3); }
TEST(ArchiveCorpus, SlowFieldsAtEdgeValuesWithShortEntries) { SweepFields(1); }

TEST(ArchiveCorpus, RandomBitFlips) {
  Corpus c;
  const std::vector<uint8_t> good = BuildCorpusArchive(3);
  std::mt19937 rng(2024);
  for (int i = 0; i < 600; ++i) {
    std::vector<uint8_t> bad = good;
    const int flips = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < flips; ++k) bad[rng() % bad.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    c.Try(bad);
  }
  EXPECT_GT(c.opened, 0);  // flips in file data leave the archive readable
}

TEST(ArchiveCorpus, SlowEveryBitOfEveryByte) {
  Corpus c;
  for (int version : {1, 3}) {
    const std::vector<uint8_t> good = BuildCorpusArchive(version);
    for (size_t at = 0; at < good.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= static_cast<uint8_t>(1u << bit);
        c.Try(bad);
      }
    }
  }
}
