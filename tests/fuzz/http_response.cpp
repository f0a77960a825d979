// The HTTP client's reading of a response (status line, headers, body) from
// any bytes a server could send, over a connected socket pair. The first
// byte chooses GET, POST or HEAD and file or memory output; the rest is the
// server's reply, after which the server closes.
#include <cstdint>
#include <string>

#include "framework/core/net/http_request.h"
#include "framework/core/memory.h"
#include "framework/core/net/net_socket.h"
#include "fuzz_support.h"
#include "platform/net/winsock.h"

namespace {

constexpr int kSteps = 4096;

// Sends what the socket takes now; the bytes still to go.
size_t Feed(plat::Socket s, const uint8_t* data, size_t size) {
  while (size > 0) {
    const int n = plat::Send(s, data, static_cast<int>(size < 65536 ? size : 65536), 0);
    if (n <= 0) break;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  if (size < 1) return 0;
  plat::Socket pair[2];
  if (plat::SocketPair(pair) != 0) return 0;
  const int socket = AttachNetSocket(pair[0]);
  if (socket < 0) {
    plat::CloseSocket(pair[1]);
    return 0;
  }
  const int kind = data[0] % 3;
  const int output = (data[0] >> 2) & 1;
  static const std::string file = fuzz::GetScratch().z + "\\body.bin";
  HttpUrl url{"fuzz.test", 80, "/"};
  void* block = nullptr;
  const int slot = StartHttpOnSocket(socket, kind, url, "post", 4, output, file.c_str(), &block);
  const uint8_t* reply = data + 1;
  size_t left = size - 1;
  bool closed = false;
  char sink[4096];
  for (int step = 0; slot >= 0 && step < kSteps; ++step) {
    if (!closed) {
      const size_t before = left;
      left = Feed(pair[1], reply + (size - 1 - before), before);
      if (left == 0) {
        plat::CloseSocket(pair[1]);
        closed = true;
      }
    }
    PumpNetworkWindow(0);
    StepHttpHandle(slot);
    if (GetHttpRequestResult(slot, nullptr, nullptr, nullptr) != 1) break;
    if (!closed) plat::Recv(pair[1], sink, sizeof sink, 0);  // the request text, so it never blocks
  }
  CloseHttpHandleByIndex(slot);
  if (block != nullptr) FreeMemory(block);
  if (!closed) plat::CloseSocket(pair[1]);
  ResetNetwork();
  return 0;
}
