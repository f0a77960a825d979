// The program starts from the state the game modules return to on reset,
// as every test does: with no config.ini it writes one from that state, and
// a test that resets and loads the configuration writes the same bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/game_reset.h"
#include "game/world/config_file.h"
#include "support/scratch_folder.h"

namespace {

TEST(StartUpE2E, TheProgramWritesTheConfigurationTheResetStateGives) {
  testsupport::ScratchFolder program;
  // The first picture is the window's black paint before start-up ends;
  // the second is the first frame drawn.
  const std::string run = "cd '" + program.host + "' && env ORB_HOST=headless ORB_FRAMES=2 '" ORB_PROGRAM_PATH
                          "' > /dev/null 2>&1";
  ASSERT_EQ(std::system(run.c_str()), 0);
  const std::vector<uint8_t> written = testsupport::ReadBytes(program.host + "/config.ini");
  ASSERT_EQ(written.size(), 202u);

  testsupport::ScratchFolder here(true);
  orb::ResetGameModules();
  orb::LoadConfigFile();
  EXPECT_EQ(testsupport::ReadBytes("config.ini"), written);
  orb::ResetGameModules();
}

}  // namespace
