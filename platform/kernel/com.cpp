#include "platform/kernel/com.h"

namespace plat {

namespace {

struct ComStandIn {
  ComCounters counters;
  bool failNext = false;
};
ComStandIn g_com;

}  // namespace

HRESULT CoInitialize() {
  ++g_com.counters.initCalls;
  if (g_com.failNext) {
    g_com.failNext = false;
    return E_FAIL;
  }
  ++g_com.counters.started;
  return S_OK;
}

void CoUninitialize() {
  ++g_com.counters.uninitCalls;
  if (g_com.counters.started > 0) --g_com.counters.started;
}

ComCounters GetComCounters() { return g_com.counters; }
void FailNextCoInitialize() { g_com.failNext = true; }
void ResetComStandIn() { g_com = ComStandIn{}; }

}  // namespace plat
