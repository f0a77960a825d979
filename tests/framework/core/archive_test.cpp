#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "framework/core/archives/archive_tables.h"
#include "framework/core/archives/lz_codec.h"

using namespace qor;
using filetest::DirNode;
using filetest::FileNode;
using filetest::ScratchDir;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> LzStream(uint32_t decompressed, uint8_t escape, const std::vector<uint8_t>& code) {
  uint8_t header[kLzHeaderBytes];
  WriteLe32(header, decompressed);
  WriteLe32(header + 4, static_cast<uint32_t>(kLzHeaderBytes + code.size()));
  header[8] = escape;
  std::vector<uint8_t> v(header, header + kLzHeaderBytes);
  for (uint8_t b : code) v.push_back(b);
  return v;
}

int64_t Decode(const std::vector<uint8_t>& stream, std::vector<uint8_t>* out) {
  const int64_t size = DecompressLz(stream.data(), stream.size(), nullptr, 0);
  if (size < 0) return -1;
  out->assign(static_cast<size_t>(size), 0);
  return DecompressLz(stream.data(), stream.size(), out->data(), out->size());
}

void WriteArchive(const ScratchDir& dir, const std::string& relative, const PackNode& root,
                  PackOptions options = PackOptions{}) {
  std::vector<uint8_t> bytes;
  ASSERT_EQ(BuildArchive(root, options, &bytes), 0);
  dir.WriteFile(relative, bytes);
}

PackOptions KeyOptions(const std::string& key, int version = 3, bool store = false) {
  PackOptions o;
  o.keyMode = PackKeyMode::String;
  o.key = key;
  o.version = version;
  o.store = store;
  return o;
}

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!filetest::ReadThroughTable(path, &bytes)) return "<none>";
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(LzDecode, CopiesEscapesAndLongLengths) {
  std::vector<uint8_t> out;
  // Distance 1, length 20: the previous byte 20 more times.
  ASSERT_EQ(Decode(LzStream(21, 0xFF, {'A', 0xFF, 16 << 3, 0x00}), &out), 21);
  EXPECT_EQ(out, std::vector<uint8_t>(21, 'A'));
  // The escape twice is one literal escape byte.
  ASSERT_EQ(Decode(LzStream(2, 0x7E, {0x7E, 0x7E, 'x'}), &out), 2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0x7E, 'x'}));
  // A code byte above the escape is stored one higher.
  ASSERT_EQ(Decode(LzStream(14, 0x10, {'A', 'B', 0x10, (8 << 3) + 1, 0x01}), &out), 14);
  EXPECT_EQ(std::string(out.begin(), out.end()), "ABABABABABABAB");
  // Long length (flag 4 and a high byte) with a two-byte distance field.
  std::vector<uint8_t> code(300, 'q');
  const uint32_t l = 1000 - 4;
  for (uint8_t b : {uint8_t{0xFF}, static_cast<uint8_t>(((l & 31) << 3) | 4 | 1), static_cast<uint8_t>(l >> 5),
                    uint8_t{0x2B}, uint8_t{0x01}}) {
    code.push_back(b);
  }
  ASSERT_EQ(Decode(LzStream(1300, 0xFF, code), &out), 1300);
  EXPECT_EQ(out, std::vector<uint8_t>(1300, 'q'));
}

TEST(LzDecode, RefusesBadStreams) {
  std::vector<uint8_t> out(64);
  auto decode = [&](const std::vector<uint8_t>& s, size_t outSize) {
    return DecompressLz(s.data(), s.size(), out.data(), outSize);
  };
  EXPECT_EQ(decode(LzStream(5, 0xFF, {'A', 0xFF, 0 << 3, 0x04}), 5), -1);   // copy before the start
  EXPECT_EQ(decode(LzStream(6, 0xFF, {'A', 0xFF, 8 << 3, 0x00}), 6), -1);   // copy past the end
  EXPECT_EQ(decode(LzStream(2, 0xFF, {'A', 0xFF}), 2), -1);                  // escape cut off
  EXPECT_EQ(decode(LzStream(9, 0xFF, {'A', 0xFF, (1 << 3) | 2, 0x00}), 9), -1);  // distance cut off
  EXPECT_EQ(decode(LzStream(9, 0xFF, {'A', 0xFF, 4}), 9), -1);               // length byte cut off
  EXPECT_EQ(decode(LzStream(9, 0xFF, {'A', 0xFF, 3, 0, 0, 0, 0}), 9), -1);   // distance kind 3
  EXPECT_EQ(decode(LzStream(4, 0xFF, {'A', 'B'}), 4), -1);                   // output comes out short
  EXPECT_EQ(decode(LzStream(2, 0xFF, {'A', 'B'}), 3), -1);                   // size disagrees with the entry
  std::vector<uint8_t> s = LzStream(2, 0xFF, {'A', 'B'});
  EXPECT_EQ(DecompressLz(s.data(), s.size() + 1, out.data(), 2), -1);        // compressed size disagrees
  EXPECT_EQ(DecompressLz(s.data(), 5, out.data(), 2), -1);                   // shorter than the header
}

