// The table of network connections: one listening slot and up to 4,096
// connections, each with a receive ring and a send ring, driven by the
// notifications (message 0x505) that reach the network window.
//
// In packet mode (the default) every message travels with its length in 4
// bytes before it (host byte order), and the receiver hands out only bytes
// of messages that have arrived whole; in stream mode the bytes are read
// straight from the socket. Sends are buffered by default: what cannot go
// at once waits in the send ring for the next FD_WRITE.
#pragma once

#include <cstdint>

#include "framework/core/ring_buffer.h"
#include "framework/graphics/graphs/handle_table.h"
#include "platform/net/winsock.h"

namespace qor {

constexpr int kMaxConnections = 4096;
constexpr int kListenSlot = kMaxConnections;  // the one listening record
constexpr uint32_t kSocketMessage = 0x505;
// A message longer than this from a peer is refused (the connection gets
// its error flag); NetSend refuses it too.
constexpr int32_t kMaxPacketLength = 16 * 1024 * 1024;
// ReadNetLine's buffer: 255 bytes of text and the terminator.
constexpr int kNetLineCapacity = 256;

struct SocketRecord {
  uint32_t check;  // first, as in every handle record
  int32_t error;
  int32_t connected;
  int32_t closedByPeer;
  int32_t pending;  // sent data is waiting for room (FD_WRITE)
  int32_t packetMode;
  int32_t sendBuffered;
  int32_t listening;
  int32_t accepted;   // came from AcceptNet
  int32_t announced;  // handed out by GetNewAcceptNet
  int32_t receiving;  // RecvSocket is running (re-entry guard)
  plat::Socket socket;
  RingBuffer receive;
  int32_t expected;       // bytes still to come of the current message
  int32_t messageLength;  // length of the current message
  int32_t completed;      // bytes of whole messages in the receive ring
  RingBuffer send;
  uint8_t peerAddress[4];  // the listening record keeps its own address here
  uint16_t peerPort;
  int32_t handle;
  SocketRecord* previous;
  SocketRecord* next;
  // ReadNetLine's line so far: its first bytes and its whole length.
  char line[kNetLineCapacity];
  int32_t lineStored;
  int32_t lineLength;
  int32_t lastLineLength;  // whole length of the line ReadNetLine gave last
};

struct NetworkState {
  void* slots[kSocketHandleMax];
  HandleTable table;
  SocketRecord* first;  // live records, oldest first
  SocketRecord* last;
  plat::Hwnd window;  // the message-only network window, 0 until needed
  int pumping;        // PumpNetworkWindow is running
};

NetworkState& GetNetworkState();
// Closes every socket without a word and frees every record; back to the
// load state. Tests start from it.
void ResetNetwork();

// --- the operations of the table ---------------------------------------------------
int AcceptNet();
int GetNetAcceptState(int handle);  // 1 connected, 0 not (yet), -1
int NetRecv(int handle, void* buffer, int length);
int NetPeekRecv(int handle, void* buffer, int length);
int NetSend(int handle, const void* data, int length);
int GetNetDataLength(int handle);
int CloseSocketHandle(int handle);
// One line without its CR LF into `buffer` (kNetLineCapacity bytes): its
// length (a longer line is cut to 255 bytes once its end has come), or -1
// while no complete line is there.
int ReadNetLine(int handle, char* buffer);
int RecvSocket(int handle);
int SendSocket(int handle);
int OnSocketMessage(plat::WParam wParam, plat::LParam lParam);
int PumpNetworkWindow(int closeFinished);
int EndNetwork();

// --- opening connections -------------------------------------------------------------
// Listens on a port (0: any free port) of an address (nullptr: every
// address of the machine). The listening record's handle, or -1 when
// already listening or the port cannot be had. Connections are accepted
// as their FD_ACCEPT comes; GetNewAcceptNet hands them out.
int ListenNet(int port, const uint8_t* address);
int StopListenNet();
// The oldest accepted connection not yet handed out, or -1.
int GetNewAcceptNet();
// Starts connecting to an IPv4 address; the handle (connected once its
// FD_CONNECT has come), or -1.
int ConnectNet(const uint8_t address[4], int port);
int SetNetPacketMode(int handle, int on);
int SetNetSendBuffered(int handle, int on);
// The peer's address and port (for the listening record its own).
int GetNetPeerAddress(int handle, uint8_t address[4], int* port);
// A record for a socket that is already connected (it is selected to the
// network window); the handle, or -1 (the socket is then closed).
int AttachNetSocket(plat::Socket socket);

// The record a handle names, or nullptr (no log line).
SocketRecord* FindSocketRecord(int handle);

}  // namespace qor
