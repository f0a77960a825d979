#include "framework/core/string_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using namespace qor;

TEST(SjisScan, DoubleByteTrailIsNeverASeparatorOrLetter) {
  // 0x83 0x5C is one character whose trail byte is a backslash.
  const char text[] = "\x83\x5C" "a\\b";
  EXPECT_EQ(FindCharSjis(text, '\\'), text + 3);
  char upper[] = "\x82" "a" "b`az{@Z[";  // 0x82 'a' is one character
  UpperCaseAsciiSjis(upper);
  EXPECT_STREQ(upper, "\x82" "a" "B`AZ{@Z[");
  // A lead byte right before the end must not carry the scan past the zero.
  char tail[] = {'a', '\x82', '\0', 'z', '\0'};
  UpperCaseAsciiSjis(tail);
  EXPECT_EQ(tail[3], 'z');
  EXPECT_EQ(FindCharSjis(tail, 'z'), nullptr);
}

TEST(StringCompare, EqualityAndCounts) {
  EXPECT_EQ(CompareStrings("", ""), 0);
  EXPECT_EQ(CompareStrings("", "a"), 1);
  EXPECT_EQ(CompareBytesN("ab", "ac", 1), 0);
  EXPECT_EQ(CompareBytesN("ab", "ac", 2), 1);
  EXPECT_EQ(CompareBytesN("ab", "ac", 0), 0);
  EXPECT_EQ(CompareBytesN("ab", "ab", -1), 1);
}

TEST(ParseInt, SkipsToDigitsAndSaturates) {
  EXPECT_EQ(ParseIntSkipping("abc-12x"), -12);
  EXPECT_EQ(ParseIntSkipping("abc"), -1);
  EXPECT_EQ(ParseIntSkipping("x-"), 0);
  EXPECT_EQ(ParseIntSkipping("99999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseIntSkipping("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(ParseIntSkipping("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseIntAfterBlank("HTTP/1.0 404 Not Found"), 404);
  EXPECT_EQ(ParseIntAfterBlank("nospace"), -1);
}

TEST(FormatIntRadix, AgreesWithPrintfAndRefusesBadInput) {
  char buf[40];
  EXPECT_STREQ(FormatIntRadix(255, buf, sizeof buf, 16), "ff");
  EXPECT_STREQ(FormatIntRadix(-10, buf, sizeof buf, 10), "-10");
  EXPECT_STREQ(FormatIntRadix(0, buf, sizeof buf, 2), "0");
  EXPECT_STREQ(FormatIntRadix(INT_MIN, buf, sizeof buf, 10), "-2147483648");
  EXPECT_STREQ(FormatIntRadix(INT_MIN, buf, sizeof buf, 2), ("-1" + std::string(31, '0')).c_str());
  for (int v : {1, 7, 35, 36, 1000, INT_MAX, -123456}) {
    char ref[40];
    std::snprintf(ref, sizeof ref, "%d", v);
    EXPECT_STREQ(FormatIntRadix(v, buf, sizeof buf, 10), ref);
    std::snprintf(ref, sizeof ref, "%o", static_cast<unsigned>(v < 0 ? -v : v));
    std::string expect = std::string(v < 0 ? "-" : "") + ref;
    EXPECT_EQ(std::string(FormatIntRadix(v, buf, sizeof buf, 8)), expect);
  }
  EXPECT_EQ(FormatIntRadix(5, buf, sizeof buf, 1), nullptr);
  EXPECT_EQ(FormatIntRadix(5, buf, sizeof buf, 37), nullptr);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(FormatIntRadix(12345, buf, 5, 10), nullptr);  // needs 6 bytes
}

TEST(BoundedText, CutsWithoutSplittingDoubleByteCharacters) {
  char buf[6];
  EXPECT_EQ(FormatString(buf, sizeof buf, "%s", "abcdefgh"), 5);
  EXPECT_STREQ(buf, "abcde");
  // "abcd" then a two-byte character: only "abcd" fits whole.
  EXPECT_EQ(FormatString(buf, sizeof buf, "abcd%s", "\x82\xA0"), 4);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(CopyStringN(buf, sizeof buf, "abcd\x82\xA0"), -1);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(CopyStringN(buf, sizeof buf, "ab"), 0);
  EXPECT_EQ(AppendStringN(buf, sizeof buf, "cdef"), -1);
  EXPECT_STREQ(buf, "abcde");
}

TEST(MemoryHelpers, OverlappingMoveIsSafe) {
  char a[] = "0123456789";
  MoveMemoryBytes(a + 2, a, 5);
  EXPECT_STREQ(a, "0101234789");
  MoveMemoryBytes(a, a + 2, 5);
  EXPECT_STREQ(a, "0123434789");
  EXPECT_EQ(CompareMemory(a, a, 0), 0);
  EXPECT_EQ(CompareMemory("ab", "ac", 2), 1);
}
