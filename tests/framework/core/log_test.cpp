#include "framework/core/log.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "framework/core/life/framework_status.h"
#include "framework/core/time_helpers.h"
#include "platform/host/host.h"
#include "platform/net/winsock.h"

using namespace qor;
using coretest::ScratchDir;
using coretest::WithoutStamps;

TEST(LogFile, LinesCarryStampsIndentsAndCrLf) {
  ScratchDir dir;
  OpenLogFile();
  ASSERT_TRUE(dir.Exists("Log.txt"));
  EXPECT_EQ(dir.Read("Log.txt"), "");
  // A clock that started long ago gives a stamp of at least that age.
  GetLogState().startTime = plat::HostMillis() - 5000;

  LogOutput("first\n");
  IncreaseLogIndent();
  IncreaseLogIndent();
  LogPrintf("two %d", 2);
  DecreaseLogIndent();
  LogOutput("x");  // no line feed: the next text continues this line
  LogOutput("y\n");
  DecreaseLogIndent();
  DecreaseLogIndent();  // stays at 0
  EXPECT_EQ(GetLogState().indent, 0);
  LogOutput("a\nb\n");  // one call, two lines: only the first gets a stamp

  const std::string text = dir.Read("Log.txt");
  EXPECT_EQ(WithoutStamps(text), "first\r\n\t\ttwo 2\r\n\txy\r\na\r\n<no stamp>b\r\n");
  int stamp = -1;
  ASSERT_EQ(std::sscanf(text.c_str(), "%d:", &stamp), 1);
  EXPECT_GE(stamp, 5000);
  // Every call reports failure, so callers can return it.
  EXPECT_EQ(LogOutput("z\n"), -1);
  EXPECT_EQ(LogPrintf("z"), -1);
}

TEST(LogFile, LineFeedConversionStopsAtFirstExistingCrLf) {
  ScratchDir dir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  LogOutput("a\nb\r\nc\nd\n");  // converted up to the first CR LF, the rest as it is
  LogOutput("\x82\xA0\n");       // a double-byte character before a line feed
  EXPECT_EQ(dir.Read("Log.txt"), "a\r\nb\r\nc\nd\n\x82\xA0\r\n");
}

TEST(LogFile, LongTextsAndBareLineFeedsAreWrittenWhole) {
  ScratchDir dir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  const std::string long300(300, 'q');
  LogOutput((long300 + "\n").c_str());
  // Texts of nothing but line feeds double in size: the largest for the fixed
  // buffer and one that needs the allocated buffer.
  for (size_t count : {255u, 256u, 700u}) LogOutput(std::string(count, '\n').c_str());
  std::string expect = long300 + "\r\n";
  for (size_t count : {255u, 256u, 700u})
    for (size_t i = 0; i < count; ++i) expect += "\r\n";
  EXPECT_EQ(dir.Read("Log.txt"), expect);
  EXPECT_EQ(GetAllocatorState().liveCount, 0);  // the working buffer went back
}

TEST(LogFile, LeadByteBeforeTheEndNeverCarriesPastIt) {
  ScratchDir dir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  // Exact-size copies, so a read past the zero is caught by the sanitizer.
  for (const std::string& s : {std::string("ab\x82"), std::string(299, 'c') + "\x81"}) {
    std::vector<char> exact(s.begin(), s.end());
    exact.push_back('\0');
    LogOutput(exact.data());
  }
  EXPECT_EQ(dir.Read("Log.txt"), "ab\x82" + std::string(299, 'c') + "\x81");
  EXPECT_EQ(GetLogState().midLine, 1);
}

TEST(LogFile, PrintfIsBoundedAndEndsTheLine) {
  ScratchDir dir;
  OpenLogFile();
  GetLogState().noTimeStamp = 1;
  const std::string huge(5000, 'w');
  LogPrintf("%s", huge.c_str());
  // A double-byte character that would straddle the limit is left out whole.
  LogPrintf("%s\x82\xA0tail", std::string(1021, 'v').c_str());
  EXPECT_EQ(dir.Read("Log.txt"), std::string(1022, 'w') + "\r\n" + std::string(1021, 'v') + "\r\n");

  plat::WSASetLastError(plat::WSAECONNRESET);
  NetLogPrintf("send %d", 3);
  EXPECT_NE(dir.Read("Log.txt").find("ネットワークログ。send 3[10054]\r\n"), std::string::npos);
}

TEST(LogFile, OffOrUserWindowWritesNoFile) {
  {
    ScratchDir dir;
    EXPECT_EQ(SetLogFileOutput(0), 0);
    EXPECT_EQ(OpenLogFile(), 1);
    LogOutput("hidden\n");
    EXPECT_FALSE(dir.Exists("Log.txt"));
    // Switched on later, the log writes into the start directory it knows.
    SetStartDirectory("Z:\\nonexistent_dir_for_log");
    SetLogFileOutput(1);
    LogOutput("lost\n");  // a file that cannot be opened is skipped silently
  }
  {
    ScratchDir dir;
    LogOutput("before open\n");  // no start directory known yet
    GetFrameworkStatus().userWindow = 1;
    OpenLogFile();
    LogOutput("to the debugger\n");
    EXPECT_FALSE(dir.Exists("Log.txt"));
  }
}

TEST(LogFile, OpeningReplacesTheOldFileAndCanBeDated) {
  ScratchDir dir;
  dir.WriteText("Log.txt", "old run");
  OpenLogFile();
  EXPECT_EQ(dir.Read("Log.txt"), "");

  SetLogDatedName(1);
  DateTimeRecord before;
  ReadLocalDateTime(&before);
  OpenLogFile();
  const std::string name = GetLogState().fileName;
  int y, mo, d, h, mi, s;
  char tail[8] = {};
  ASSERT_EQ(std::sscanf(name.c_str(), "Log%d_%d_%d_%d_%d_%d.%3s", &y, &mo, &d, &h, &mi, &s, tail), 7) << name;
  EXPECT_STREQ(tail, "txt");
  EXPECT_GE(y, before.year);
  EXPECT_TRUE(dir.Exists(name));
  // No leading zeros: a field may be 0 itself, but no "0" starts a longer one.
  for (size_t at = name.find("_0"); at != std::string::npos; at = name.find("_0", at + 1)) {
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(name[at + 2]))) << name;
  }
}

TEST(LogFile, StartDirectoryEndingInDoubleByteBackslashTrail) {
  ScratchDir dir;
  // "表" is 0x95 0x5C in CP932: its trail byte is no separator.
  const std::string sub = dir.host + reinterpret_cast<const char*>(u8"/表");
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  ASSERT_EQ(chdir(sub.c_str()), 0);
  OpenLogFile();
  LogOutput("here\n");
  EXPECT_NE(dir.Read(reinterpret_cast<const char*>(u8"表/Log.txt")), "<missing>");
  ASSERT_EQ(chdir(dir.host.c_str()), 0);
}