TEST(LzCodec, RoundTripsEveryKindOfInput) {
  std::vector<std::vector<uint8_t>> inputs = {
      {},
      {0x00},
      std::vector<uint8_t>(20000, 0x41),  // longest copies
      filetest::RandomBytes(5000, 1),
      filetest::CompressibleBytes(100000, 2),
  };
  // Every byte value equally often: the escape is as common as anything.
  std::vector<uint8_t> flat;
  for (int r = 0; r < 40; ++r) {
    for (int b = 0; b < 256; ++b) flat.push_back(static_cast<uint8_t>(b));
  }
  inputs.push_back(flat);
  // A block repeated after 70000 bytes needs the three-byte distance field.
  std::vector<uint8_t> far = filetest::RandomBytes(70000, 3);
  far.insert(far.end(), far.begin(), far.begin() + 5000);
  inputs.push_back(far);
  for (const auto& input : inputs) {
    std::vector<uint8_t> packed, unpacked;
    ASSERT_EQ(CompressLz(input.data(), input.size(), &packed), 0);
    ASSERT_EQ(Decode(packed, &unpacked), static_cast<int64_t>(input.size()));
    EXPECT_EQ(unpacked, input);
  }
  std::vector<uint8_t> packed;
  CompressLz(far.data(), far.size(), &packed);
  EXPECT_LT(packed.size(), far.size() - 4000);
}

TEST(ArchiveKey, ExpansionAndScrambling) {
  uint8_t a[12], b[12];
  ExpandArchiveKey("", a);
  ExpandArchiveKey(nullptr, b);
  EXPECT_EQ(std::memcmp(a, b, 12), 0);  // an empty key is no key
  ExpandArchiveKey("abc", a);
  ExpandArchiveKey("abcabcabcabc", b);
  EXPECT_EQ(std::memcmp(a, b, 12), 0);
  ExpandArchiveKey("0123456789ABCDEF", a);
  ExpandArchiveKey("0123456789AB", b);
  EXPECT_EQ(std::memcmp(a, b, 12), 0);
  ExpandArchiveKey("trum8", a);
  ExpandArchiveKey("trum9", b);
  EXPECT_NE(std::memcmp(a, b, 12), 0);
  // Word-wise scrambling agrees with the byte rule at every start offset.
  const std::vector<uint8_t> data = filetest::RandomBytes(100, 5);
  for (uint64_t offset = 0; offset < 30; ++offset) {
    std::vector<uint8_t> scrambled = data;
    ScrambleArchiveBytes(scrambled.data(), scrambled.size(), offset + (1ull << 33), a);
    for (size_t i = 0; i < data.size(); ++i) {
      ASSERT_EQ(scrambled[i], data[i] ^ a[(offset + (1ull << 33) + i) % 12]);
    }
  }
}

