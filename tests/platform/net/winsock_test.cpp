// The socket stand-in on loopback: which notifications come, when they come
// again, and what a closed socket leaves behind.
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "platform/kernel/threads.h"
#include "platform/net/winsock.h"
#include "platform/window/window.h"

namespace {

using namespace plat;

constexpr uint32_t kNotice = WM_USER + 0x105;
const uint8_t kLoopback[4] = {127, 0, 0, 1};

struct Event {
  Socket socket;
  uint32_t event;
  int error;
};
std::vector<Event> g_events;

LResult RecordingProc(Hwnd, uint32_t message, WParam wParam, LParam lParam) {
  if (message == kNotice) g_events.push_back(Event{wParam, WSAGetSelectEvent(lParam), WSAGetSelectError(lParam)});
  return 0;
}

struct Loopback : ::testing::Test {
  Hwnd window = 0;
  void SetUp() override {
    ResetNetStandIn();
    ResetWindowStandIn();
    g_events.clear();
    ASSERT_TRUE(RegisterClass("SocketTest", RecordingProc));
    window = CreateMessageWindow("SocketTest");
    ASSERT_NE(window, 0);
  }
  void TearDown() override {
    ResetNetStandIn();
    ResetWindowStandIn();
  }
  // Delivers what has happened; a few rounds with short real waits, so the
  // kernel has moved the bytes on loopback.
  void Pump(int rounds = 20) {
    Msg m;
    for (int i = 0; i < rounds; ++i) {
      while (PeekMessage(&m, window, PM_REMOVE)) DispatchMessage(&m);
      SleepRealMs(1);
    }
  }
  int Count(Socket s, uint32_t event) {
    int n = 0;
    for (const Event& e : g_events) n += (e.socket == s && e.event == event) ? 1 : 0;
    return n;
  }
  // A listening socket on a free loopback port and a client connected to it.
  void Connect(Socket* listener, Socket* client, SockAddrIn* where) {
    *listener = OpenSocket();
    SockAddrIn local;
    std::copy(kLoopback, kLoopback + 4, local.address);
    ASSERT_EQ(Bind(*listener, local), 0);
    ASSERT_EQ(Listen(*listener, 4), 0);
    ASSERT_EQ(GetSockName(*listener, where), 0);
    ASSERT_EQ(WSAAsyncSelect(*listener, window, kNotice, FD_ACCEPT), 0);
    *client = OpenSocket();
    ASSERT_EQ(WSAAsyncSelect(*client, window, kNotice, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE), 0);
    const int r = plat::Connect(*client, *where);
    ASSERT_TRUE(r == 0 || WSAGetLastError() == WSAEWOULDBLOCK);
  }
};

TEST_F(Loopback, EachEventComesOnceAndAgainWhenArmed) {
  Socket listener, client;
  SockAddrIn where;
  Connect(&listener, &client, &where);
  Pump();
  EXPECT_EQ(Count(listener, FD_ACCEPT), 1);
  EXPECT_EQ(Count(client, FD_CONNECT), 1);
  EXPECT_EQ(g_events[0].error, 0);
  EXPECT_EQ(Count(client, FD_WRITE), 1);

  SockAddrIn peer;
  const Socket server = Accept(listener, &peer);
  ASSERT_NE(server, INVALID_SOCKET);
  EXPECT_EQ(peer.address[0], 127);
  ASSERT_EQ(WSAAsyncSelect(server, window, kNotice, FD_READ | FD_WRITE | FD_CLOSE), 0);
  Pump();
  EXPECT_EQ(Count(server, FD_WRITE), 1);  // once after accept, not again
  EXPECT_EQ(Count(listener, FD_ACCEPT), 1);

  ASSERT_EQ(Send(client, "abcdef", 6, 0), 6);
  Pump();
  EXPECT_EQ(Count(server, FD_READ), 1);
  ASSERT_EQ(Send(client, "gh", 2, 0), 2);
  Pump();
  EXPECT_EQ(Count(server, FD_READ), 1) << "not armed again before a receive";
  char buffer[16];
  EXPECT_EQ(Recv(server, buffer, 3, MSG_PEEK), 3);
  EXPECT_EQ(Recv(server, buffer, 3, 0), 3);
  Pump();
  EXPECT_EQ(Count(server, FD_READ), 2) << "data was left after the receive";
  EXPECT_EQ(Recv(server, buffer, sizeof buffer, 0), 5);
  EXPECT_EQ(std::string(buffer, 5), "defgh");
  Pump();
  EXPECT_EQ(Count(server, FD_READ), 2);
  EXPECT_EQ(Recv(server, buffer, sizeof buffer, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);

  ASSERT_EQ(CloseSocket(client), 0);
  Pump();
  EXPECT_EQ(Count(server, FD_CLOSE), 1);
  Pump();
  EXPECT_EQ(Count(server, FD_CLOSE), 1);
  EXPECT_EQ(Recv(server, buffer, sizeof buffer, 0), 0);
  // The peer has gone: sends fail (the process is not stopped by a signal).
  int result = 0;
  for (int i = 0; i < 50 && result != SOCKET_ERROR; ++i) {
    result = Send(server, "x", 1, 0);
    SleepRealMs(1);
  }
  EXPECT_EQ(result, SOCKET_ERROR);
  EXPECT_NE(WSAGetLastError(), 0);
}

TEST_F(Loopback, RefusedConnectAndClosedSocketsLeaveNothing) {
  Socket listener, client;
  SockAddrIn where;
  Connect(&listener, &client, &where);
  Pump();
  CloseSocket(client);
  CloseSocket(listener);
  // Nobody listens on that port now.
  const Socket late = OpenSocket();
  ASSERT_EQ(WSAAsyncSelect(late, window, kNotice, FD_CONNECT | FD_CLOSE | FD_READ | FD_WRITE), 0);
  plat::Connect(late, where);
  Pump();
  ASSERT_EQ(Count(late, FD_CONNECT), 1);
  EXPECT_EQ(g_events.back().error, WSAECONNREFUSED);
  EXPECT_EQ(Count(late, FD_CLOSE) + Count(late, FD_WRITE), 0);

  // A notification still queued for a socket is dropped with it, and a new
  // socket never takes the old number.
  Socket pair[2];
  ASSERT_EQ(SocketPair(pair), 0);
  ASSERT_EQ(WSAAsyncSelect(pair[0], window, kNotice, FD_WRITE), 0);
  CollectSocketEvents();
  EXPECT_EQ(QueuedMessageCount(), 1);
  CloseSocket(pair[0]);
  EXPECT_EQ(QueuedMessageCount(), 0);
  EXPECT_NE(OpenSocket(), pair[0]);
  EXPECT_EQ(Send(pair[0], "x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  ResetNetStandIn();
  EXPECT_EQ(OpenSocketCount(), 0);
}

}  // namespace
