// Runs the orbworld program headless: it shows its frames, writes the last
// one as PNG and ends with 0; two runs give the same picture. Without a
// window the framework cannot start and the program ends with -1.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int RunProgram(const std::string& env) {
  const std::string cmd = "env " + env + " '" ORB_PROGRAM_PATH "' 2>/dev/null";
  const int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(OrbworldE2E, HeadlessRunWritesTheSameLastFrameEveryTime) {
  const std::string base = testing::TempDir() + "orb_e2e_" + std::to_string(getpid());
  const std::string a = base + "_a.png", b = base + "_b.png";
  ASSERT_EQ(RunProgram("ORB_HOST=headless ORB_FRAMES=30 ORB_SHOT=" + a), 0);
  ASSERT_EQ(RunProgram("ORB_HOST=headless ORB_FRAMES=30 ORB_SHOT=" + b), 0);
  const std::string first = Slurp(a);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(first, Slurp(b));

  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, a.c_str()));
  EXPECT_EQ(img.width, 640u);
  EXPECT_EQ(img.height, 480u);
  png_image_free(&img);
  std::remove(a.c_str());
  std::remove(b.c_str());
}

TEST(OrbworldE2E, NoWindowEndsWithMinusOneAndAnUnwritablePictureStillEnds) {
  EXPECT_EQ(RunProgram("-u DISPLAY -u WAYLAND_DISPLAY ORB_HOST=sdl SDL_VIDEODRIVER=x11"), 255);
  EXPECT_EQ(RunProgram("ORB_HOST=headless ORB_SHOT=/nonexistent-dir/x.png ORB_FRAMES=2"), 0);
}

}  // namespace
