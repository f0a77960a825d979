#include "platform/kernel/file_append.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "support/scratch_folder.h"

using namespace plat;

TEST(FileAppend, ReplaceCreateAndAppendBytesExactly) {
  const testsupport::ScratchFolder scratch;
  const std::string& root = scratch.host;
  ASSERT_EQ(mkdir((root + "/Logs").c_str(), 0755), 0);
  std::string win = "Z:";
  for (char c : root) win += (c == '/') ? '\\' : c;
  // The folder is found whatever the letter case; the new file keeps its name.
  const std::string path = win + "\\LOGS\\Log.txt";

  EXPECT_EQ(DeleteFileIfExists(path.c_str()), 0);  // nothing there is fine
  EXPECT_EQ(CreateEmptyFile(path.c_str()), 0);
  EXPECT_EQ(CreateEmptyFile(path.c_str()), -1);  // already exists
  for (int round = 0; round < 2; ++round) {
    const int h = OpenAppendFile(path.c_str());
    ASSERT_GE(h, 0);
    EXPECT_EQ(AppendFileBytes(h, "1:\x82\xA0\r\n", 6), 0);
    CloseAppendFile(h);
  }
  const std::vector<uint8_t> got = testsupport::ReadBytes(root + "/Logs/Log.txt");
  EXPECT_EQ(std::string(got.begin(), got.end()), "1:\x82\xA0\r\n1:\x82\xA0\r\n");
  EXPECT_EQ(DeleteFileIfExists(path.c_str()), 0);
  EXPECT_EQ(CreateEmptyFile(path.c_str()), 0);
  EXPECT_EQ(OpenAppendFile((win + "\\missing\\dir\\x.txt").c_str()), -1);
}
