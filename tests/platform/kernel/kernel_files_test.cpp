#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/kernel/file_io.h"
#include "platform/kernel/find_file.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"
#include "support/scratch_folder.h"

using namespace plat;

namespace {

std::string Names(const std::string& pattern) {
  FindEntry e;
  FindSearch* s = FindFirstFile(pattern.c_str(), &e);
  if (s == nullptr) return "<none>";
  std::string names;
  do names += std::string(e.name) + (e.isDirectory ? "/ " : " ");
  while (FindNextFile(s, &e) == 0);
  EXPECT_EQ(FindClose(s), 0);
  return names;
}

}  // namespace

TEST(KernelWildcard, BacktrackingCaseAndDoubleByte) {
  EXPECT_TRUE(MatchWildcard("*.BMP", "A.B.BMP", false));
  EXPECT_TRUE(MatchWildcard("*.bmp", "A.B.BMP", true));
  EXPECT_FALSE(MatchWildcard("*.bmp", "A.B.BMP", false));
  EXPECT_TRUE(MatchWildcard("a*b*c", "aXbYbZc", false));
  EXPECT_FALSE(MatchWildcard("a*b*c", "aXbYbZ", false));
  EXPECT_TRUE(MatchWildcard("***", "", false));
  EXPECT_FALSE(MatchWildcard("?", "", false));
  // 0x83 0x61 is one character: "?" takes it whole, and its trail byte
  // 'a' does not match a letter of the pattern.
  EXPECT_TRUE(MatchWildcard("?", "\x83\x61", true));
  EXPECT_FALSE(MatchWildcard("*A", "\x83\x61", true));
}

TEST(KernelFiles, FindFilesDirectoriesAndPaths) {
  testsupport::ScratchFolder t;
  t.WriteText("A.B.BMP", "12345");
  t.WriteText("c.bmp", "");
  t.WriteText("README", "");
  mkdir((t.host + "/Sub").c_str(), 0755);
  EXPECT_EQ(Names(t.z + "\\*.bmp"), "A.B.BMP c.bmp ");
  EXPECT_EQ(Names(t.z + "\\*.*"), "./ ../ A.B.BMP README Sub/ c.bmp ");
  EXPECT_EQ(Names(t.z + "\\sub\\*"), "./ ../ ");
  EXPECT_EQ(Names(t.z + "\\*.none"), "<none>");
  EXPECT_EQ(Names(t.z + "\\missing\\*"), "<none>");
  // A fixed modification time comes back as the same file time.
  const timespec times[2] = {{1560600000, 0}, {1560600000, 500}};
  ASSERT_EQ(utimensat(AT_FDCWD, (t.host + "/A.B.BMP").c_str(), times, 0), 0);
  FindEntry e;
  FindSearch* s = FindFirstFile((t.z + "\\a.b.bmp").c_str(), &e);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(e.size, 5u);
  EXPECT_EQ(e.lastWriteTime, (1560600000ull + 11644473600ull) * 10000000ull + 5);
  FindClose(s);

  EXPECT_EQ(QueryPathKind((t.z + "\\SUB").c_str()), 1);
  EXPECT_EQ(QueryPathKind((t.z + "\\readme").c_str()), 0);
  EXPECT_EQ(QueryPathKind((t.z + "\\none").c_str()), -1);
  EXPECT_EQ(CreateDirectoryAt((t.z + "\\New").c_str()), 0);
  EXPECT_EQ(CreateDirectoryAt((t.z + "\\new").c_str()), -1);  // exists, in another case

  // CreateNew makes a file once; a folder does not open as a file.
  const std::string path = t.z + "\\out.bin";
  FileDesc w = OpenFileForWrite(path.c_str(), FileCreate::CreateNew);
  ASSERT_NE(w, kNoFile);
  EXPECT_EQ(WriteFileBytes(w, "abcdef", 6), 6);
  CloseFile(w);
  EXPECT_EQ(OpenFileForWrite(path.c_str(), FileCreate::CreateNew), kNoFile);
  EXPECT_EQ(OpenFileForRead(t.z.c_str()), kNoFile);
  EXPECT_EQ(DeleteFileAt((t.z + "\\OUT.BIN").c_str()), 0);

  char converted[64];
  EXPECT_EQ(HostPathToCp932("/a//b/", converted, sizeof converted), 6);
  EXPECT_STREQ(converted, "Z:\\a\\b");
  EXPECT_EQ(HostPathToCp932(reinterpret_cast<const char*>(u8"/ソ"), converted, sizeof converted), 5);
  EXPECT_STREQ(converted, "Z:\\\x83\x5C");  // the trail byte 0x5C is not a trailing separator
}

TEST(KernelThreads, EventsWaitAndThreadsJoin) {
  Event* manual = CreateEvent(true, false);
  Event* automatic = CreateEvent(false, true);
  EXPECT_EQ(WaitEvent(manual, 0), 1);
  EXPECT_EQ(WaitEvent(manual, 20), 1);
  EXPECT_EQ(WaitEvent(automatic, 0), 0);
  EXPECT_EQ(WaitEvent(automatic, 0), 1);  // an automatic event resets on a wait

  struct Shared {
    Event* go;
    std::atomic<int> value{0};
  } shared{manual};
  Thread* th = CreateThread(
      [](void* p) {
        Shared* s = static_cast<Shared*>(p);
        WaitEvent(s->go, -1);
        s->value = 42;
      },
      &shared);
  ASSERT_NE(th, nullptr);
  EXPECT_EQ(LiveThreadCount(), 1);
  SetEvent(manual);
  JoinThread(th);
  EXPECT_EQ(shared.value.load(), 42);
  EXPECT_EQ(LiveThreadCount(), 0);
  EXPECT_EQ(WaitEvent(manual, 0), 0);  // a manual event stays set
  ResetEvent(manual);
  EXPECT_EQ(WaitEvent(manual, 0), 1);
  FailNextThreadCreate();
  EXPECT_EQ(CreateThread([](void*) {}, nullptr), nullptr);
  CloseEvent(manual);
  CloseEvent(automatic);
}
