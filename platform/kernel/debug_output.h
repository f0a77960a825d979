// The debugger output channel. Nothing listens on Linux unless
// ORB_DEBUG_OUTPUT is set to a non-empty value; then the text goes to
// standard error, converted to UTF-8.
#pragma once

namespace plat {

void OutputDebugText(const char* cp932);

}  // namespace plat
