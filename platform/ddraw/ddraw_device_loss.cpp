// The display lost whole and what comes back from it: the object's start
// (Initialize and the driver's identity), clippers tied to the object that
// made them, and the loss itself.
#include <algorithm>
#include <cstring>

#include "platform/ddraw/ddraw_state.h"

namespace plat {

int32_t DirectDraw::Initialize() {
  if (DdTakeFailure(DdOp::Initialize)) return DDERR_GENERIC;
  return DD_OK;
}

int32_t DirectDraw::GetDeviceIdentifier(DDDeviceIdentifier* out) const {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = DDDeviceIdentifier{};
  std::strcpy(out->driver, "memory display");
  std::strcpy(out->description, "display surfaces in memory, shown through the host");
  out->version[0] = 1;
  return DD_OK;
}

int32_t DirectDraw::CreateClipper(uint32_t /*flags*/, DDClipper** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (DdTakeFailure(DdOp::CreateClipper)) return DDERR_OUTOFMEMORY;
  DDClipper* c = new DDClipper();
  c->owner_ = this;
  Dd().clippers.push_back(c);
  ++Dd().counters.clipperCreates;
  ++Dd().counters.liveClippers;
  *out = c;
  return DD_OK;
}

int32_t DDClipper::SetHWnd(uint32_t /*flags*/, Hwnd window) {
  if (owner_ == nullptr) return DDERR_INVALIDOBJECT;
  window_ = window;
  return DD_OK;
}

void DDClipper::Release() {
  DdState& st = Dd();
  st.clippers.erase(std::remove(st.clippers.begin(), st.clippers.end(), this), st.clippers.end());
  --st.counters.liveClippers;
  delete this;
}

void DdLoseDevice() {
  DdLoseVideoSurfaces();
  for (DirectDraw* d : Dd().objects) DdAccess::MarkLost(d);
}

}  // namespace plat
