// The visible primary is shown once per frame, not once per write: a write
// marks it, and the picture goes to the host at the flip, when the program
// next takes its events (the end of its frame, or a repaint), before a kept
// picture is read, or before the primary goes away. Only the last picture of
// a frame is shown, as a display refreshed once per frame shows it.
#include "platform/ddraw/ddraw_state.h"
#include "platform/host/host.h"

namespace plat {

namespace {

struct Pending {
  const DDSurface* primary = nullptr;
  const DirectDraw* owner = nullptr;
};
Pending g_pending;

}  // namespace

void DdPresentPending() {
  const Pending p = g_pending;
  g_pending = Pending{};
  if (p.primary != nullptr) DdPresentPrimary(p.primary, p.owner);
}

void DdPrimaryWritten(const DDSurface* primary, const DirectDraw* owner) {
  if (g_pending.primary != nullptr && g_pending.primary != primary) DdPresentPending();
  g_pending = Pending{primary, owner};
  HostSetPendingPresenter(&DdPresentPending);
}

void DdPresentNow(const DDSurface* primary, const DirectDraw* owner) {
  if (g_pending.primary != nullptr && g_pending.primary != primary) DdPresentPending();
  g_pending = Pending{};
  DdPresentPrimary(primary, owner);
}

void DdPrimaryGoing(const DDSurface* surface) {
  if (g_pending.primary == surface) DdPresentPending();
}

void DdForgetPending() { g_pending = Pending{}; }

}  // namespace plat
