// The program starts from the state every game module returns to on reset
// (the state the tests start from), draws through the framework's graph
// entries and runs the game's entry point, exiting with its result.
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"

int main() {
  orb::ResetGameModules();
  orb::InstallFrameworkGraphCalls();
  return orb::WinMain(nullptr, nullptr, nullptr, 0);
}