// The folder rules: an archive stands for its folder, the shallowest one
// wins, and a covering archive must hold the file.
TEST(ArchiveLookup, ShallowestArchiveWinsAndCoversItsFolder) {
  ScratchDir dir;
  dir.MakeDir("Game");
  dir.MakeDir("Game/title");
  dir.MakeDir("Game/GR");
  dir.MakeDir("Game/Stage");
  dir.WriteText("Game/title/title.bmp", "loose title");
  dir.WriteText("Game/title/only_loose.bmp", "only loose");
  dir.WriteText("Game/Stage/001.BMP", "stage one");
  WriteArchive(dir, "Game/TITLE.DAT",
               DirNode("", {FileNode("Title.bmp", Bytes("packed title")),
                            DirNode("Sub", {FileNode("x.bmp", filetest::CompressibleBytes(5000, 9))})}),
               KeyOptions("trum8"));
  WriteArchive(dir, "Game/gr.dat", DirNode("", {DirNode("sub", {FileNode("b.bmp", Bytes("outer b"))})}),
               KeyOptions("trum8"));
  WriteArchive(dir, "Game/GR/sub.dat", DirNode("", {FileNode("b.bmp", Bytes("inner b")), FileNode("c.bmp", Bytes("c"))}),
               KeyOptions("trum8"));
  ASSERT_EQ(SetCurrentDirDispatch(dir.Z("game").c_str()), 0);

  // Without the extension set, the default "QRA" finds no archive.
  EXPECT_EQ(ReadText("title\\title.bmp"), "loose title");
  SetArchiveExtension("dat");
  SetArchiveKey("trum8");
  EXPECT_EQ(ReadText("title\\title.bmp"), "packed title");
  EXPECT_EQ(ReadText("TITLE/TITLE.BMP"), "packed title");
  EXPECT_EQ(ReadText(dir.Z("GAME\\Title\\title.bmp")), "packed title");
  std::vector<uint8_t> x;
  ASSERT_TRUE(filetest::ReadThroughTable("title\\sub\\X.BMP", &x, 333));
  EXPECT_EQ(x, filetest::CompressibleBytes(5000, 9));
  // The archive covers the folder: a loose file there is not reached.
  EXPECT_EQ(ReadText("title\\only_loose.bmp"), "<none>");
  EXPECT_EQ(ReadText("stage\\001.bmp"), "stage one");
  EXPECT_EQ(ReadText("gr\\sub\\b.bmp"), "outer b");
  EXPECT_EQ(ReadText("gr\\sub\\c.bmp"), "<none>");
  EXPECT_EQ(ReadText("title"), "<none>");  // a folder is no file

  // Files hold their archive; closing leaves it open until released.
  EXPECT_EQ(OpenFileCount(), 0);
  EXPECT_EQ(OpenArchiveCount(), 2);
  ReleaseUnusedArchives();
  EXPECT_EQ(OpenArchiveCount(), 0);
  EXPECT_EQ(ReadText("title\\title.bmp"), "packed title");

  // An extension of 64 characters or more restores the default.
  SetArchiveExtension(std::string(64, 'd').c_str());
  EXPECT_EQ(ReadText("title\\title.bmp"), "loose title");
}

TEST(ArchiveLookup, KeysFallbackKeyAndEmptyKey) {
  ScratchDir dir;
  dir.MakeDir("a");
  dir.WriteText("a/f.txt", "loose");
  ASSERT_EQ(SetCurrentDirDispatch(dir.z.c_str()), 0);
  PackOptions fallback, noKey;
  fallback.keyMode = PackKeyMode::Fallback;
  noKey.keyMode = PackKeyMode::NoKey;
  const struct {
    PackOptions written;
    const char* readerKey;
    const char* expected;
  } cases[] = {
      {KeyOptions("trum8"), "other", "loose"},  // a wrong key: no archive here
      {KeyOptions("trum8"), "trum8", "packed"},
      {fallback, "trum8", "packed"},  // fails with the key, passes with the fallback
      {noKey, "", "packed"},          // an empty key is no key
      {KeyOptions("0123456789ABCDEF"), "0123456789ABxyz", "packed"},  // only 12 characters are kept
  };
  for (const auto& c : cases) {
    ResetArchiveTables();
    SetArchiveExtension("dat");
    SetArchiveKey(c.readerKey);
    WriteArchive(dir, "a.dat", DirNode("", {FileNode("f.txt", Bytes("packed"))}), c.written);
    EXPECT_EQ(ReadText("a\\f.txt"), c.expected) << c.readerKey;
  }
}

