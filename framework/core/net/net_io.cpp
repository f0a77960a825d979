// Moving bytes: the receive and send rings, packet framing, and the read,
// peek, send and line operations of a connection.
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/net/net_internal.h"

namespace qor {

namespace {

constexpr int kReceiveRounds = 256;  // per call; FD_READ comes again for the rest
constexpr int kSendRounds = 256;
constexpr int kLineChunk = 4096;
constexpr int kLineRounds = 64;

// A receive that notes the peer's close (a read of 0 bytes when some were asked).
int RecvBytes(SocketRecord* r, void* buffer, int length, int flags) {
  const int n = plat::Recv(r->socket, buffer, length, flags);
  if (n == 0 && length > 0) r->closedByPeer = 1;
  return n;
}

bool WouldBlock() { return plat::WSAGetLastError() == plat::WSAEWOULDBLOCK; }

// Receives up to `want` bytes into the receive ring, which has room for them
// (reserved when the message's length came), across its wrap point.
int RecvIntoRing(SocketRecord* r, int want) {
  RingBuffer& ring = r->receive;
  WrapRingIndices(&ring);
  const int first = want < ring.capacity - ring.writeIndex ? want : ring.capacity - ring.writeIndex;
  int got = RecvBytes(r, ring.data + ring.writeIndex, first, 0);
  if (got <= 0) return got;
  if (got == first && want > first) {
    const int more = RecvBytes(r, ring.data, want - first, 0);
    if (more > 0) got += more;
  }
  ring.writeIndex = static_cast<int32_t>((static_cast<int64_t>(ring.writeIndex) + got) % ring.capacity);
  ring.stored += got;
  return got;
}

void Discard(RingBuffer* ring, int n) {
  ring->readIndex = static_cast<int32_t>((static_cast<int64_t>(ring->readIndex) + n) % ring->capacity);
  ring->stored -= n;
}

int RefuseLength(SocketRecord* r, int32_t length) {
  LogPrintf("受信データを保存するリングバッファのリサイズに失敗しました(データサイズ %d byte)", length);
  r->error = 1;
  return -1;
}

// Where ReadNetLine reads from: the socket in stream mode, the whole
// messages of the ring in packet mode.
int PeekForLine(SocketRecord* r, char* buffer, int length) {
  if (!r->packetMode) return RecvBytes(r, buffer, length, plat::MSG_PEEK);
  const int n = length < r->completed ? length : r->completed;
  ReadRingBuffer(&r->receive, buffer, n, 1);
  return n;
}

void TakeForLine(SocketRecord* r, char* buffer, int length) {
  if (!r->packetMode) {
    RecvBytes(r, buffer, length, 0);
    return;
  }
  ReadRingBuffer(&r->receive, buffer, length, 0);
  r->completed -= length;
}

}  // namespace

int ReceiveMessages(SocketRecord* r) {
  if (!r->packetMode || r->receiving || r->error) return 0;
  r->receiving = 1;
  int result = 0;
  for (int round = 0; round < kReceiveRounds; ++round) {
    if (r->expected == 0) {
      int32_t length = 0;
      if (RecvBytes(r, &length, 4, plat::MSG_PEEK) != 4) break;
      RecvBytes(r, &length, 4, 0);
      // A length from the peer is checked before anything is reserved for it.
      if (length < 0 || length > kMaxPacketLength || ReserveRingBuffer(length, &r->receive) != 0) {
        result = RefuseLength(r, length);
        break;
      }
      r->messageLength = length;
      r->expected = length;
    }
    if (r->expected > 0) {
      const int got = RecvIntoRing(r, r->expected);
      if (got <= 0) break;
      r->expected -= got;
    }
    if (r->expected == 0) {
      r->completed += r->messageLength;
      r->messageLength = 0;
    }
  }
  r->receiving = 0;
  return result;
}

int FlushSendRing(SocketRecord* r) {
  RingBuffer& ring = r->send;
  for (int round = 0; round < kSendRounds && ring.stored > 0; ++round) {
    WrapRingIndices(&ring);
    const int chunk = ring.stored < ring.capacity - ring.readIndex ? ring.stored : ring.capacity - ring.readIndex;
    const int sent = plat::Send(r->socket, ring.data + ring.readIndex, chunk, 0);
    if (sent < 0) {
      if (WouldBlock()) {
        r->pending = 1;
        return 0;
      }
      r->error = 1;
      return NetLogPrintf("送信に失敗しました");
    }
    Discard(&ring, sent);
  }
  if (ring.stored == 0) r->pending = 0;
  return 0;
}

int RecvSocket(int handle) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in RecvSocket\n",
                                      "このネットワークハンドルにはエラーが発生しています in RecvSocket\n");
  if (r == nullptr) return -1;
  return ReceiveMessages(r);
}

