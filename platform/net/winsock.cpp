// The socket stand-in over non-blocking POSIX sockets. Sockets are numbered
// by the stand-in and never reuse a number, so a notification still queued
// for a closed socket can never be taken for a newer one.
#include "platform/net/winsock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/kernel/thread_id.h"
#include "platform/net/winsock_state.h"

namespace plat {

namespace net {

namespace {

SocketSystem g_sockets;
std::mutex g_mutex;
thread_local int t_lastError = 0;

}  // namespace

SocketSystem& Sockets() { return g_sockets; }
std::mutex& SocketMutex() { return g_mutex; }

SocketEntry* FindEntry(Socket socket) {
  const auto it = g_sockets.entries.find(socket);
  return it == g_sockets.entries.end() ? nullptr : &it->second;
}

int ErrorFromErrno(int error) {
  switch (error) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
      return WSAEWOULDBLOCK;
    case EINPROGRESS: return WSAEWOULDBLOCK;
    case EALREADY: return WSAEALREADY;
    case EINTR: return WSAEINTR;
    case EACCES: case EPERM: return WSAEACCES;
    case EFAULT: return WSAEFAULT;
    case EINVAL: return WSAEINVAL;
    case EMFILE: case ENFILE: return WSAEMFILE;
    case ENOTSOCK: case EBADF: return WSAENOTSOCK;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET: return WSAECONNRESET;
    case ENOBUFS: case ENOMEM: return WSAENOBUFS;
    case EISCONN: return WSAEISCONN;
    case ENOTCONN: return WSAENOTCONN;
    case EPIPE: case ESHUTDOWN: return WSAESHUTDOWN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    default: return WSAEINVAL;
  }
}

}  // namespace net

using namespace net;

namespace {

int Fail(int error) {
  t_lastError = error;
  return SOCKET_ERROR;
}

int FailErrno() { return Fail(ErrorFromErrno(errno)); }

sockaddr_in ToPosix(const SockAddrIn& a) {
  sockaddr_in out{};
  out.sin_family = AF_INET;
  out.sin_port = htons(a.port);
  std::memcpy(&out.sin_addr.s_addr, a.address, 4);
  return out;
}

SockAddrIn FromPosix(const sockaddr_in& a) {
  SockAddrIn out;
  std::memcpy(out.address, &a.sin_addr.s_addr, 4);
  out.port = ntohs(a.sin_port);
  return out;
}

// Numbers a new descriptor; the mutex is held.
Socket Adopt(int fd, bool connected) {
  SocketEntry e;
  e.fd = fd;
  e.established = connected;
  e.writeArmed = connected;
  const Socket id = Sockets().nextId++;
  Sockets().entries[id] = e;
  return id;
}

void SetNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

}  // namespace

Socket OpenSocket() {
  std::lock_guard<std::mutex> lock(SocketMutex());
  if (Sockets().failNextOpen) {
    Sockets().failNextOpen = false;
    Fail(WSAENOBUFS);
    return INVALID_SOCKET;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    FailErrno();
    return INVALID_SOCKET;
  }
  // Small messages go out at once, as the framework's packets expect.
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return Adopt(fd, false);
}

int Bind(Socket socket, const SockAddrIn& address) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  const SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  const int one = 1;
  setsockopt(e->fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  const sockaddr_in a = ToPosix(address);
  if (::bind(e->fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return FailErrno();
  return 0;
}

int Listen(Socket socket, int backlog) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  if (::listen(e->fd, backlog) != 0) return FailErrno();
  e->listening = true;
  e->acceptArmed = true;
  return 0;
}

Socket Accept(Socket socket, SockAddrIn* peer) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) {
    Fail(WSAENOTSOCK);
    return INVALID_SOCKET;
  }
  e->acceptArmed = true;
  if (Sockets().failNextAccept) {
    Sockets().failNextAccept = false;
    Fail(WSAENOBUFS);
    return INVALID_SOCKET;
  }
  sockaddr_in a{};
  socklen_t length = sizeof a;
  const int fd = ::accept4(e->fd, reinterpret_cast<sockaddr*>(&a), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) {
    FailErrno();
    return INVALID_SOCKET;
  }
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (peer != nullptr) *peer = FromPosix(a);
  return Adopt(fd, true);
}

int Connect(Socket socket, const SockAddrIn& address) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  const sockaddr_in a = ToPosix(address);
  if (::connect(e->fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
    // Loopback may connect at once; the outcome still comes as FD_CONNECT.
    e->connecting = true;
    return 0;
  }
  if (errno == EINPROGRESS) {
    e->connecting = true;
    return Fail(WSAEWOULDBLOCK);
  }
  return FailErrno();
}

