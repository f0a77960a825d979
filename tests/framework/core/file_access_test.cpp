#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "file_test_support.h"
#include "framework/core/files/file_paths.h"
#include "framework/core/files/memory_stream.h"
#include "framework/core/files/thread_file.h"
#include "platform/kernel/find_file.h"

using namespace qor;
using filetest::ScratchDir;

namespace {

std::string FullPath(const char* path, const char* base, size_t capacity = 260) {
  std::vector<char> out(capacity);
  return MakeFullPath(path, out.data(), capacity, base) == 0 ? std::string(out.data()) : "<fail>";
}

}  // namespace

TEST(MemoryStream, ShortReadsAndClampedSeeks) {
  const uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const StreamHandle s = OpenMemoryStream(data, sizeof data);
  ASSERT_NE(s, 0);
  uint8_t out[16];
  // 10 bytes left, elements of 4: two whole elements.
  EXPECT_EQ(MemStreamRead(out, 4, 3, s), 2u);
  EXPECT_EQ(MemStreamTell(s), 8);
  // Fewer bytes than one element: they come with the rest of the element zeroed.
  MemStreamSeek(s, 7, 0);
  std::memset(out, 0xEE, sizeof out);
  EXPECT_EQ(MemStreamRead(out, 4, 1, s), 1u);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{8, 9, 10, 0}));
  EXPECT_EQ(MemStreamTell(s), 10);
  EXPECT_EQ(MemStreamRead(out, 1, 1, s), 0u);
  EXPECT_NE(MemStreamEof(s), 0);
  // Seeks clamp to the block, also for offsets whose sum would overflow.
  MemStreamSeek(s, -5, 0);
  EXPECT_EQ(MemStreamTell(s), 0);
  EXPECT_EQ(MemStreamEof(s), 0);
  MemStreamSeek(s, 100, 1);
  EXPECT_EQ(MemStreamTell(s), 10);
  MemStreamSeek(s, INT64_MAX, 2);
  EXPECT_EQ(MemStreamTell(s), 10);
  MemStreamSeek(s, INT64_MIN, 1);
  EXPECT_EQ(MemStreamTell(s), 0);
  // A size x count product that wraps must not turn into a small copy.
  const size_t hugeCount = SIZE_MAX / 16 + 2;
  EXPECT_EQ(MemStreamRead(out, 16, hugeCount, s), 1u);
  EXPECT_EQ(MemStreamTell(s), 10);
  MemStreamSeek(s, 0, 0);
  EXPECT_EQ(MemStreamRead(out, 2, hugeCount, s), 5u);
  EXPECT_EQ(MemStreamIdle(s), 1);
  FreeMemoryStream(s);

  // An empty block and element size 0 read nothing and never divide by 0.
  const StreamHandle empty = OpenMemoryStream(data, 0);
  EXPECT_EQ(MemStreamRead(out, 4, 1, empty), 0u);
  EXPECT_NE(MemStreamEof(empty), 0);
  FreeMemoryStream(empty);
  const StreamHandle s2 = OpenMemoryStream(data, sizeof data);
  EXPECT_EQ(MemStreamRead(out, 0, 5, s2), 0u);
  FreeMemoryStream(s2);
}

TEST(MakeFullPath, ElementsDotsDrivesAndLimits) {
  EXPECT_EQ(FullPath("..\\x", "C:\\a\\b"), "C:\\a\\x");
  EXPECT_EQ(FullPath("..", "C:\\a\\b"), "C:\\a");
  EXPECT_EQ(FullPath("C:\\..", "Z:\\home"), "C:\\");
  EXPECT_EQ(FullPath("..\\..\\..", "C:\\a"), "C:\\");
  EXPECT_EQ(FullPath("\\x\\y", "Z:\\home\\me"), "Z:\\x\\y");
  EXPECT_EQ(FullPath("D:\\p\\.\\q\\", "Z:\\home"), "D:\\p\\q");
  EXPECT_EQ(FullPath("a/b", "Z:\\home\\"), "Z:\\home\\a\\b");
  EXPECT_EQ(FullPath("", "Z:\\"), "Z:\\");
  EXPECT_EQ(FullPath("a\\\\b", "Z:\\home"), "<fail>");
  EXPECT_EQ(FullPath(".x\\..y\\.", "Z:\\d"), "Z:\\d\\.x\\..y");  // only "." and ".." are special
  EXPECT_EQ(FullPath("..\\..", "\\\\srv\\share"), "\\\\srv");
  // 0x83 0x5C is one character: ".." removes it whole, and it is never cut.
  EXPECT_EQ(FullPath("\x83\x5C\\..", "Z:\\d"), "Z:\\d");
  EXPECT_EQ(FullPath("x\\\x83\x5C", "Z:\\d"), "Z:\\d\\x\\\x83\x5C");
  EXPECT_EQ(FullPath("..", "Z:\\d\\\x83\x5C"), "Z:\\d");
  // The output buffer has a capacity; overflowing it fails cleanly.
  EXPECT_EQ(FullPath("abcdef", "Z:\\home", 12), "<fail>");
  EXPECT_EQ(FullPath("abc", "Z:\\home", 13), "Z:\\home\\abc");

  ScratchDir dir;
  ASSERT_EQ(SetCurrentDirDispatch(dir.z.c_str()), 0);
  EXPECT_EQ(FullPath("x", nullptr), dir.z + "\\x");
  char current[260];
  EXPECT_EQ(GetCurrentDirDispatch(current, sizeof current), static_cast<int>(dir.z.size()));
  EXPECT_EQ(GetCurrentDirDispatch(current, 4), 0);
}

