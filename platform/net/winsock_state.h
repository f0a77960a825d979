// The state of platform/net, shared by its files: one record guarded by one
// mutex, reset by ResetNetStandIn.
#pragma once

#include <map>
#include <mutex>

#include "platform/net/winsock.h"

namespace plat::net {

struct SocketEntry {
  int fd = -1;
  // Selection.
  Hwnd window = 0;
  uint32_t message = 0;
  uint32_t events = 0;
  // Where the connection stands.
  bool listening = false;
  bool connecting = false;   // a connect is under way; FD_CONNECT not yet posted
  bool established = false;  // connected (by accept or a connect that succeeded)
  // Which events may be posted again (each is posted once, then waits for
  // the call that arms it).
  bool readArmed = true;
  bool writeArmed = false;
  bool acceptArmed = true;
  bool closePosted = false;
};

struct SocketSystem {
  std::map<Socket, SocketEntry> entries;
  Socket nextId = 0x100;
  bool failNextOpen = false;
  bool failNextAccept = false;
};

SocketSystem& Sockets();
std::mutex& SocketMutex();
SocketEntry* FindEntry(Socket socket);  // the mutex is held
int ErrorFromErrno(int error);

}  // namespace plat::net
