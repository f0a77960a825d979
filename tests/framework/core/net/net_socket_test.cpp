// The connection table against loopback peers: framed messages both ways,
// stream reads and lines, hostile lengths, handle checks, closing.
#include <sys/socket.h>

#include <random>
#include <thread>
#include <vector>

#include "framework/core/net/net_internal.h"
#include "net_test_support.h"

using namespace qor;
using namespace nettest;

namespace {

// A framework connection accepted from `rawFd`'s connect (or -1).
int AcceptOne() {
  int accepted = -1;
  PumpUntil([&] { return (accepted = GetNewAcceptNet()) >= 0; });
  return accepted;
}

TEST(NetSockets, PacketsOfRandomSizesRoundTripBothWays) {
  NetScope scope;
  const int port = ListenLoopback();
  const int client = ConnectNet(kLoopback, port);
  ASSERT_GE(client, 0);
  const int server = AcceptOne();
  ASSERT_GE(server, 0);
  ASSERT_TRUE(PumpUntil([&] { return GetNetAcceptState(client) == 1; }));

  std::mt19937 random(7);
  std::vector<size_t> sizes = {0, 1, 3, 1 << 20};
  for (int i = 0; i < 16; ++i) sizes.push_back(random() % ((1 << 20) + 1));
  const int ends[2] = {client, server};
  // Every message goes both ways; the receiver takes each as soon as it is whole.
  size_t next[2] = {0, 0};
  size_t bytes = 0;
  for (size_t i = 0; i < sizes.size(); ++i) {
    for (int side = 0; side < 2; ++side) {
      const std::string m = Pattern(sizes[i], static_cast<uint32_t>(i * 2 + side));
      ASSERT_EQ(NetSend(ends[side], m.data(), static_cast<int>(m.size())), 0);
    }
    bytes += sizes[i];
    // Read what has come, a little behind the sender, so the rings wrap.
    for (int side = 0; side < 2; ++side) {
      const int receiver = ends[1 - side];
      while (next[side] + 1 < i && GetNetDataLength(receiver) >= static_cast<int>(sizes[next[side]])) {
        std::string got(sizes[next[side]], '\0');
        ASSERT_EQ(NetRecv(receiver, got.data(), static_cast<int>(got.size())), 0);
        ASSERT_EQ(got, Pattern(got.size(), static_cast<uint32_t>(next[side] * 2 + side))) << next[side];
        ++next[side];
      }
    }
    PumpNetworkWindow(0);
  }
  for (int side = 0; side < 2; ++side) {
    const int receiver = ends[1 - side];
    while (next[side] < sizes.size()) {
      const int want = static_cast<int>(sizes[next[side]]);
      ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(receiver) >= want; })) << next[side];
      std::string got(sizes[next[side]], '\0');
      ASSERT_EQ(NetRecv(receiver, got.data(), want), 0);
      ASSERT_EQ(got, Pattern(got.size(), static_cast<uint32_t>(next[side] * 2 + side))) << next[side];
      ++next[side];
    }
    EXPECT_EQ(GetNetDataLength(receiver), 0);
    // The ring was reused, not grown to hold everything.
    EXPECT_LT(FindSocketRecord(receiver)->receive.capacity, static_cast<int>(bytes));
  }
}

