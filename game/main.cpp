// The program draws through the framework's graph entries and runs the
// game's entry point, exiting with its result.
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"

int main() {
  orb::InstallFrameworkGraphCalls();
  return orb::WinMain(nullptr, nullptr, nullptr, 0);
}
