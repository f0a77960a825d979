// Archives assembled byte by byte from the format's layout (header, index,
// name records, key stream, an LZ stream coded by hand), and fixed expected
// bytes for the key and the LZ encoder: a mistake the writer and the reader
// share cannot pass here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "framework/core/archives/lz_codec.h"

using namespace qor;
using filetest::ScratchDir;

namespace {

// The key "trum8" makes, worked out by hand: "trum8trum8tr" through the
// per-position transform.
constexpr uint8_t kTrum8Key[12] = {0x8B, 0x27, 0x1E, 0x29, 0xC7, 0xA6, 0x8D, 0x51, 0x6B, 0xA9, 0x09, 0x6D};

struct Builder {
  std::vector<uint8_t> v;
  void U16(uint32_t x) {
    for (int i = 0; i < 2; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
  }
  void U32(uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
  }
  void Text(const std::string& s) { v.insert(v.end(), s.begin(), s.end()); }
  // A name record: unit count, 16-bit sum of the upper-cased bytes, the
  // upper-cased name zero-padded to whole 4-byte units, the written name.
  void Name(const std::string& upper, const std::string& written) {
    uint32_t sum = 0;
    for (unsigned char c : upper) sum += c;
    const uint32_t units = static_cast<uint32_t>(upper.size()) / 4 + 1;
    U16(units);
    U16(sum & 0xFFFF);
    Text(upper);
    v.resize(v.size() + units * 4 - upper.size(), 0);
    Text(written);
    v.push_back(0);
  }
  // A file entry: name record offset, attributes, three times, data offset,
  // size and (from version 2) the compressed size.
  void Entry(int version, uint32_t name, uint32_t attributes, uint32_t offset, uint32_t size, uint32_t packed) {
    U32(name);
    U32(attributes);
    for (int t = 0; t < 6; ++t) U32(t % 2 ? 0x01D4E3A6u : 0xE5A0C000u);  // 2019
    U32(offset);
    U32(size);
    if (version >= 2) U32(packed);
  }
};

const std::string kLetters = "abcdefghijklmnopqrstuvwxyz@[`{";

// Root: "ReadMe.txt" (5 bytes stored), the letters file (1 byte) and the
// folder "Sub" holding "Z.bin", "ABABABABAB" coded by hand from version 2 on.
struct Variant {
  std::string subUpper = "SUB", subWritten = "Sub";  // the folder's names
  bool subAtEnd = false;    // its (empty) record at the index's end, its last byte cut off
  bool indexFirst = false;  // the index before the data, "Z.bin" ending the file
  bool readMeNoUnits = false;  // "ReadMe.txt"'s name record claims 0 units
  uint32_t zPacked = 0;       // when not 0: "Z.bin"'s compressed size
};

std::vector<uint8_t> HandArchive(int version, const Variant& v = Variant{}) {
  Builder data;
  data.Text("hello!");
  if (version >= 2) {
    // Literals 'A' 'B', then the escape 0x20 and a copy of length 8 at
    // distance 2: code (8 - 4) << 3 = 0x20 equals the escape, so it is stored
    // one higher; one distance byte, 2 - 1.
    data.U32(10);
    data.U32(14);
    data.v.insert(data.v.end(), {0x20, 'A', 'B', 0x20, 0x21, 0x01});
  } else {
    data.Text("ABABABABAB");
  }
  const uint32_t entryBytes = version >= 2 ? 44 : 40;
  // Index: two directory records, four entries, then the names.
  const uint32_t fileTable = 32, names = fileTable + 4 * entryBytes;
  Builder names0;
  names0.Name("README.TXT", "ReadMe.txt");
  if (v.readMeNoUnits) names0.v[0] = names0.v[3] = 0;  // and a checksum whose high byte passes for padding
  const uint32_t lettersName = names + static_cast<uint32_t>(names0.v.size());
  names0.Name("ABCDEFGHIJKLMNOPQRSTUVWXYZ@[`{", kLetters);
  const uint32_t subName = names + static_cast<uint32_t>(names0.v.size());
  names0.Name(v.subUpper, v.subWritten);
  const uint32_t zName = names + static_cast<uint32_t>(names0.v.size());
  names0.Name("Z.BIN", "Z.bin");
  Builder index;
  for (uint32_t x : {0u, 0xFFFFFFFFu, 3u, 0u, 16u, 0u, 1u, 3 * entryBytes}) index.U32(x);
  index.Entry(version, names, 0x20, 0, 5, 0xFFFFFFFF);
  index.Entry(version, lettersName, 0x20, 5, 1, 0xFFFFFFFF);
  const uint32_t cutRecord = names + static_cast<uint32_t>(names0.v.size());
  index.Entry(version, subName, 0x10, v.subAtEnd ? cutRecord : 16, 0, 0xFFFFFFFF);
  index.Entry(version, zName, 0x20, 6, 10, v.zPacked != 0 ? v.zPacked : version >= 2 ? 14 : 0xFFFFFFFF);
  index.v.insert(index.v.end(), names0.v.begin(), names0.v.end());
  if (v.subAtEnd) index.v.insert(index.v.end(), {16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

  const uint32_t first = 24, second = first + static_cast<uint32_t>((v.indexFirst ? index : data).v.size());
  const uint32_t dataOffset = v.indexFirst ? second : first, indexOffset = v.indexFirst ? first : second;
  Builder file;
  file.Text("QR");
  file.U16(static_cast<uint32_t>(version));
  for (uint32_t x : {static_cast<uint32_t>(index.v.size()), dataOffset, indexOffset, fileTable, 0u}) file.U32(x);
  for (const Builder* part : {v.indexFirst ? &index : &data, v.indexFirst ? &data : &index}) {
    file.v.insert(file.v.end(), part->v.begin(), part->v.end());
  }
  for (size_t p = 0; p < file.v.size(); ++p) file.v[p] ^= kTrum8Key[p % 12];
  return file.v;
}

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!filetest::ReadThroughTable(path, &bytes, 3)) return "<none>";
  return std::string(bytes.begin(), bytes.end());
}

// Runs qrpack; its standard output, and its exit code (-1 for a signal).
int RunQrpack(const std::string& arguments, std::string* output) {
  std::FILE* p = popen(("'" + filetest::QrpackPath() + "' " + arguments + " 2>/dev/null").c_str(), "r");
  if (p == nullptr) return -1;
  char buffer[256];
  size_t n;
  output->clear();
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) output->append(buffer, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(ArchiveBytes, KeyAndEncoderAgainstFixedBytes) {
  uint8_t key[12];
  ExpandArchiveKey("trum8", key);
  EXPECT_EQ(std::vector<uint8_t>(key, key + 12), std::vector<uint8_t>(kTrum8Key, kTrum8Key + 12));
  ExpandArchiveKey(nullptr, key);
  const uint8_t noKey[12] = {0x58, 0x7A, 0xCC, 0x85, 0x58, 0x75, 0x58, 0x0B, 0x3D, 0x36, 0x34, 0xB8};
  EXPECT_EQ(std::vector<uint8_t>(key, key + 12), std::vector<uint8_t>(noKey, noKey + 12));
  ExpandArchiveKey("0123456789ABCDEF", key);
  const uint8_t longKey[12] = {0xCF, 0x13, 0x59, 0xCC, 0xCB, 0xE7, 0xC9, 0x19, 0xC1, 0xA8, 0x5A, 0x5D};
  EXPECT_EQ(std::vector<uint8_t>(key, key + 12), std::vector<uint8_t>(longKey, longKey + 12));

  // The escape is the rarest byte, the lowest on a tie; a copy code at or
  // above the escape is stored one higher, one below it as it is.
  const struct {
    std::string input;
    std::vector<uint8_t> expected;
  } cases[] = {
      {"ABCDABCD", {8, 0, 0, 0, 16, 0, 0, 0, 0x00, 'A', 'B', 'C', 'D', 0x00, 0x01, 0x03}},
      {std::string("\0ABCD\0ABCD", 10), {10, 0, 0, 0, 17, 0, 0, 0, 0x01, 0, 'A', 'B', 'C', 'D', 0x01, 0x09, 0x04}},
      {std::string("\0ABCDABCD", 9), {9, 0, 0, 0, 17, 0, 0, 0, 0x01, 0, 'A', 'B', 'C', 'D', 0x01, 0x00, 0x03}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out;
    ASSERT_EQ(CompressLz(reinterpret_cast<const uint8_t*>(c.input.data()), c.input.size(), &out), 0);
    EXPECT_EQ(out, c.expected) << c.input.size();
  }
}

TEST(ArchiveBytes, ReaderDecodesHandBuiltArchives) {
  ScratchDir dir;
  for (int version : {1, 3}) {
    SCOPED_TRACE(version);
    filetest::ResetFileModules();
    dir.WriteFile("hand.dat", HandArchive(version));
    SetArchiveExtension("dat");
    SetArchiveKey("trum8");
    EXPECT_EQ(ReadText(dir.Z("hand\\readme.txt")), "hello");
    EXPECT_EQ(ReadText(dir.Z("hand\\sub\\z.bin")), "ABABABABAB");
    // Names are found in either case of every letter, and only of letters.
    EXPECT_EQ(ReadText(dir.Z("hand\\" + kLetters)), "!");
    EXPECT_EQ(ReadText(dir.Z("hand\\ABCDEFGHIJKLMNOPQRSTUVWXYZ@[`{")), "!");
    EXPECT_EQ(ReadText(dir.Z("hand\\abcdefghijklmnopqrstuvwxyz`[`{")), "<none>");
    EXPECT_EQ(ReadText(dir.Z("hand\\abcdefghijklmnopqrstuvwxyz@{`{")), "<none>");
    EXPECT_EQ(ReadText(dir.Z("hand\\sub\\z.bi")), "<none>");
    EXPECT_EQ(ReadText(dir.Z("hand\\sub")), "<none>");  // a folder is no file
    // Paths come upper-cased through the file set; an inner name given
    // straight to the archive is folded by the lookup itself.
    const int slot = OpenArchiveByPath(-1, dir.Z("hand.dat").c_str(), 0, 0);
    ASSERT_GE(slot, 0);
    for (const std::string& name : {kLetters, std::string("sub\\z.bin")}) {
      ArchivedFile f;
      ASSERT_EQ(OpenArchivedFile(&f, &GetArchiveSlot(slot)->state, name.c_str(), 0), 0) << name;
      std::vector<uint8_t> all(f.size);
      EXPECT_EQ(ReadArchivedFile(&f, all.data(), f.size), static_cast<int64_t>(f.size));
      EXPECT_EQ(ReadArchivedFile(&f, all.data(), 1), 0);  // at the end: nothing, and the end is seen
      EXPECT_EQ(EofArchivedFile(&f), -1);
      CloseArchivedFile(&f);
    }
    LowerArchiveUse(slot);
    LowerArchiveUse(slot);  // not below 0: the next user must keep it open
    ASSERT_EQ(OpenArchiveByPath(-1, dir.Z("hand.dat").c_str(), 0, 0), slot);
    ReleaseUnusedArchives();
    EXPECT_NE(GetArchiveSlot(slot), nullptr);
    LowerArchiveUse(slot);
    EXPECT_EQ(GetArchiveSlot(kMaxArchives), nullptr);
    EXPECT_EQ(GetArchiveSlot(-1), nullptr);
    FindRecord r;
    const FindHandle h = ArcFindFirst(dir.Z("hand\\readme.*").c_str(), &r);
    ASSERT_NE(h, -1);
    EXPECT_STREQ(r.name, "ReadMe.txt");
    EXPECT_EQ(r.lastWriteTime.year, 2019);
    ArcFindClose(h);
  }
  // A folder record one byte longer than what is left of the index.
  filetest::ResetFileModules();
  dir.WriteFile("cut.dat", HandArchive(3, {.subAtEnd = true}));
  SetArchiveExtension("dat");
  SetArchiveKey("trum8");
  EXPECT_EQ(ReadText(dir.Z("cut\\readme.txt")), "<none>");
  // A name record of no units, and a compressed entry shorter than its own
  // LZ header, damage the whole archive; data may end the file.
  const std::pair<Variant, const char*> variants[] = {
      {{.readMeNoUnits = true}, "<none>"}, {{.zPacked = 8}, "<none>"}, {{.indexFirst = true}, "ABABABABAB"}};
  for (const auto& [variant, expected] : variants) {
    filetest::ResetFileModules();
    dir.WriteFile("odd.dat", HandArchive(3, variant));
    SetArchiveExtension("dat");
    SetArchiveKey("trum8");
    EXPECT_EQ(ReadText(dir.Z("odd\\sub\\z.bin")), expected);
    EXPECT_EQ(ReadText(dir.Z("odd\\readme.txt")), expected == std::string("<none>") ? "<none>" : "hello");
  }
}

TEST(ArchiveBytesE2E, QrpackListsHandBuiltArchiveAndRefusesSelfNamedFolders) {
  if (access(filetest::QrpackPath().c_str(), X_OK) != 0) GTEST_SKIP() << "qrpack not built";
  ScratchDir dir;
  const std::string at = "'" + dir.host + "/";
  std::string out;
  dir.WriteFile("hand.dat", HandArchive(3));
  EXPECT_EQ(RunQrpack("list " + at + "hand.dat' --key trum8", &out), 0);
  EXPECT_EQ(out, "ReadMe.txt\t5\n" + kLetters + "\t1\nSub/\nSub/Z.bin\t10\n");
  EXPECT_EQ(RunQrpack("list " + at + "hand.dat' --key wrong", &out), 1);

  // A folder named so that it stands for itself (or its parent) would be
  // walked without end: the archive does not open, and qrpack says so.
  const std::pair<std::string, std::string> names[] = {{"", ""}, {"SUB", ""}, {".", "."}, {"..", ".."}, {"", "Sub"}};
  for (const auto& [upper, written] : names) {
    SCOPED_TRACE(upper + "|" + written);
    filetest::ResetFileModules();
    dir.WriteFile("self.dat", HandArchive(3, {.subUpper = upper, .subWritten = written}));
    SetArchiveExtension("dat");
    SetArchiveKey("trum8");
    EXPECT_EQ(ReadText(dir.Z("self\\readme.txt")), "<none>");
    EXPECT_EQ(RunQrpack("list " + at + "self.dat' --key trum8", &out), 1);
    EXPECT_EQ(RunQrpack("extract " + at + "self.dat' " + at + "out' --key trum8", &out), 1);
  }
}
