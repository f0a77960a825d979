// A tiny HTTP server for the tests, on a thread of its own with plain POSIX
// sockets: it serves one scripted reply per connection, in order, and
// records every request's bytes (head and body).
#pragma once

#include <strings.h>
#include <sys/socket.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "net_test_support.h"

namespace nettest {

struct Reply {
  std::vector<std::string> pieces;  // sent in order
  int pauseMs = 0;                  // between two pieces
  bool reset = false;               // end with a reset instead of a close
  bool answer = true;               // false: read the request, then wait to be stopped
};

inline Reply Whole(const std::string& text) { return Reply{{text}}; }

// Each byte a piece of its own.
inline Reply Trickled(const std::string& head, const std::string& body) {
  Reply r{{head}, 1};
  for (char c : body) r.pieces.emplace_back(1, c);
  return r;
}

inline std::string Length(size_t n) { return "Content-Length: " + std::to_string(n) + "\r\n"; }
inline std::string Head200(const std::string& extra = "") {
  return "HTTP/1.0 200 OK\r\nServer: tiny\r\n" + extra + "\r\n";
}

class TinyServer {
 public:
  explicit TinyServer(std::vector<Reply> replies) : replies_(std::move(replies)) {
    listener_ = RawListen(&port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TinyServer() { Join(); }
  int port() const { return port_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  // Waits for the thread; the requests are complete afterwards.
  const std::vector<std::string>& Join() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
    return requests_;
  }

 private:
  static std::string ReadRequest(int fd) {
    std::string in;
    char buffer[4096];
    size_t headEnd = std::string::npos;
    size_t bodyLength = 0;
    while (RawReadable(fd, 3000)) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      in.append(buffer, static_cast<size_t>(n));
      if (headEnd == std::string::npos) {
        const size_t crlf = in.find("\r\n\r\n"), lf = in.find("\n\n");
        headEnd = crlf < lf ? crlf + 4 : (lf != std::string::npos ? lf + 2 : std::string::npos);
        if (headEnd == std::string::npos) continue;
        const size_t at = in.find("Content-Length: ");
        if (at != std::string::npos && at < headEnd) bodyLength = std::stoul(in.substr(at + 16));
      }
      if (in.size() >= headEnd + bodyLength) break;
    }
    return in;
  }

  void Serve() {
    for (const Reply& reply : replies_) {
      const int fd = RawAccept(listener_);
      if (fd < 0) return;
      requests_.push_back(ReadRequest(fd));
      for (size_t i = 0; reply.answer && i < reply.pieces.size(); ++i) {
        if (i > 0 && reply.pauseMs > 0) plat::SleepRealMs(static_cast<uint32_t>(reply.pauseMs));
        if (!RawSendAll(fd, reply.pieces[i])) break;
      }
      for (int i = 0; !reply.answer && !stop_ && i < 10000; ++i) plat::SleepRealMs(1);
      if (reply.reset) {
        const linger abortive{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
      }
      ::close(fd);
    }
  }

  std::vector<Reply> replies_;
  std::vector<std::string> requests_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace nettest
