#include "platform/kernel/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plat;

// Narrow literals are compiled to CP932; u8 literals stay UTF-8.
TEST(TextEncoding, RoundTripsJapaneseAndRefusesWhatDoesNotFit) {
  const char* cp932 = "ログ\\ソ.txt";  // "ソ" has a backslash as its trail byte
  const char* utf8 = reinterpret_cast<const char*>(u8"ログ\\ソ.txt");
  char out[64];
  ASSERT_EQ(Cp932ToUtf8(cp932, out, sizeof out), static_cast<int>(std::strlen(utf8)));
  EXPECT_STREQ(out, utf8);
  char back[64];
  ASSERT_EQ(Utf8ToCp932(out, back, sizeof back), static_cast<int>(std::strlen(cp932)));
  EXPECT_STREQ(back, cp932);
  EXPECT_EQ(Cp932ToUtf8(cp932, out, 4), -1);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(Cp932ToUtf8("\x82", out, sizeof out), -1);  // lead byte without trail
}
