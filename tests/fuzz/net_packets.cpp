// The connection's reader on any bytes from a peer: packet framing into the
// receive ring (lengths checked before anything is reserved), and reads,
// peeks and lines of the sizes the input asks for. The first byte chooses
// packet or stream mode and seeds the read sizes; the peer then closes.
#include <cstddef>
#include <cstdint>

#include "framework/core/net/net_socket.h"
#include "platform/net/winsock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  if (size < 1) return 0;
  plat::Socket pair[2];
  if (plat::SocketPair(pair) != 0) return 0;
  const int h = AttachNetSocket(pair[0]);
  if (h < 0) {
    plat::CloseSocket(pair[1]);
    return 0;
  }
  SetNetPacketMode(h, data[0] & 1);
  const int sent = plat::Send(pair[1], data + 1, static_cast<int>(size - 1 < 100000 ? size - 1 : 100000), 0);
  plat::CloseSocket(pair[1]);
  (void)sent;
  static uint8_t buffer[1 << 16];
  uint32_t pick = data[0];
  for (int round = 0; round < 256; ++round) {
    PumpNetworkWindow(0);
    const int waiting = GetNetDataLength(h);
    if (waiting <= 0) break;
    pick = pick * 1103515245u + 12345u;
    const int want = static_cast<int>((pick >> 8) % (waiting < 4096 ? waiting + 1 : 4097));
    switch ((pick >> 4) % 3) {
      case 0: NetPeekRecv(h, buffer, want); NetRecv(h, buffer, want); break;
      case 1: ReadNetLine(h, reinterpret_cast<char*>(buffer)); break;
      default: NetRecv(h, buffer, static_cast<int>(sizeof buffer) < waiting ? static_cast<int>(sizeof buffer) : waiting);
    }
  }
  CloseSocketHandle(h);
  ResetNetwork();
  return 0;
}
