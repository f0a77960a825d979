// Sockets as the framework's network code expects them: IPv4 stream
// sockets, always non-blocking, with the last error as a number of the
// Windows socket family, and asynchronous selection that posts a window
// message for each network event.
//
// Events are collected when the thread that owns the selected window looks
// at its queue (PeekMessage), as host events are; nothing runs on a thread
// of its own. Each event is posted once and armed again as the framework
// expects: FD_READ after a receive (it comes again while data is left),
// FD_WRITE once after connect or accept and again when room returns after a
// send that would have blocked, FD_ACCEPT after each accept, FD_CONNECT once
// with the outcome, FD_CLOSE once when the peer has closed or reset. The
// message's wParam is the socket, its lParam the event in the low word and
// the error in the high word.
//
// A send to a peer that has gone returns an error; it never raises SIGPIPE.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace plat {

using Socket = uintptr_t;
constexpr Socket INVALID_SOCKET = ~static_cast<Socket>(0);
constexpr int SOCKET_ERROR = -1;

// Network events of WSAAsyncSelect.
constexpr uint32_t FD_READ = 0x01;
constexpr uint32_t FD_WRITE = 0x02;
constexpr uint32_t FD_ACCEPT = 0x08;
constexpr uint32_t FD_CONNECT = 0x10;
constexpr uint32_t FD_CLOSE = 0x20;

// Flags of Recv and Send.
constexpr int MSG_PEEK = 0x2;

// Error numbers.
constexpr int WSAEINTR = 10004;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSAHOST_NOT_FOUND = 11001;

// An IPv4 address and port, both as numbers (the address bytes in network
// order: 127, 0, 0, 1 is loopback).
struct SockAddrIn {
  uint8_t address[4] = {};
  uint16_t port = 0;
};

inline uint32_t WSAGetSelectEvent(LParam lParam) { return LoWord(static_cast<uintptr_t>(lParam)); }
inline int WSAGetSelectError(LParam lParam) { return static_cast<int>(HiWord(static_cast<uintptr_t>(lParam))); }

// A new stream socket; INVALID_SOCKET on failure.
Socket OpenSocket();
// Binds to an address (any address when all four bytes are 0); the address
// may be reused at once after a close.
int Bind(Socket socket, const SockAddrIn& address);
int Listen(Socket socket, int backlog);
// A waiting connection, or INVALID_SOCKET (WSAEWOULDBLOCK when none waits).
Socket Accept(Socket socket, SockAddrIn* peer);
// Starts connecting: SOCKET_ERROR with WSAEWOULDBLOCK while it is under
// way; the outcome comes as FD_CONNECT.
int Connect(Socket socket, const SockAddrIn& address);
// Bytes sent (possibly fewer than asked), or SOCKET_ERROR.
int Send(Socket socket, const void* data, int length, int flags);
// Bytes received, 0 once the peer has closed, or SOCKET_ERROR
// (WSAEWOULDBLOCK when nothing waits). MSG_PEEK leaves them queued.
int Recv(Socket socket, void* buffer, int length, int flags);
int CloseSocket(Socket socket);
int GetSockName(Socket socket, SockAddrIn* out);
// Posts `message` to `window` for the events chosen; events 0 stops the
// notifications. Selecting arms every chosen event again.
int WSAAsyncSelect(Socket socket, Hwnd window, uint32_t message, uint32_t events);
int WSAGetLastError();
void WSASetLastError(int error);

// Waits up to `timeoutMs` real milliseconds until the socket can be read
// (or has closed) or, with `forWrite`, written. True when it can.
bool WaitForSocket(Socket socket, bool forWrite, int timeoutMs);
// The IPv4 address of a host name or dotted address; 0, or SOCKET_ERROR
// with WSAHOST_NOT_FOUND.
int ResolveHostIPv4(const char* name, uint8_t out[4]);

// Posts the events of the sockets selected to windows of the calling thread
// (PeekMessage calls it).
void CollectSocketEvents();

// --- tests ---------------------------------------------------------------------------
// Two sockets connected to each other on this machine, already connected as
// an accepted socket is.
int SocketPair(Socket out[2]);
// The next OpenSocket, or the next Accept, fails.
void FailNextOpenSocket();
void FailNextAccept();
int OpenSocketCount();  // sockets not yet closed
// Closes every socket and forgets every selection.
void ResetNetStandIn();

}  // namespace plat
