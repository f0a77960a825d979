// The program's entry: start-up pass, then title and play in turn.
#include "framework/qorlib.h"
#include "game/world/config_file.h"
#include "game/scenes/scenes.h"

namespace orb {

namespace {

// The start-up pass; false when the framework could not start.
bool StartUp() {
  LoadConfigFile();
  qor::SwitchWindowModePublic(config.WindowedMode ? 1 : 0);
  qor::ApplyWindowTitlePublic("ORBWORLD");
  qor::SetDoubleLaunchPolicyPublic(1);
  qor::SetLogFileOutputPublic(0);
  if (qor::InitFramework() == -1) return false;
  qor::ChooseDrawModePublic(0);
  qor::SetKeyColorRGBPublic(0, 255, 0);
  qor::RequestScreenModePublic(640, 480, 16, 60);
  qor::SetArchiveExtensionPublic("dat");
  qor::SetArchiveKeyPublic("trum8");
  ShowSplashAndLoad();
  PlayOpening();
  scenes.SceneExitFlag = 0;
  return true;
}

}  // namespace

int WinMain(void*, void*, char*, int) {
  bool rerun = false;
  do {
    // The window-mode change resets the screen, which would leave the
    // previous pass's graph handles stale; they are released first.
    if (rerun) ReleaseGameAssets();
    rerun = true;
    if (!StartUp()) return -1;
    for (;;) {
      RunTitleScreen();
      if (scenes.SceneExitFlag != 0) break;
      RunGameLoop();
      if (scenes.SceneExitFlag != 0) break;
    }
  } while (scenes.SceneExitFlag == 2);
  qor::EndFramework();
  return 0;
}

}  // namespace orb
