// Libraries loaded by name, and UTF-16 text brought into CP932.
#include <gtest/gtest.h>

#include <string>

#include "platform/dsound/dsound.h"
#include "platform/kernel/library.h"
#include "platform/kernel/wide_text.h"

namespace {

TEST(Library, KnownByNameInAnyCaseWithItsFunctions) {
  plat::library::ResetLibraryStandIn();
  EXPECT_EQ(plat::LoadLibraryA("NOSUCH.DLL"), 0);
  EXPECT_EQ(plat::LoadLibraryA(nullptr), 0);
  const plat::Hmodule a = plat::LoadLibraryA("DSOUND.DLL");
  const plat::Hmodule b = plat::LoadLibraryA("dsound.dll");
  ASSERT_NE(a, 0);
  EXPECT_EQ(a, b);
  EXPECT_EQ(plat::library::LoadedCount(), 2);
  // The function found is the sound device's list itself; names are exact.
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"),
            reinterpret_cast<plat::FarProc>(&plat::DirectSoundEnumerateA));
  EXPECT_EQ(plat::GetProcAddress(a, "directsoundenumeratea"), nullptr);
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundCreate"), nullptr);
  EXPECT_EQ(plat::GetProcAddress(a + 1, "DirectSoundEnumerateA"), nullptr);
  // Each fail point takes one call.
  plat::library::FailNextLookup();
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  EXPECT_NE(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  plat::library::FailNextLoad();
  EXPECT_EQ(plat::LoadLibraryA("DSOUND.DLL"), 0);
  // Freed once per load; a freed library has no functions.
  EXPECT_TRUE(plat::FreeLibrary(a));
  EXPECT_TRUE(plat::FreeLibrary(b));
  EXPECT_FALSE(plat::FreeLibrary(a));
  EXPECT_EQ(plat::GetProcAddress(a, "DirectSoundEnumerateA"), nullptr);
  EXPECT_EQ(plat::library::LoadedCount(), 0);
}

TEST(WideText, ConvertsToCp932OrRefuses) {
  const struct {
    const char16_t* in;
    int result;
    std::string out;
  } cases[] = {
      {u"MIDI In", 7, "MIDI In"},
      {u"", 0, ""},
      {u"ソフト", 6, "\x83\x5C\x83\x74\x83\x67"},  // two bytes each in CP932
      {u"\xD83C\xDFB5", -1, ""},                  // a pair CP932 has no character for
      {u"a\xD800", -1, ""},                       // half a pair
  };
  for (const auto& c : cases) {
    char out[32];
    EXPECT_EQ(plat::WideToCp932(c.in, out, sizeof out), c.result) << c.out;
    if (c.result >= 0) {
      EXPECT_EQ(std::string(out), c.out);
    }
  }
  // A text that fills the output exactly, and one byte more.
  char small[8];
  EXPECT_EQ(plat::WideToCp932(u"1234567", small, sizeof small), 7);
  EXPECT_EQ(plat::WideToCp932(u"12345678", small, sizeof small), -1);
}

}  // namespace
