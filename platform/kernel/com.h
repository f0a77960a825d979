// Start and end of the component system. There are no components to load on
// this platform, so starting is a successful no-op; tests can make the next
// start fail and read how often each call was made.
#pragma once

#include <cstdint>

namespace plat {

// The result word of every component-style call: negative is a failure.
using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
inline bool Failed(HRESULT hr) { return hr < 0; }
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

HRESULT CoInitialize();  // S_OK, or E_FAIL when a failure was asked for
void CoUninitialize();

struct ComCounters {
  int initCalls = 0;
  int uninitCalls = 0;
  int started = 0;  // starts not yet ended
};
ComCounters GetComCounters();
void FailNextCoInitialize();
void ResetComStandIn();

}  // namespace plat
