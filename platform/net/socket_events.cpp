// Asynchronous selection: looks at every socket selected to a window of the
// calling thread and posts each event that is armed and has happened.
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <vector>

#include "platform/kernel/thread_id.h"
#include "platform/net/winsock_state.h"

namespace plat {

using namespace net;

namespace {

struct Notice {
  Hwnd window;
  uint32_t message;
  Socket socket;
  uint32_t event;
  int error;
};

int PendingError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return WSAENOTSOCK;
  return error == 0 ? 0 : ErrorFromErrno(error);
}

int BytesWaiting(int fd) {
  int n = 0;
  return ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}

// The events of one socket whose poll result is `revents`, in the order a
// reader needs them: the outcome of a connect, data, room, then the close.
void Decide(Socket id, SocketEntry& e, short revents, std::vector<Notice>& out) {
  auto post = [&](uint32_t event, int error) {
    if (e.events & event) out.push_back(Notice{e.window, e.message, id, event, error});
  };
  if (e.listening) {
    if (e.acceptArmed && (revents & POLLIN)) {
      e.acceptArmed = false;
      post(FD_ACCEPT, 0);
    }
    return;
  }
  if (e.connecting) {
    if (!(revents & (POLLOUT | POLLERR | POLLHUP))) return;
    e.connecting = false;
    const int error = PendingError(e.fd);
    post(FD_CONNECT, error);
    if (error != 0) return;
    e.established = true;
    e.writeArmed = true;
  }
  if (!e.established) return;
  const int waiting = (revents & POLLIN) ? BytesWaiting(e.fd) : 0;
  if (e.readArmed && waiting > 0) {
    e.readArmed = false;
    post(FD_READ, 0);
  }
  if (e.writeArmed && (revents & POLLOUT) && !(revents & (POLLERR | POLLHUP))) {
    e.writeArmed = false;
    post(FD_WRITE, 0);
  }
  const bool ended = (revents & (POLLRDHUP | POLLHUP | POLLERR)) || ((revents & POLLIN) && waiting == 0);
  if (!e.closePosted && ended) {
    e.closePosted = true;
    post(FD_CLOSE, (revents & POLLERR) ? PendingError(e.fd) : 0);
  }
}

}  // namespace

void CollectSocketEvents() {
  std::vector<Notice> notices;
  {
    std::lock_guard<std::mutex> lock(SocketMutex());
    if (Sockets().entries.empty()) return;
    const uint32_t thread = GetCurrentThreadId();
    std::vector<pollfd> polls;
    std::vector<Socket> ids;
    for (auto& [id, e] : Sockets().entries) {
      if (e.window == 0 || e.events == 0 || GetWindowThreadId(e.window) != thread) continue;
      polls.push_back(pollfd{e.fd, static_cast<short>(POLLIN | POLLOUT | POLLRDHUP), 0});
      ids.push_back(id);
    }
    if (polls.empty() || ::poll(polls.data(), polls.size(), 0) <= 0) return;
    for (size_t i = 0; i < polls.size(); ++i) {
      if (polls[i].revents != 0) Decide(ids[i], *FindEntry(ids[i]), polls[i].revents, notices);
    }
  }
  for (const Notice& n : notices) {
    PostMessage(n.window, n.message, n.socket, MakeLParam(static_cast<int>(n.event), n.error));
  }
}

}  // namespace plat