TEST(ArchivedFile, ElementsSeeksAndEndInBothStorageKinds) {
  ScratchDir dir;
  for (bool store : {true, false}) {
    SCOPED_TRACE(store);
    filetest::ResetFileModules();
    WriteArchive(dir, "p.dat", DirNode("", {FileNode("ten", std::vector<uint8_t>(10, 'z'))}), KeyOptions("k", 3, store));
    SetArchiveExtension("dat");
    SetArchiveKey("k");
    const FileHandle f = FileOpenDispatch(dir.Z("p\\ten").c_str(), 0, 1, 0);
    ASSERT_NE(f, 0);
    uint8_t out[16];
    EXPECT_EQ(FileReadDispatch(out, 4, 3, f), 2u);  // whole elements, as for plain files
    EXPECT_EQ(FileTellDispatch(f), 8);
    EXPECT_EQ(FileReadDispatch(out, 4, 1, f), 0u);
    EXPECT_EQ(FileEofDispatch(f), -1);
    EXPECT_EQ(FileSeekDispatch(f, -50, 1), 0);
    EXPECT_EQ(FileTellDispatch(f), 0);
    EXPECT_EQ(FileEofDispatch(f), 0);
    EXPECT_EQ(FileSeekDispatch(f, INT64_MAX, 1), 0);
    EXPECT_EQ(FileTellDispatch(f), 10);
    EXPECT_EQ(FileSeekDispatch(f, -3, 2), 0);
    EXPECT_EQ(FileReadDispatch(out, 1, 16, f), 3u);
    EXPECT_EQ(FileSeekDispatch(f, 0, 2), 0);  // exactly at the end: a read finds the end
    EXPECT_EQ(FileReadDispatch(out, 1, 1, f), 0u);
    EXPECT_EQ(FileEofDispatch(f), -1);
    EXPECT_EQ(FileIdleDispatch(f), 1);
    EXPECT_EQ(FileCloseDispatch(f), 0);
  }
}

TEST(ArchiveFind, WildcardsDotsAndNamesAsWritten) {
  ScratchDir dir;
  WriteArchive(dir, "pics.dat",
               DirNode("", {FileNode("A.B.BMP", Bytes("12")), FileNode("b.bmp", Bytes("123")),
                            FileNode("readme", Bytes("r")), DirNode("Sub", {FileNode("in.Bmp", Bytes("1"))})}),
               KeyOptions("k"));
  SetArchiveExtension("dat");
  SetArchiveKey("k");
  auto list = [&](const std::string& pattern) {
    std::string names;
    FindRecord r;
    const FindHandle h = ArcFindFirst(dir.Z(pattern).c_str(), &r);
    if (h == -1) return std::string("<none>");
    do {
      names += std::string(r.name) + (r.isDirectory ? "/" : "") + ":" + std::to_string(r.sizeLow) + " ";
    } while (ArcFindNext(h, &r) == 0);
    EXPECT_EQ(ArcFindClose(h), 0);
    return names;
  };
  EXPECT_EQ(list("pics\\*.bmp"), "A.B.BMP:2 b.bmp:3 ");
  EXPECT_EQ(list("pics\\*"), "./:0 A.B.BMP:2 Sub/:0 b.bmp:3 readme:1 ");
  EXPECT_EQ(list("pics\\?.*"), "A.B.BMP:2 b.bmp:3 ");
  EXPECT_EQ(list("pics\\?.bmp"), "b.bmp:3 ");
  EXPECT_EQ(list("pics\\*.B*.BMP"), "A.B.BMP:2 ");
  EXPECT_EQ(list("pics\\sub\\*"), "./:0 ../:0 in.Bmp:1 ");
  EXPECT_EQ(list("pics\\nothing*"), "<none>");
  EXPECT_EQ(list("pics\\missing\\*"), "<none>");
  FindRecord r;
  const FindHandle h = ArcFindFirst(dir.Z("pics\\readme").c_str(), &r);
  ASSERT_NE(h, -1);
  EXPECT_EQ(r.lastWriteTime.year, 2019);
  ArcFindClose(h);
  // Outside any archive the folder on disk is listed.
  std::vector<uint8_t> archive;
  ASSERT_EQ(ReadWholeFile(dir.Z("pics.dat").c_str(), &archive), 0);
  EXPECT_EQ(list("*.dat"), "pics.dat:" + std::to_string(archive.size()) + " ");
}