int Send(Socket socket, const void* data, int length, int /*flags*/) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  if (length < 0 || (data == nullptr && length > 0)) return Fail(WSAEFAULT);
  const ssize_t n = ::send(e->fd, data, static_cast<size_t>(length), MSG_NOSIGNAL);
  if (n < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) e->writeArmed = true;
    return FailErrno();
  }
  return static_cast<int>(n);
}

int Recv(Socket socket, void* buffer, int length, int flags) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  if (length < 0 || (buffer == nullptr && length > 0)) return Fail(WSAEFAULT);
  e->readArmed = true;
  const ssize_t n = ::recv(e->fd, buffer, static_cast<size_t>(length), (flags & MSG_PEEK) ? MSG_PEEK : 0);
  if (n < 0) return FailErrno();
  return static_cast<int>(n);
}

int CloseSocket(Socket socket) {
  Hwnd window = 0;
  uint32_t message = 0;
  {
    std::lock_guard<std::mutex> lock(SocketMutex());
    SocketEntry* e = FindEntry(socket);
    if (e == nullptr) return Fail(WSAENOTSOCK);
    window = e->window;
    message = e->message;
    ::close(e->fd);
    Sockets().entries.erase(socket);
  }
  if (window != 0) RemoveQueuedMessages(window, message, socket);
  return 0;
}

int GetSockName(Socket socket, SockAddrIn* out) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  const SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  sockaddr_in a{};
  socklen_t length = sizeof a;
  if (::getsockname(e->fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) return FailErrno();
  if (out != nullptr) *out = FromPosix(a);
  return 0;
}

int WSAAsyncSelect(Socket socket, Hwnd window, uint32_t message, uint32_t events) {
  std::lock_guard<std::mutex> lock(SocketMutex());
  SocketEntry* e = FindEntry(socket);
  if (e == nullptr) return Fail(WSAENOTSOCK);
  if (events != 0 && !IsWindow(window)) return Fail(WSAEINVAL);
  e->window = events != 0 ? window : 0;
  e->message = message;
  e->events = events;
  e->readArmed = true;
  e->acceptArmed = true;
  if (e->established) e->writeArmed = true;
  return 0;
}

int WSAGetLastError() { return t_lastError; }
void WSASetLastError(int error) { t_lastError = error; }

bool WaitForSocket(Socket socket, bool forWrite, int timeoutMs) {
  int fd = -1;
  {
    std::lock_guard<std::mutex> lock(SocketMutex());
    const SocketEntry* e = FindEntry(socket);
    if (e == nullptr) return false;
    fd = e->fd;
  }
  pollfd p{fd, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
  const int n = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
  return n > 0 && (p.revents & (forWrite ? POLLOUT : (POLLIN | POLLHUP | POLLERR))) != 0;
}

int ResolveHostIPv4(const char* name, uint8_t out[4]) {
  if (name == nullptr || name[0] == '\0') return Fail(WSAHOST_NOT_FOUND);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (::getaddrinfo(name, nullptr, &hints, &list) != 0 || list == nullptr) return Fail(WSAHOST_NOT_FOUND);
  const auto* a = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
  std::memcpy(out, &a->sin_addr.s_addr, 4);
  ::freeaddrinfo(list);
  return 0;
}

int SocketPair(Socket out[2]) {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return FailErrno();
  SetNonBlocking(fds[0]);
  SetNonBlocking(fds[1]);
  std::lock_guard<std::mutex> lock(SocketMutex());
  out[0] = Adopt(fds[0], true);
  out[1] = Adopt(fds[1], true);
  return 0;
}

void FailNextOpenSocket() {
  std::lock_guard<std::mutex> lock(SocketMutex());
  Sockets().failNextOpen = true;
}

void FailNextAccept() {
  std::lock_guard<std::mutex> lock(SocketMutex());
  Sockets().failNextAccept = true;
}

int OpenSocketCount() {
  std::lock_guard<std::mutex> lock(SocketMutex());
  return static_cast<int>(Sockets().entries.size());
}

void ResetNetStandIn() {
  std::lock_guard<std::mutex> lock(SocketMutex());
  for (auto& [id, e] : Sockets().entries) ::close(e.fd);
  Sockets() = SocketSystem{};
  t_lastError = 0;
}

}  // namespace plat
