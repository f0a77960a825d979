// Socket records: making and dropping them, the listening slot, accepting,
// connecting, closing, the network window and its notifications.
#include "framework/core/net/net_socket.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/net/net_internal.h"
#include "platform/kernel/mm_timer.h"

namespace qor {

namespace {

NetworkState g_net;

constexpr char kWindowClass[] = "QorlibNetworkWindow";
constexpr uint32_t kAcceptedEvents = plat::FD_READ | plat::FD_WRITE | plat::FD_CLOSE;
constexpr uint32_t kConnectEvents = kAcceptedEvents | plat::FD_CONNECT;
constexpr int kListenBacklog = 128;
constexpr uint32_t kDrainMillis = 1000;
constexpr int kDrainRounds = 1000;
constexpr int kMessagesPerPump = 4096;

plat::LResult NetworkWindowProc(plat::Hwnd window, uint32_t message, plat::WParam wParam, plat::LParam lParam) {
  if (message == kSocketMessage) return OnSocketMessage(wParam, lParam);
  return plat::DefWindowProc(window, message, wParam, lParam);
}

void ResetTable() {
  InitHandleTable(&g_net.table, kSocketHandleTag, kSocketHandleMax, g_net.slots);
  g_net.first = g_net.last = nullptr;
}

// A zeroed record in `slot` with its check number and handle, linked at the
// end of the live list; nullptr (logged) when no memory is left.
SocketRecord* NewRecord(int slot) {
  auto* r = static_cast<SocketRecord*>(AllocMemoryZeroed(sizeof(SocketRecord), "net_socket", __LINE__));
  if (r == nullptr) {
    LogOutput("ソケット用のメモリの確保に失敗しました\n");
    return nullptr;
  }
  HandleTable& t = g_net.table;
  r->check = static_cast<uint32_t>(t.checkCounter);
  t.checkCounter = (t.checkCounter + 1) % kHandleCheckLimit;
  t.slots[slot] = r;
  ++t.liveCount;
  if (slot >= t.usedEnd) t.usedEnd = slot + 1;
  r->handle = kSocketHandleTag | static_cast<int32_t>(r->check << 16) | slot;
  r->packetMode = 1;
  r->sendBuffered = 1;
  r->socket = plat::INVALID_SOCKET;
  r->previous = g_net.last;
  if (g_net.last) g_net.last->next = r;
  else g_net.first = r;
  g_net.last = r;
  return r;
}

// Unlinks and frees a record; its socket must be closed already.
void DropRecord(SocketRecord* r) {
  FreeAndClear(&r->receive);
  FreeAndClear(&r->send);
  if (r->previous) r->previous->next = r->next;
  else g_net.first = r->next;
  if (r->next) r->next->previous = r->previous;
  else g_net.last = r->previous;
  RemoveHandleEntry(&g_net.table, r->handle);
  FreeMemory(r);
}

// Closes the socket of a record that failed half-way, then drops it.
void UndoRecord(SocketRecord* r) {
  if (r->socket != plat::INVALID_SOCKET) plat::CloseSocket(r->socket);
  DropRecord(r);
}

int FirstFreeSlot() {
  for (int i = 0; i < kMaxConnections; ++i) {
    if (g_net.slots[i] == nullptr) return i;
  }
  return -1;
}

plat::Hwnd NetworkWindow() {
  if (g_net.window == 0 || !plat::IsWindow(g_net.window)) {
    plat::RegisterClass(kWindowClass, NetworkWindowProc);  // already there after an earlier end: fine
    g_net.window = plat::CreateMessageWindow(kWindowClass);
  }
  return g_net.window;
}

SocketRecord* FindBySocket(plat::Socket socket) {
  for (SocketRecord* r = g_net.first; r != nullptr; r = r->next) {
    if (r->socket == socket) return r;
  }
  return nullptr;
}

// Waits for the rest of a message that is on its way, and for the send ring
// to empty, each for at most a second.
void DrainBeforeClose(SocketRecord* r) {
  uint32_t start = plat::timeGetTime();
  for (int round = 0; round < kDrainRounds && r->packetMode && r->expected > 0; ++round) {
    if (r->error || r->closedByPeer || plat::timeGetTime() - start >= kDrainMillis) break;
    if (!plat::WaitForSocket(r->socket, false, 1)) continue;
    ReceiveMessages(r);
  }
  start = plat::timeGetTime();
  for (int round = 0; round < kDrainRounds && r->send.stored > 0; ++round) {
    if (r->error || !r->connected || plat::timeGetTime() - start >= kDrainMillis) break;
    if (FlushSendRing(r) != 0) break;
    if (r->send.stored > 0) plat::WaitForSocket(r->socket, true, 1);
  }
}

}  // namespace

NetworkState& GetNetworkState() { return g_net; }

SocketRecord* FindSocketRecord(int handle) {
  if (g_net.table.slots == nullptr) return nullptr;
  return static_cast<SocketRecord*>(LookupHandleEntry(&g_net.table, handle));
}

SocketRecord* CheckSocketHandle(int handle, const char* invalidText, const char* errorText) {
  SocketRecord* r = FindSocketRecord(handle);
  if (r == nullptr) {
    if (invalidText) LogOutput(invalidText);
    return nullptr;
  }
  if (r->error) {
    if (errorText) LogOutput(errorText);
    return nullptr;
  }
  return r;
}

void ResetNetwork() {
  while (g_net.first != nullptr) UndoRecord(g_net.first);
  if (g_net.window != 0) plat::DestroyWindow(g_net.window);
  g_net.window = 0;
  g_net.pumping = 0;
  ResetTable();
}

int AcceptNet() {
  SocketRecord* listener = FindSocketRecord(HandleOfSlot(&g_net.table, kListenSlot));
  if (listener == nullptr) return -1;
  const int slot = FirstFreeSlot();
  if (slot < 0) return LogOutput("空きソケットデータがなかったので accept を拒否しました \n");
  SocketRecord* r = NewRecord(slot);
  if (r == nullptr) return -1;
  plat::SockAddrIn peer;
  r->socket = plat::Accept(listener->socket, &peer);
  if (r->socket == plat::INVALID_SOCKET) {
    NetLogPrintf("acceptに失敗しました");
    UndoRecord(r);
    return -1;
  }
  std::memcpy(r->peerAddress, peer.address, 4);
  r->peerPort = peer.port;
  if (plat::WSAAsyncSelect(r->socket, NetworkWindow(), kSocketMessage, kAcceptedEvents) != 0) {
    NetLogPrintf("WSAAsyncSelectのエラー in AcceptNet");
    UndoRecord(r);
    return -1;
  }
  r->connected = 1;
  r->accepted = 1;
  return r->handle;
}

int ListenNet(int port, const uint8_t* address) {
  if (g_net.table.slots == nullptr) ResetTable();
  if (port < 0 || port > 65535 || g_net.slots[kListenSlot] != nullptr) return -1;
  SocketRecord* r = NewRecord(kListenSlot);
  if (r == nullptr) return -1;
  r->listening = 1;
  plat::SockAddrIn local;
  if (address != nullptr) std::memcpy(local.address, address, 4);
  local.port = static_cast<uint16_t>(port);
  r->socket = plat::OpenSocket();
  const char* failure = nullptr;
  if (r->socket == plat::INVALID_SOCKET) failure = "ソケットの作成に失敗しました in ListenNet";
  else if (plat::Bind(r->socket, local) != 0) failure = "bindに失敗しました";
  else if (plat::Listen(r->socket, kListenBacklog) != 0) failure = "listenに失敗しました";
  else if (plat::WSAAsyncSelect(r->socket, NetworkWindow(), kSocketMessage, plat::FD_ACCEPT) != 0)
    failure = "WSAAsyncSelectのエラー in ListenNet";
  if (failure != nullptr) {
    NetLogPrintf("%s", failure);
    UndoRecord(r);
    return -1;
  }
  plat::GetSockName(r->socket, &local);
  std::memcpy(r->peerAddress, local.address, 4);
  r->peerPort = local.port;
  return r->handle;
}

int StopListenNet() {
  const int handle = HandleOfSlot(&g_net.table, kListenSlot);
  return handle < 0 ? -1 : CloseSocketHandle(handle);
}

int GetNewAcceptNet() {
  for (SocketRecord* r = g_net.first; r != nullptr; r = r->next) {
    if (r->accepted && !r->announced) {
      r->announced = 1;
      return r->handle;
    }
  }
  return -1;
}

int ConnectNet(const uint8_t address[4], int port) {
  if (g_net.table.slots == nullptr) ResetTable();
  if (address == nullptr || port < 1 || port > 65535) return -1;
  const int slot = FirstFreeSlot();
  if (slot < 0) return -1;
  SocketRecord* r = NewRecord(slot);
  if (r == nullptr) return -1;
  std::memcpy(r->peerAddress, address, 4);
  r->peerPort = static_cast<uint16_t>(port);
  plat::SockAddrIn peer;
  std::memcpy(peer.address, address, 4);
  peer.port = r->peerPort;
  r->socket = plat::OpenSocket();
  const char* failure = nullptr;
  if (r->socket == plat::INVALID_SOCKET) failure = "ソケットの作成に失敗しました in ConnectNet";
  else if (plat::WSAAsyncSelect(r->socket, NetworkWindow(), kSocketMessage, kConnectEvents) != 0)
    failure = "WSAAsyncSelectのエラー in ConnectNet";
  else if (plat::Connect(r->socket, peer) != 0 && plat::WSAGetLastError() != plat::WSAEWOULDBLOCK)
    failure = "connectに失敗しました";
  if (failure != nullptr) {
    NetLogPrintf("%s", failure);
    UndoRecord(r);
    return -1;
  }
  return r->handle;
}

int AttachNetSocket(plat::Socket socket) {
  if (g_net.table.slots == nullptr) ResetTable();
  const int slot = FirstFreeSlot();
  SocketRecord* r = slot < 0 ? nullptr : NewRecord(slot);
  if (r == nullptr) {
    plat::CloseSocket(socket);
    return -1;
  }
  r->socket = socket;
  if (plat::WSAAsyncSelect(socket, NetworkWindow(), kSocketMessage, kAcceptedEvents) != 0) {
    UndoRecord(r);
    return -1;
  }
  r->connected = 1;
  return r->handle;
}

int SetNetPacketMode(int handle, int on) {
  SocketRecord* r = FindSocketRecord(handle);
  if (r == nullptr) return -1;
  r->packetMode = on ? 1 : 0;
  return 0;
}

int SetNetSendBuffered(int handle, int on) {
  SocketRecord* r = FindSocketRecord(handle);
  if (r == nullptr) return -1;
  r->sendBuffered = on ? 1 : 0;
  return 0;
}

int GetNetPeerAddress(int handle, uint8_t address[4], int* port) {
  const SocketRecord* r = FindSocketRecord(handle);
  if (r == nullptr) return -1;
  if (address != nullptr) std::memcpy(address, r->peerAddress, 4);
  if (port != nullptr) *port = r->peerPort;
  return 0;
}

int GetNetAcceptState(int handle) {
  const SocketRecord* r = CheckSocketHandle(handle, "有効なネットワークハンドルではありません in GetNetAcceptState\n",
                                            "このネットワークハンドルにはエラーが発生しています in GetNetAcceptStateh\n");
  return r == nullptr ? -1 : r->connected;
}

int CloseSocketHandle(int handle) {
  if (FindSocketRecord(handle) == nullptr) return -1;
  PumpNetworkWindow(0);
  SocketRecord* r = FindSocketRecord(handle);
  if (r == nullptr) return -1;
  DrainBeforeClose(r);
  plat::WSAAsyncSelect(r->socket, 0, 0, 0);
  UndoRecord(r);
  return 0;
}

int OnSocketMessage(plat::WParam wParam, plat::LParam lParam) {
  SocketRecord* r = FindBySocket(static_cast<plat::Socket>(wParam));
  if (r == nullptr) {
    LogOutput("通信エラー No.1\n");
    return 0;
  }
  const int error = plat::WSAGetSelectError(lParam);
  switch (plat::WSAGetSelectEvent(lParam)) {
    case plat::FD_READ: RecvSocket(r->handle); break;
    case plat::FD_WRITE: SendSocket(r->handle); break;
    case plat::FD_ACCEPT: AcceptNet(); break;
    case plat::FD_CONNECT:
      // A connection that could not be made can never carry data.
      if (error == 0) r->connected = 1;
      else r->error = 1;
      break;
    case plat::FD_CLOSE:
      r->connected = 0;
      r->pending = 0;
      r->closedByPeer = 1;
      // A reset loses what was on its way: the record cannot be trusted.
      if (error != 0) r->error = 1;
      break;
    default: break;
  }
  return 1;
}

int PumpNetworkWindow(int closeFinished) {
  if (g_net.pumping) return 0;
  g_net.pumping = 1;
  if (closeFinished) {
    for (SocketRecord* r = g_net.first; r != nullptr;) {
      SocketRecord* next = r->next;
      if (r->error || (!r->connected && r->pending)) CloseSocketHandle(r->handle);
      r = next;
    }
  }
  plat::Msg m;
  for (int i = 0; g_net.window != 0 && i < kMessagesPerPump; ++i) {
    if (!plat::PeekMessage(&m, g_net.window, plat::PM_REMOVE)) break;
    if (m.message == plat::WM_QUIT) {
      // Not ours: it stays for the frame's message loop.
      plat::PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    plat::DispatchMessage(&m);
  }
  g_net.pumping = 0;
  return 0;
}

int EndNetwork() {
  LogOutput("ネットワーク関連の終了処理を行います \n");
  while (g_net.first != nullptr) {
    if (CloseSocketHandle(g_net.first->handle) != 0) UndoRecord(g_net.first);
  }
  if (g_net.window != 0) plat::DestroyWindow(g_net.window);
  g_net.window = 0;
  plat::UnregisterClass(kWindowClass);
  LogOutput("ネットワーク関連の終了処理は完了しました\n");
  return 0;
}

}  // namespace qor