// A pattern an archive covers is searched in the archive, never in a folder
// of the same name on disk; the search starts from the archive's current
// directory, a leading backslash from its root, and leaves the current
// directory as it found it. Patterns inside an archive come upper-cased.
TEST(ArchiveFind, ArchiveSearchFromFindFirstLeavesTheCurrentDirectory) {
  ScratchDir dir;
  WriteArchive(dir, "pics.dat",
               DirNode("", {FileNode("a.bmp", Bytes("12")), DirNode("Sub", {FileNode("in.Bmp", Bytes("1"))})}),
               KeyOptions("k"));
  dir.MakeDir("pics");
  dir.WriteFile("pics/disk.bmp", Bytes("disk"));
  SetArchiveExtension("dat");
  SetArchiveKey("k");
  FindRecord r;
  const FindHandle h = ArcFindFirst(dir.Z("pics\\*.bmp").c_str(), &r);
  ASSERT_NE(h, -1);
  EXPECT_STREQ(r.name, "a.bmp");
  EXPECT_EQ(ArcFindNext(h, &r), -1);
  EXPECT_EQ(ArcFindClose(h), 0);

  char inner[kFileNameCapacity * 2];
  const int slot = FindArchiveForPath(dir.Z("pics\\x").c_str(), inner, sizeof inner);
  ASSERT_GE(slot, 0);
  ArchiveState* s = &GetArchiveSlot(slot)->state;
  ASSERT_EQ(ChangeArchiveDir(s, "SUB", 1, nullptr), 0);
  const uint32_t sub = s->currentDir;
  const struct {
    const char* pattern;
    const char* first;  // nullptr: the search fails
  } kCases[] = {
      {"*", "."}, {"*.BMP", "in.Bmp"}, {"\\*.BMP", "a.bmp"}, {"..\\S*", "Sub"}, {"\\SUB\\?N.*", "in.Bmp"},
      {"none\\*", nullptr}, {"*.wav", nullptr}, {"SUB\\", nullptr},
  };
  for (const auto& c : kCases) {
    ArchiveFindHandle find{};
    find.archiveSlot = slot;
    find.candidate = 7;  // left over from an earlier search: starts again
    const int result = ArchiveFindFirst(&find, c.pattern, &r);
    EXPECT_EQ(result, c.first ? 0 : -1) << c.pattern;
    if (c.first && result == 0) {
      EXPECT_STREQ(r.name, c.first) << c.pattern;
    }
    EXPECT_EQ(s->currentDir, sub) << c.pattern;
  }
  // A folder part longer than any path is refused, not copied.
  ArchiveFindHandle find{};
  find.archiveSlot = slot;
  EXPECT_EQ(ArchiveFindFirst(&find, (std::string(4 * kFileNameCapacity, 'D') + "\\*").c_str(), &r), -1);
  EXPECT_EQ(s->currentDir, sub);
  ChangeArchiveDir(s, "\\", 1, nullptr);
  LowerArchiveUse(slot);
}

TEST(ArchivedFile, InMemoryModeAndAsynchronousReads) {
  ScratchDir dir;
  const std::vector<uint8_t> packed = filetest::CompressibleBytes(70000, 21);
  const std::vector<uint8_t> stored = filetest::RandomBytes(50000, 22);
  WriteArchive(dir, "m.dat", DirNode("", {FileNode("packed", packed), FileNode("stored", stored)}), KeyOptions("k"));
  SetArchiveKey("k");
  SetArchiveExtension("dat");

  // The whole archive in memory.
  const std::string archivePath = dir.Z("m.dat");
  const int slot = OpenArchiveByPath(-1, archivePath.c_str(), 1, 1);
  ASSERT_GE(slot, 0);
  for (const char* name : {"packed", "stored"}) {
    ArchivedFile f;
    ASSERT_EQ(OpenArchivedFile(&f, &GetArchiveSlot(slot)->state, name, 0), 0);
    std::vector<uint8_t> out(f.size);
    EXPECT_EQ(ReadArchivedFile(&f, out.data(), f.size), static_cast<int64_t>(f.size));
    EXPECT_EQ(out, std::string(name) == "packed" ? packed : stored);
    CloseArchivedFile(&f);
  }
  LowerArchiveUse(slot);
  ReleaseUnusedArchives();

  // Asynchronous files of one archive, interleaved: each read finishes
  // before the archive's reader takes the next.
  const FileHandle a = FileOpenDispatch(dir.Z("m\\packed").c_str(), 0, 1, 1);
  const FileHandle b = FileOpenDispatch(dir.Z("m\\stored").c_str(), 0, 1, 1);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  std::vector<uint8_t> outA(packed.size()), outB(stored.size());
  for (size_t at = 0; at < stored.size(); at += 1000) {
    ASSERT_EQ(FileReadDispatch(outB.data() + at, 1, 1000, b), 1000u);
    if (at < packed.size()) {
      ASSERT_EQ(FileReadDispatch(outA.data() + at, 1000, 1, a), 1u);
    }
  }
  while (FileIdleDispatch(b) == 0) plat::YieldThread();
  ASSERT_EQ(FileReadDispatch(outA.data() + 50000, 1, 20000, a), 20000u);
  EXPECT_EQ(outA, packed);
  EXPECT_EQ(outB, stored);
  FileCloseDispatch(a);
  FileCloseDispatch(b);
}
