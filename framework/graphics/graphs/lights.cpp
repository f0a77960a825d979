// The light table: directional lights and their Direct3D descriptions, kept
// for the Direct3D path.
#include <cmath>
#include <cstring>

#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/handle_table.h"

namespace qor {

namespace {

struct LightRecord {
  uint32_t check;
  int32_t handle;
  uint32_t type;  // 3 = directional
  float diffuse[4], specular[4], ambient[4];
  float position[3], direction[3];
  float range, falloff, attenuation[3], theta, phi;
  int32_t deviceIndex;
  uint32_t enabled;
  uint32_t changed;
};

struct LightTable {
  HandleTable table;
  void* slots[kLightHandleMax];
  LightRecord records[kLightHandleMax];
};

LightTable g_lights;
bool g_lightsReady = false;

HandleTable* Table() {
  if (!g_lightsReady) ResetLights();
  return &g_lights.table;
}

LightRecord* Lookup(int32_t handle) { return static_cast<LightRecord*>(LookupHandleEntry(Table(), handle)); }

}  // namespace

void ResetLights() {
  InitHandleTable(&g_lights.table, kLightHandleTag, kLightHandleMax, g_lights.slots);
  g_lightsReady = true;
}

int32_t AddLightRecord() {
  HandleTable* t = Table();
  if (IsHandleTableFull(t)) return -1;
  // The record lives in the slot the table is about to hand out.
  const int32_t slot = t->usedEnd < t->maximum ? t->usedEnd : [&] {
    for (int32_t i = 0; i < t->maximum; ++i)
      if (t->slots[i] == nullptr) return i;
    return -1;
  }();
  if (slot < 0) return -1;
  LightRecord* r = &g_lights.records[slot];
  std::memset(r, 0, sizeof *r);
  const int32_t handle = AddHandleEntry(t, r);
  if (handle < 0) return -1;
  r->handle = handle;
  for (int i = 0; i < 4; ++i) {
    r->diffuse[i] = 1.0f;
    r->specular[i] = 1.0f;
    r->ambient[i] = 0.33f;
  }
  r->deviceIndex = -1;
  r->enabled = 1;
  r->changed = 1;
  GetDrawState().lightsChanged = 1;
  return handle;
}

// A zero or non-finite vector has no direction to normalise.
int32_t AddDirectionalLight(float x, float y, float z) {
  const float length2 = x * x + y * y + z * z;
  if (!(length2 > 0.0f) || !std::isfinite(length2)) return -1;
  const int32_t handle = AddLightRecord();
  LightRecord* r = Lookup(handle);
  if (r == nullptr) return -1;
  r->type = 3;
  const float factor = 1.0f / std::sqrt(length2);
  r->direction[0] = x * factor;
  r->direction[1] = y * factor;
  r->direction[2] = z * factor;
  return handle;
}

int DeleteLight(int32_t light) {
  LightRecord* r = Lookup(light);
  if (r == nullptr) return -1;
  RemoveHandleEntry(Table(), light);
  r->check = 0;
  GetDrawState().lightsChanged = 1;
  return 0;
}

int DeleteAllLights() {
  HandleTable* t = Table();
  for (int32_t slot = 0; slot < t->usedEnd; ++slot) {
    const int32_t handle = HandleOfSlot(t, slot);
    if (handle != -1) DeleteLight(handle);
  }
  return 0;
}

int GetLightDirection(int32_t light, float* x, float* y, float* z) {
  const LightRecord* r = Lookup(light);
  if (r == nullptr) return -1;
  *x = r->direction[0];
  *y = r->direction[1];
  *z = r->direction[2];
  return 0;
}

}  // namespace qor