TEST(NetSockets, StreamModeLinesPeeksAndDataLength) {
  NetScope scope;
  const int port = ListenLoopback();
  const int raw = RawConnect(port);
  ASSERT_GE(raw, 0);
  const int h = AcceptOne();
  ASSERT_GE(h, 0);
  ASSERT_EQ(SetNetPacketMode(h, 0), 0);
  EXPECT_EQ(GetNetDataLength(h), 0);

  const std::string longLine(300, 'a');
  ASSERT_TRUE(RawSendAll(raw, "HTTP/1.0 200 OK\r\nX: y\n" + longLine + "\r\n\r\nnext\r\npartial"));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == 1; }));
  char peek[8] = {};
  EXPECT_EQ(NetPeekRecv(h, peek, 4), 4);
  EXPECT_EQ(std::string(peek, 4), "HTTP");
  EXPECT_EQ(NetPeekRecv(h, peek, -1), -1);

  char line[kNetLineCapacity];
  const std::vector<std::string> expected = {"HTTP/1.0 200 OK", "X: y", std::string(255, 'a'), "", "next"};
  for (const std::string& e : expected) {
    ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == 1; }));
    ASSERT_EQ(ReadNetLine(h, line), static_cast<int>(e.size()));
    EXPECT_EQ(std::string(line), e);
  }
  EXPECT_EQ(ReadNetLine(h, line), -1) << "no line end yet";
  ASSERT_TRUE(RawSendAll(raw, " line\n"));
  ASSERT_TRUE(PumpUntil([&] { return ReadNetLine(h, line) >= 0; }));
  EXPECT_EQ(std::string(line), "partial line");

  EXPECT_EQ(NetRecv(h, line, -1), -1);
  ASSERT_TRUE(RawSendAll(raw, "tail"));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == 1; }));
  EXPECT_EQ(NetRecv(h, line, sizeof line), 4);
  ::close(raw);
  ASSERT_TRUE(PumpUntil([&] { return GetNetAcceptState(h) == 0; }));
  EXPECT_EQ(GetNetDataLength(h), 0);
  EXPECT_EQ(NetRecv(h, line, sizeof line), 0);
}

TEST(NetSockets, LengthsFromThePeerAreCheckedAndUnfinishedMessagesKept) {
  NetScope scope;
  const int port = ListenLoopback();
  const int raw = RawConnect(port);
  const int h = AcceptOne();
  ASSERT_GE(h, 0);
  const std::string body = Pattern(100, 1);
  ASSERT_TRUE(RawSendAll(raw, Framed("abc") + Framed(body).substr(0, 54)));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == 3 && FindSocketRecord(h)->expected == 50; }));
  char buffer[128];
  EXPECT_EQ(NetRecv(h, buffer, 4), -1) << "bytes of an unfinished message";
  EXPECT_EQ(NetPeekRecv(h, buffer, sizeof buffer), 3);
  EXPECT_EQ(NetRecv(h, buffer, -1), -1);
  ASSERT_EQ(NetRecv(h, buffer, 3), 0);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  EXPECT_EQ(NetRecv(h, buffer, 1), -1);
  ASSERT_TRUE(RawSendAll(raw, body.substr(50)));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == 100; }));
  ASSERT_EQ(NetRecv(h, buffer, 100), 0);
  EXPECT_EQ(std::string(buffer, 100), body);

  // A negative length, and one above the cap, set the error flag instead of
  // reserving anything.
  const int32_t negative = -5;
  ASSERT_TRUE(RawSendAll(raw, &negative, 4));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == -1; }));
  EXPECT_TRUE(scope.Logged("(データサイズ -5 byte)"));
  EXPECT_TRUE(scope.Logged("このネットワークハンドルにはエラーが発生しています in GetNetDataLength"));
  EXPECT_EQ(NetSend(h, "x", 1), -1);
  ::close(raw);

  const int raw2 = RawConnect(port);
  const int h2 = AcceptOne();
  const int32_t huge = kMaxPacketLength + 1;
  ASSERT_TRUE(RawSendAll(raw2, &huge, 4));
  ASSERT_TRUE(PumpUntil([&] { return GetNetDataLength(h2) == -1; }));
  EXPECT_EQ(FindSocketRecord(h2)->receive.capacity, 0);
  EXPECT_EQ(NetSend(h, nullptr, kMaxPacketLength + 1), -1);
  // The flag-1 pump closes records that have failed.
  PumpNetworkWindow(1);
  EXPECT_EQ(FindSocketRecord(h), nullptr);
  EXPECT_EQ(FindSocketRecord(h2), nullptr);
  ::close(raw2);
}

