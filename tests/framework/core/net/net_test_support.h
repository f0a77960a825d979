// Loopback peers for the network tests: a plain POSIX socket driven from a
// thread (never the framework's code), a bounded pump, and a scope that
// starts every test with the network, windows and log clean.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "core_test_support.h"
#include "framework/core/net/http_request.h"
#include "framework/core/net/net_socket.h"
#include "platform/kernel/threads.h"
#include "platform/net/winsock.h"
#include "platform/window/window.h"

namespace nettest {

inline const uint8_t kLoopback[4] = {127, 0, 0, 1};

inline void ResetNet() {
  qor::CloseAllHttpHandles();
  qor::ResetNetwork();
  qor::ClearHttpTable();
  plat::ResetNetStandIn();
  plat::ResetWindowStandIn();
}

struct NetScope : coretest::ScratchDir {
  NetScope() {
    ResetNet();
    qor::OpenLogFile();
  }
  ~NetScope() { ResetNet(); }
  bool Logged(const char* cp932) const { return Read("Log.txt").find(cp932) != std::string::npos; }
};

// Pumps the network window and steps HTTP until `done`, with 1 ms real
// waits; false when it did not happen within `rounds`.
inline bool PumpUntil(const std::function<bool()>& done, int rounds = 5000) {
  for (int i = 0; i < rounds; ++i) {
    qor::PumpNetworkWindow(0);
    qor::StepAllHttpHandles();
    if (done()) return true;
    plat::SleepRealMs(1);
  }
  return false;
}

// A listening record on a free loopback port; its port.
inline int ListenLoopback() {
  const int listener = qor::ListenNet(0, kLoopback);
  EXPECT_GE(listener, 0);
  int port = 0;
  qor::GetNetPeerAddress(listener, nullptr, &port);
  return port;
}

// --- plain POSIX sockets for the peers -------------------------------------------------
inline int RawListen(int* port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 8) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
    ::close(fd);
    return -1;
  }
  *port = ntohs(a.sin_port);
  return fd;
}

inline int RawConnect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Waits (at most `ms`) for the descriptor to be readable.
inline bool RawReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

inline int RawAccept(int listener, int ms = 5000) {
  if (!RawReadable(listener, ms)) return -1;
  return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

inline bool RawSendAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

inline bool RawSendAll(int fd, const std::string& text) { return RawSendAll(fd, text.data(), text.size()); }

// Reads until the peer closes, `limit` bytes have come, or nothing comes
// for `quietMs`.
inline std::string RawReadAll(int fd, size_t limit, int quietMs = 3000) {
  std::string out;
  char buffer[65536];
  while (out.size() < limit && RawReadable(fd, quietMs)) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  return out;
}

// A deterministic byte pattern for a message of `size` bytes numbered `seed`.
inline std::string Pattern(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (char& c : out) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 23);
  }
  return out;
}

inline std::string Framed(const std::string& body) {
  const int32_t length = static_cast<int32_t>(body.size());
  return std::string(reinterpret_cast<const char*>(&length), 4) + body;
}

}  // namespace nettest