int SendSocket(int handle) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in SendSocket\n",
                                      "このネットワークハンドルにはエラーが発生しています in SendSocket\n");
  if (r == nullptr) return -1;
  return r->connected ? FlushSendRing(r) : 0;
}

int NetRecv(int handle, void* buffer, int length) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in NetRecv\n",
                                      "このネットワークハンドルにはエラーが発生しています in NetRecv\n");
  if (r == nullptr || length < 0 || (buffer == nullptr && length > 0)) return -1;
  if (!r->packetMode) return RecvBytes(r, buffer, length, 0);
  // Only bytes of messages that have arrived whole are handed out.
  if (r->completed < length) return -1;
  ReadRingBuffer(&r->receive, buffer, length, 0);
  r->completed -= length;
  return 0;
}

int NetPeekRecv(int handle, void* buffer, int length) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in NetPeekRecv\n",
                                      "このネットワークハンドルにはエラーが発生しています in NetPeekRecv\n");
  if (r == nullptr || length < 0 || (buffer == nullptr && length > 0)) return -1;
  if (r->packetMode) return PeekForLine(r, static_cast<char*>(buffer), length);
  const int n = RecvBytes(r, buffer, length, plat::MSG_PEEK);
  if (n < 0) return WouldBlock() ? 0 : -1;
  return n;
}

int NetSend(int handle, const void* data, int length) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in NetSend\n",
                                      "このネットワークハンドルにはエラーが発生しています in NetSend\n");
  if (r == nullptr || length < 0 || (data == nullptr && length > 0)) return -1;
  if (r->packetMode && length > kMaxPacketLength) return -1;  // the peer would refuse it
  if (r->connected && FlushSendRing(r) != 0) return -1;
  const int32_t header = length;
  if (!r->sendBuffered) {
    int sent = 0;
    if (!r->packetMode) {
      sent = plat::Send(r->socket, data, length, 0);
    } else {
      auto* framed = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(length) + 4, "net_io", __LINE__));
      if (framed == nullptr) return -1;
      std::memcpy(framed, &header, 4);
      if (length > 0) std::memcpy(framed + 4, data, static_cast<size_t>(length));
      sent = plat::Send(r->socket, framed, length + 4, 0);
      FreeMemory(framed);
    }
    if (sent < 0 && r->connected && !WouldBlock()) r->error = 1;
    return sent;
  }
  const int framing = r->packetMode ? 4 : 0;
  if (ReserveRingBuffer(length + framing, &r->send) != 0) {
    return LogPrintf("送信データ %d byte の追加に失敗しました in NewWorkSend", length);
  }
  if (framing) AppendRingBuffer(&header, 4, &r->send);
  AppendRingBuffer(data, length, &r->send);
  if (r->connected && FlushSendRing(r) != 0) return -1;
  return 0;
}

int GetNetDataLength(int handle) {
  SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in GetNetDataLength\n",
                                      "このネットワークハンドルにはエラーが発生しています in GetNetDataLength\n");
  if (r == nullptr) return -1;
  ReceiveMessages(r);
  if (r->connected) FlushSendRing(r);
  if (r->error) return -1;
  if (r->packetMode) return r->completed;
  char byte;
  return RecvBytes(r, &byte, 1, plat::MSG_PEEK) > 0 ? 1 : 0;
}

int ReadNetLine(int handle, char* buffer) {
  SocketRecord* r = CheckSocketHandle(handle, nullptr, nullptr);
  if (r == nullptr || buffer == nullptr) return -1;
  char chunk[kLineChunk];
  for (int round = 0; round < kLineRounds; ++round) {
    const int n = PeekForLine(r, chunk, kLineChunk);
    if (n <= 0) return -1;
    const char* end = static_cast<const char*>(std::memchr(chunk, '\n', static_cast<size_t>(n)));
    const int take = end ? static_cast<int>(end - chunk) + 1 : n;
    TakeForLine(r, chunk, take);
    // The line so far: its first bytes are kept, the rest only counted, so
    // a line of any length is read to its end and never stalls the reader.
    const int text = end ? take - 1 : take;
    const int room = kNetLineCapacity - r->lineStored;
    const int keep = text < room ? text : room;
    std::memcpy(r->line + r->lineStored, chunk, static_cast<size_t>(keep));
    r->lineStored += keep;
    r->lineLength = r->lineLength + text > kMaxPacketLength ? kMaxPacketLength : r->lineLength + text;
    if (end == nullptr) continue;
    int length = r->lineStored;
    if (length > 0 && length == r->lineLength && r->line[length - 1] == '\r') --length;
    if (length > kNetLineCapacity - 1) length = kNetLineCapacity - 1;
    std::memcpy(buffer, r->line, static_cast<size_t>(length));
    buffer[length] = '\0';
    r->lastLineLength = r->lineLength;
    r->lineStored = 0;
    r->lineLength = 0;
    return length;
  }
  return -1;
}

}  // namespace qor