TEST(NetSockets, BadHandlesAreRefusedWithTheirTexts) {
  NetScope scope;
  const int port = ListenLoopback();
  const int h = ConnectNet(kLoopback, port);
  ASSERT_GE(h, 0);
  ASSERT_EQ(CloseSocketHandle(h), 0);
  const int sameSlotNewCheck = ConnectNet(kLoopback, port);
  ASSERT_EQ(sameSlotNewCheck & 0xFFFF, h & 0xFFFF);
  char buffer[kNetLineCapacity];
  struct Case {
    const char* name;
    std::function<int(int)> call;
  };
  const Case cases[] = {
      {"RecvSocket", [](int x) { return RecvSocket(x); }},
      {"SendSocket", [](int x) { return SendSocket(x); }},
      {"NetRecv", [&](int x) { return NetRecv(x, buffer, 1); }},
      {"NetPeekRecv", [&](int x) { return NetPeekRecv(x, buffer, 1); }},
      {"NetSend", [](int x) { return NetSend(x, "x", 1); }},
      {"GetNetDataLength", [](int x) { return GetNetDataLength(x); }},
      {"GetNetAcceptState", [](int x) { return GetNetAcceptState(x); }},
  };
  const int foreign = 0x08000000 | (h & 0x07FFFFFF);  // a graph handle
  const int beyond = (h & 0x7FFF0000) | kSocketHandleMax;
  for (const Case& c : cases) {
    const std::string text = std::string("有効なネットワークハンドルではありません in ") + c.name;
    for (const int bad : {h, foreign, beyond, -1}) {
      const size_t before = scope.Read("Log.txt").size();
      EXPECT_EQ(c.call(bad), -1) << c.name << " " << bad;
      EXPECT_NE(scope.Read("Log.txt").find(text, before), std::string::npos) << c.name << " " << bad;
    }
  }
  EXPECT_EQ(ReadNetLine(h, buffer), -1);
  EXPECT_EQ(CloseSocketHandle(h), -1);
  EXPECT_GE(GetNetAcceptState(sameSlotNewCheck), 0);

  // An error flag gives the error text, with the name as the system spells it.
  FindSocketRecord(sameSlotNewCheck)->error = 1;
  EXPECT_EQ(GetNetAcceptState(sameSlotNewCheck), -1);
  EXPECT_TRUE(scope.Logged("このネットワークハンドルにはエラーが発生しています in GetNetAcceptStateh\r\n"));
  // A notification for a socket nobody holds.
  EXPECT_EQ(OnSocketMessage(0xDEAD, plat::FD_READ), 0);
  EXPECT_TRUE(scope.Logged("通信エラー No.1\r\n"));
}

TEST(NetSockets, ClosingDrainsWithinBoundsAndNeverRaisesSigpipe) {
  NetScope scope;
  const int port = ListenLoopback();

  // The peer goes away in the middle of a message: the close does not wait for it.
  int raw = RawConnect(port);
  int h = AcceptOne();
  ASSERT_TRUE(RawSendAll(raw, Framed(Pattern(1000, 3)).substr(0, 14)));
  ::close(raw);
  ASSERT_TRUE(PumpUntil([&] { return FindSocketRecord(h)->closedByPeer != 0; }));
  EXPECT_EQ(FindSocketRecord(h)->expected, 990);
  EXPECT_EQ(CloseSocketHandle(h), 0);

  // Data still in the send ring goes out before the close.
  raw = RawConnect(port);
  h = AcceptOne();
  // More than the kernel's buffers take, so some waits in the ring.
  const std::string big[2] = {Pattern(12 << 20, 4), Pattern(12 << 20, 5)};
  for (const std::string& m : big) ASSERT_EQ(NetSend(h, m.data(), static_cast<int>(m.size())), 0);
  ASSERT_GT(FindSocketRecord(h)->send.stored, 0) << "the peer has not read yet";
  std::string got;
  std::thread reader([&] { got = RawReadAll(raw, 2 * (big[0].size() + 4)); });
  EXPECT_EQ(CloseSocketHandle(h), 0);
  reader.join();
  EXPECT_TRUE(got == Framed(big[0]) + Framed(big[1])) << got.size();
  ::close(raw);

  // Sending to a peer that has reset: an error, the error flag, no signal.
  raw = RawConnect(port);
  h = AcceptOne();
  const linger abortive{1, 0};
  setsockopt(raw, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  ::close(raw);
  int result = 0;
  for (int i = 0; i < 200 && result == 0; ++i) {
    result = NetSend(h, "ping", 4);
    PumpNetworkWindow(0);
    plat::SleepRealMs(1);
  }
  EXPECT_EQ(result, -1);
  EXPECT_EQ(FindSocketRecord(h)->error, 1);
  EXPECT_EQ(CloseSocketHandle(h), 0);
  EXPECT_EQ(StopListenNet(), 0);
  EXPECT_EQ(plat::OpenSocketCount(), 0);
  EXPECT_EQ(GetNetworkState().table.liveCount, 0);
}

}  // namespace