// Both plain-file modes must agree on every result and position.
TEST(PlainFile, DirectAndThreadedReadsAndSeeks) {
  ScratchDir dir;
  dir.WriteFile("ten.bin", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  const std::string path = dir.Z("ten.bin");
  for (int mode = 0; mode < 3; ++mode) {
    SCOPED_TRACE(mode);
    const FileHandle f = OpenThreadFile(path.c_str(), mode == 1, 1, mode == 2);
    ASSERT_NE(f, 0);
    uint8_t out[16] = {};
    EXPECT_EQ(ThreadFileRead(out, 4, 3, f), 2u);
    while (mode == 2 && ThreadFileIdle(f) == 0) plat::YieldThread();
    EXPECT_EQ(ThreadFileTell(f), 8);
    EXPECT_EQ(out[7], 8);
    EXPECT_EQ(ThreadFileRead(out, 4, 1, f), 0u);  // only 2 bytes left
    EXPECT_EQ(ThreadFileEof(f), -1);
    // Before the start: refused, nothing moves.
    EXPECT_EQ(ThreadFileSeek(f, -20, 1), -1);
    EXPECT_EQ(ThreadFileTell(f), 8);
    // Past the end: kept, and reads there give nothing instead of wrapping.
    EXPECT_EQ(ThreadFileSeek(f, 50, 0), 0);
    EXPECT_EQ(ThreadFileEof(f), 0);
    EXPECT_EQ(ThreadFileRead(out, 1, 4, f), 0u);
    EXPECT_EQ(ThreadFileEof(f), -1);
    EXPECT_EQ(ThreadFileSeek(f, -3, 2), 0);
    EXPECT_EQ(ThreadFileRead(out, 1, 8, f), 3u);
    while (mode == 2 && ThreadFileIdle(f) == 0) plat::YieldThread();
    EXPECT_EQ(out[0], 8);
    EXPECT_EQ(ThreadFileTell(f), 10);
    EXPECT_EQ(ThreadFileRead(out, 0, 8, f), 0u);
    EXPECT_EQ(CloseThreadFile(f), 0);
  }
  EXPECT_EQ(plat::LiveThreadCount(), 0);
  // A missing file: silent in direct mode, the open-failure line otherwise.
  coretest::ScratchDir logDir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  EXPECT_EQ(OpenThreadFile(dir.Z("missing").c_str(), 0, 1, 0), 0);
  EXPECT_EQ(logDir.Read("Log.txt"), "");
  EXPECT_EQ(OpenThreadFile(dir.Z("missing").c_str(), 1, 1, 1), 0);
  EXPECT_EQ(logDir.Read("Log.txt"), "ファイルのオープンに失敗しました\r\n");
  EXPECT_EQ(OpenThreadFile(dir.z.c_str(), 0, 1, 0), 0);  // a folder is not a file
  // A path longer than the record's buffer fails instead of overflowing it.
  EXPECT_EQ(OpenThreadFile((dir.z + "\\" + std::string(300, 'a')).c_str(), 1, 1, 0), 0);
  plat::FailNextThreadCreate();
  EXPECT_EQ(OpenThreadFile(path.c_str(), 1, 1, 0), 0);
  EXPECT_EQ(plat::LiveThreadCount(), 0);
}

// A file cut short after its open: a read gives, and moves on by, what
// really came, directly and through a reader thread.
TEST(PlainFile, ReadsOfAShrunkFileAdvanceByWhatCame) {
  ScratchDir dir;
  for (int async : {0, 1}) {
    dir.WriteFile("s.bin", std::vector<uint8_t>(10, 7));
    const FileHandle f = OpenThreadFile(dir.Z("s.bin").c_str(), 0, 1, async);
    ASSERT_NE(f, 0);
    ASSERT_EQ(truncate(dir.Host("s.bin").c_str(), 6), 0);
    uint8_t out[10];
    const size_t got = ThreadFileRead(out, 2, 5, f);
    while (ThreadFileIdle(f) == 0) plat::YieldThread();
    EXPECT_EQ(got, async ? 5u : 3u);  // an asynchronous read answers before it knows
    EXPECT_EQ(ThreadFileTell(f), 6);
    EXPECT_EQ(CloseThreadFile(f), 0);
  }
}

// A cached reader thread must hand out exactly the file's bytes however the
// reads and seeks fall relative to its read-ahead.
TEST(PlainFile, CachedReaderMatchesDirectReadsUnderRandomSeeks) {
  ScratchDir dir;
  const std::vector<uint8_t> truth = filetest::RandomBytes(300000, 7);
  dir.WriteFile("big.bin", truth);
  const std::string path = dir.Z("big.bin");
  const FileHandle cached = OpenThreadFile(path.c_str(), 1, 1, 0);
  const FileHandle direct = OpenThreadFile(path.c_str(), 0, 1, 0);
  ASSERT_NE(cached, 0);
  ASSERT_NE(direct, 0);
  // Let the read-ahead fill the cache, then ask for more than it holds.
  plat::SleepRealMs(250);
  std::vector<uint8_t> a(200000), b(200000);
  ASSERT_EQ(ThreadFileRead(a.data(), 1, a.size(), cached), a.size());
  EXPECT_TRUE(std::equal(a.begin(), a.end(), truth.begin()));
  ASSERT_EQ(ThreadFileSeek(direct, 200000, 0), 0);

  std::mt19937 rng(11);
  for (int step = 0; step < 60; ++step) {
    if (rng() % 3 != 0) {
      const int64_t target = static_cast<int64_t>(rng() % 310000);
      ASSERT_EQ(ThreadFileSeek(cached, target, 0), 0);
      ASSERT_EQ(ThreadFileSeek(direct, target, 0), 0);
    }
    if (rng() % 8 == 0) plat::SleepRealMs(110);  // lets the read-ahead run
    const size_t size = 1 + rng() % 4;
    const size_t count = 1 + rng() % 50000;
    const size_t gotCached = ThreadFileRead(a.data(), size, count, cached);
    const size_t gotDirect = ThreadFileRead(b.data(), size, count, direct);
    ASSERT_EQ(gotCached, gotDirect) << "step " << step;
    ASSERT_EQ(ThreadFileTell(cached), ThreadFileTell(direct));
    ASSERT_TRUE(std::equal(a.begin(), a.begin() + static_cast<long>(gotCached * size), b.begin()));
  }
  EXPECT_EQ(CloseThreadFile(cached), 0);
  EXPECT_EQ(CloseThreadFile(direct), 0);
  EXPECT_EQ(plat::LiveThreadCount(), 0);
}

TEST(FileAccessTable, The513thOpenFails) {
  ScratchDir dir;
  coretest::ScratchDir logDir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  dir.WriteText("a.txt", "abc");
  const std::string path = dir.Z("a.txt");
  std::vector<FileHandle> open;
  for (int i = 0; i < kMaxOpenFiles; ++i) {
    open.push_back(FileOpenDispatch(path.c_str(), 0, 1, 0));
    ASSERT_NE(open.back(), 0) << i;
  }
  EXPECT_EQ(FileOpenDispatch(path.c_str(), 0, 1, 0), 0);
  // (Every open before it logged its failed archive probes.)
  const std::string log = logDir.Read("Log.txt");
  const std::string limit = "同時に開けるファイルの数が限界を超えました\r\n";
  EXPECT_EQ(log.find(limit), log.size() - limit.size());
  EXPECT_EQ(OpenFileCount(), kMaxOpenFiles);
  ASSERT_EQ(FileCloseDispatch(open[100]), 0);
  const FileHandle again = FileOpenDispatch(path.c_str(), 0, 1, 0);
  EXPECT_EQ(again, open[100]);  // the first free slot is taken
  for (FileHandle f : open) FileCloseDispatch(f);
  EXPECT_EQ(OpenFileCount(), 0);
  // Handles are range-checked: closed, out-of-range and foreign values fail.
  EXPECT_EQ(FileCloseDispatch(open[0]), -1);
  EXPECT_EQ(FileTellDispatch(kArcFileHandleTag | 0x0FFFFFFF), -1);
  EXPECT_EQ(FileTellDispatch(12345), -1);
  uint8_t b;
  EXPECT_EQ(FileReadDispatch(&b, 1, 1, kArcFileHandleTag | 600), 0u);
}

TEST(FileAccessTable, SetsSwitchAndStreams) {
  ScratchDir dir;
  dir.WriteText("s.txt", "stream!");
  // The plain set when the switch is on; the archive set by default.
  SetPlainFilesSwitch(1);
  SetFileAccessTable(nullptr);
  EXPECT_EQ(GetFileAccessTable()->open, GetPlainFileAccessSet()->open);
  FileHandle f = FileOpenDispatch(dir.Z("s.txt").c_str(), 0, 1, 0);
  ASSERT_NE(f, 0);
  EXPECT_EQ(OpenFileCount(), 0);  // not an archive-set slot
  StreamSource src = MakeStreamSource(GetFileStreamTable(), f);
  char text[8] = {};
  EXPECT_EQ(src.functions.read(text, 1, 7, src.handle), 7u);
  EXPECT_STREQ(text, "stream!");
  EXPECT_EQ(src.functions.eof(src.handle), 0);
  EXPECT_EQ(src.functions.read(text, 1, 1, src.handle), 0u);
  EXPECT_NE(src.functions.eof(src.handle), 0);
  src.functions.close(src.handle);
  SetPlainFilesSwitch(0);
  SetFileAccessTable(nullptr);
  EXPECT_EQ(GetFileAccessTable()->open, GetArchiveFileAccessSet()->open);

  // A caller's own table is copied and used by every dispatcher.
  static int opens = 0;
  FileAccessTable custom = *GetArchiveFileAccessSet();
  custom.open = [](const char*, int, int, int) -> FileHandle {
    ++opens;
    return 0;
  };
  SetFileAccessTable(&custom);
  EXPECT_EQ(FileOpenDispatch("anything", 0, 1, 0), 0);
  EXPECT_EQ(opens, 1);
  ResetFileAccessState();
  EXPECT_EQ(GetFileAccessTable()->open, GetArchiveFileAccessSet()->open);
}

TEST(FileAccessTable, TempFilesAndPlainFind) {
  ScratchDir dir;
  setenv("TMPDIR", dir.host.c_str(), 1);
  char path[260];
  const plat::FileDesc f = CreateTempFile(path, sizeof path);
  unsetenv("TMPDIR");
  ASSERT_NE(f, plat::kNoFile);
  EXPECT_EQ(std::string(path).rfind(dir.z + "\\tmp", 0), 0u) << path;
  EXPECT_EQ(plat::WriteFileBytes(f, "xyz", 3), 3);
  plat::CloseFile(f);
  EXPECT_EQ(plat::QueryPathKind(path), 0);

  dir.MakeDir("Sub");
  dir.WriteText("A.B.BMP", "1234");
  const timespec times[2] = {{1560600000, 0}, {1560600000, 0}};  // mid-June 2019, noon UTC
  ASSERT_EQ(utimensat(AT_FDCWD, dir.Host("A.B.BMP").c_str(), times, 0), 0);
  FindRecord record;
  const FindHandle find = FindFirstFileRecord((dir.z + "\\*.bmp").c_str(), &record);
  ASSERT_NE(find, -1);
  EXPECT_STREQ(record.name, "A.B.BMP");
  EXPECT_EQ(record.sizeLow, 4u);
  EXPECT_EQ(record.isDirectory, 0);
  EXPECT_EQ(record.lastWriteTime.year, 2019);
  EXPECT_EQ(record.lastWriteTime.month, 6);
  EXPECT_EQ(FindNextFileRecord(find, &record), -1);
  EXPECT_EQ(FindCloseRecord(find), 0);
  EXPECT_EQ(FindFirstFileRecord((dir.z + "\\*.none").c_str(), &record), -1);
}
