// Libraries loaded by name, and UTF-16 text brought into CP932.
#include <gtest/gtest.h>

#include <string>

#include "platform/dsound/dsound.h"
#include "platform/kernel/library.h"
#include "platform/kernel/text_encoding.h"

namespace {

TEST(Library, KnownByNameInAnyCaseWithItsFunctions) {
  plat::library::ResetLibraryStandIn();
  EXPECT_EQ(plat::LoadLibraryA("NOSUCH.DLL"), 0);
  const plat::Hmodule a = plat::LoadLibraryA("DSOUND.DLL");
  ASSERT_NE(a, 0);
  EXPECT_EQ(plat::LoadLibraryA("dsound.dll"), a);
  // The sound device's list itself; function names are exact.
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"),
            reinterpret_cast<plat::FarProc>(&plat::DirectSoundEnumerateA));
  EXPECT_EQ(plat::GetProcAddress(a, "directsoundenumeratea"), nullptr);
  EXPECT_EQ(plat::GetProcAddress(a + 1, "DirectSoundEnumerateA"), nullptr);
  // Each fail point takes one call.
  plat::library::FailNextLookup();
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  EXPECT_NE(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  plat::library::FailNextLoad();
  EXPECT_EQ(plat::LoadLibraryA("DSOUND.DLL"), 0);
  // Freed once per load; a freed library has no functions.
  EXPECT_TRUE(plat::FreeLibrary(a) && plat::FreeLibrary(a));
  EXPECT_FALSE(plat::FreeLibrary(a));
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  EXPECT_EQ(plat::library::LoadedCount(), 0);
}

TEST(WideText, ConvertsToCp932OrRefuses) {
  const struct {
    const char16_t* in;
    size_t capacity;
    int result;
    std::string out;
  } cases[] = {
      {u"ソフト", 32, 6, "\x83\x5C\x83\x74\x83\x67"},  // two bytes each
      {u"\xD83C\xDFB5", 32, -1, ""},                  // a pair with no CP932 character
      {u"a\xD800", 32, -1, ""},                       // half a pair
      {u"1234567", 8, 7, "1234567"},                  // fills the output exactly
      {u"12345678", 8, -1, ""},                       // one byte more
  };
  for (const auto& c : cases) {
    char out[32];
    EXPECT_EQ(plat::WideToCp932(c.in, out, c.capacity), c.result) << c.out;
    if (c.result >= 0) {
      EXPECT_EQ(std::string(out), c.out);
    }
  }
}

}  // namespace
