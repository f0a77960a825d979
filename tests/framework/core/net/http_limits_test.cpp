// The parsers and framers of the network code checked directly at each of
// their limits (at it: taken; one past: refused), rather than through a
// request that would fail later anyway: the URL parser, the Content-Length
// parser, the response head's size, a body longer or shorter than its
// promised length on both outputs, and packet lengths both ways.
#include <dirent.h>

#include <vector>

#include "framework/core/memory.h"
#include "http_server.h"

using namespace qor;
using namespace nettest;

namespace {

std::string Repeat(size_t n, char c) { return std::string(n, c); }

int Parse(const std::string& url, HttpUrl* parts) { return ParseHttpUrl(url.c_str(), parts); }

}  // namespace

TEST(HttpUrlParser, EachPartAtItsLimitAndOnePast) {
  HttpUrl p{};
  // Host: 255 bytes fit the 256-byte field, 256 do not.
  const std::string host255 = Repeat(kHttpHostCapacity - 1, 'h');
  ASSERT_EQ(Parse("http://" + host255, &p), 0);
  EXPECT_EQ(std::string(p.host), host255);
  EXPECT_EQ(Parse("http://" + host255 + "h", &p), -1);
  EXPECT_EQ(Parse("http://" + host255 + "h/", &p), -1);
  // Path: 1,023 bytes (its slash included) fit, 1,024 do not.
  const std::string path1023 = "/" + Repeat(kHttpPathCapacity - 2, 'p');
  ASSERT_EQ(Parse("http://a" + path1023, &p), 0);
  EXPECT_EQ(std::string(p.path), path1023);
  EXPECT_EQ(Parse("http://a" + path1023 + "q", &p), -1);
  // Port: 1 and 65,535 are ports, 0 and 65,536 are not; five digits at most,
  // leading zeros counted.
  const std::pair<const char*, int> ports[] = {
      {"1", 1},      {"65535", 65535}, {"00001", 1}, {"65536", -1}, {"0", -1},   {"99999", -1},
      {"000001", -1}, {"080", 80},     {"8080", 8080}, {"", -1},    {"+80", -1}, {"8 0", -1},
  };
  for (const auto& [text, port] : ports) {
    p.port = -7;
    const int r = Parse(std::string("http://a:") + text + "/x", &p);
    EXPECT_EQ(r, port < 0 ? -1 : 0) << text;
    if (port > 0) {
      EXPECT_EQ(p.port, port) << text;
    }
  }
  // All three at their limits together.
  ASSERT_EQ(Parse("http://" + host255 + ":65535" + path1023, &p), 0);
  EXPECT_EQ(p.port, 65535);
  EXPECT_EQ(std::string(p.host), host255);
  EXPECT_EQ(std::string(p.path), path1023);
}

TEST(HttpUrlParser, WhatAUrlMayHold) {
  HttpUrl p{};
  ASSERT_EQ(Parse("HtTp://Host_1.example-2.test", &p), 0);
  EXPECT_STREQ(p.host, "Host_1.example-2.test");
  EXPECT_EQ(p.port, 80);
  EXPECT_STREQ(p.path, "/");
  ASSERT_EQ(Parse("http://h/a?b=c&d=%20#frag~!", &p), 0);
  EXPECT_STREQ(p.path, "/a?b=c&d=%20#frag~!");
  // Bytes above 0x7F pass into the path (a CP932 file name), 0x7F does not.
  ASSERT_EQ(Parse("http://h/\x82\xa0", &p), 0);
  EXPECT_STREQ(p.path, "/\x82\xa0");
  const std::string refused[] = {
      "",  "http:/", "http://", "https://h/", "ftp://h/", "http//h/", "http://:80/", "http://h:/",
      "http://h:-1/", "http://h:80x/", "http://h:80:81/", "http://a b/", "http://h/a b", "http://h/a\tb",
      "http://h/\r\nX: 1", "http://h/\x7f", "http://h\x01/", "http://[::1]/", "http://user@h/", "http://h?q",
      "http://h#f", "http://h\\x",
  };
  for (const std::string& url : refused) EXPECT_EQ(Parse(url, &p), -1) << url;
  EXPECT_EQ(ParseHttpUrl(nullptr, &p), -1);
  EXPECT_EQ(ParseHttpUrl("http://h/", nullptr), -1);
}

TEST(HttpContentLength, AtTheCapAndOnePast) {
  const std::pair<std::string, int32_t> lengths[] = {
      {"0", 0},
      {std::to_string(kMaxHttpBody), kMaxHttpBody},
      {std::to_string(kMaxHttpBody + 1), -1},
      {" " + std::to_string(kMaxHttpBody - 1) + " \r", kMaxHttpBody - 1},
      {"00000000000000000000000000012", 12},
      {"2147483648", -1},
      {"4294967297", -1},
      {"1.5", -1},
      {"12\r\n", -1},
      {"\r", -1},
  };
  for (const auto& [text, value] : lengths) EXPECT_EQ(ParseContentLength(text.c_str()), value) << text;
}

namespace {

struct Outcome {
  int result = -9, code = -9, length = -1;
  std::string body;
};

Outcome Fetch(const std::string& url, int output, NetScope* scope) {
  Outcome o;
  void* block = reinterpret_cast<void*>(1);
  const int slot = StartHttpRequest(kHttpGet, url.c_str(), nullptr, 0, output, "got.bin", &block);
  EXPECT_GE(slot, 0);
  if (slot < 0) return o;
  EXPECT_TRUE(PumpUntil([&] { return GetHttpRequestResult(slot, nullptr, nullptr, nullptr) == 0; }));
  GetHttpRequestResult(slot, &o.result, &o.code, &o.length);
  EXPECT_EQ(CloseHttpHandleByIndex(slot), 0);
  if (output == kHttpToMemory) {
    if (block != nullptr) {
      o.body.assign(static_cast<const char*>(block), static_cast<size_t>(o.length));
      EXPECT_EQ(static_cast<const char*>(block)[o.length], '\0');
      FreeMemory(block);
    } else {
      o.body = "(none)";
    }
  } else {
    o.body = scope->Read("got.bin");
  }
  return o;
}

}  // namespace

TEST(HttpBodies, LengthLargerOrSmallerThanTheBodyOnBothOutputs) {
  NetScope scope;
  const int live = GetAllocatorState().liveCount;
  const std::string body = Pattern(9000, 21);
  for (int output = kHttpToFile; output <= kHttpToMemory; ++output) {
    SCOPED_TRACE(output == kHttpToFile ? "file" : "memory");
    // The exact length; a length one more than what comes before the close;
    // one less, so the last byte is not taken; none, so the close ends it.
    {
      TinyServer server({Whole(Head200(Length(body.size())) + body)});
      const Outcome o = Fetch(server.Url("/"), output, &scope);
      EXPECT_EQ(o.result, kHttpDone);
      EXPECT_EQ(o.length, 9000);
      EXPECT_TRUE(o.body == body);
    }
    {
      TinyServer server({Whole(Head200(Length(body.size() + 1)) + body)});
      const Outcome o = Fetch(server.Url("/"), output, &scope);
      EXPECT_EQ(o.result, kHttpFailed);
      EXPECT_EQ(o.code, kHttpCodeTransfer);
      EXPECT_EQ(o.length, 9000);
      if (output == kHttpToMemory) {
        EXPECT_EQ(o.body, "(none)") << "a failed body is not handed out";
      }
    }
    {
      TinyServer server({Whole(Head200(Length(body.size() - 1)) + body)});
      const Outcome o = Fetch(server.Url("/"), output, &scope);
      EXPECT_EQ(o.result, kHttpDone);
      EXPECT_EQ(o.length, 8999);
      EXPECT_TRUE(o.body == body.substr(0, 8999));
    }
    {
      // A short length: the body block is larger than the length, and
      // still only the promised bytes are taken.
      TinyServer server({Whole(Head200(Length(10)) + body)});
      const Outcome o = Fetch(server.Url("/"), output, &scope);
      EXPECT_EQ(o.result, kHttpDone);
      EXPECT_EQ(o.length, 10);
      EXPECT_TRUE(o.body == body.substr(0, 10));
    }
    {
      TinyServer server({Whole(Head200(Length(0)) + body)});
      const Outcome o = Fetch(server.Url("/"), output, &scope);
      EXPECT_EQ(o.result, kHttpDone);
      EXPECT_EQ(o.length, 0);
      EXPECT_EQ(o.body, "");
    }
  }
  EXPECT_EQ(GetAllocatorState().liveCount, live);
}

TEST(HttpBodies, ResponseHeadAtItsCapAndOnePast) {
  NetScope scope;
  // Every byte of the head counts, its status line and blank line included.
  const auto head = [](size_t total) {
    std::string h = "HTTP/1.0 200 OK\r\n";
    const std::string end = "\r\n";
    while (h.size() + end.size() < total) {
      const size_t room = total - h.size() - end.size();
      const size_t line = room > 300 ? 300 : room;
      if (line < 5) {
        h.insert(h.size() - 2, room, 'z');  // lengthen the line before
        break;
      }
      h += "X:" + std::string(line - 4, 'y') + "\r\n";
    }
    return h + end;
  };
  ASSERT_EQ(head(kMaxHttpHeaderBytes).size(), static_cast<size_t>(kMaxHttpHeaderBytes));
  ASSERT_EQ(head(kMaxHttpHeaderBytes + 1).size(), static_cast<size_t>(kMaxHttpHeaderBytes + 1));
  TinyServer server({Whole(head(kMaxHttpHeaderBytes) + "body"), Whole(head(kMaxHttpHeaderBytes + 1) + "body")});
  Outcome o = Fetch(server.Url("/"), kHttpToMemory, &scope);
  EXPECT_EQ(o.result, kHttpDone);
  EXPECT_EQ(o.body, "body");
  o = Fetch(server.Url("/"), kHttpToMemory, &scope);
  EXPECT_EQ(o.result, kHttpFailed);
  EXPECT_EQ(o.code, kHttpCodeTransfer);
}

TEST(NetPackets, LengthAtTheCapIsTakenAndOnePastRefused) {
  NetScope scope;
  const int port = ListenLoopback();
  const int raw = RawConnect(port);
  int h = -1;
  ASSERT_TRUE(PumpUntil([&] { return (h = GetNewAcceptNet()) >= 0; }));
  // A peer's length of exactly the cap: room is made, the message awaited.
  const int32_t atCap = kMaxPacketLength;
  ASSERT_TRUE(RawSendAll(raw, &atCap, 4));
  ASSERT_TRUE(PumpUntil([&] { return FindSocketRecord(h)->expected == kMaxPacketLength; }));
  EXPECT_EQ(FindSocketRecord(h)->error, 0);
  EXPECT_GE(FindSocketRecord(h)->receive.capacity, kMaxPacketLength);
  EXPECT_EQ(GetNetDataLength(h), 0);
  // Sent in packet mode: the cap goes (framed), one past does not.
  std::vector<uint8_t> big(static_cast<size_t>(kMaxPacketLength) + 1, 0x5A);
  EXPECT_EQ(NetSend(h, big.data(), kMaxPacketLength + 1), -1);
  EXPECT_EQ(NetSend(h, big.data(), kMaxPacketLength), 0);
  int32_t header = 0;
  ASSERT_TRUE(RawReadable(raw, 5000));
  ASSERT_EQ(::recv(raw, &header, 4, MSG_WAITALL), 4);
  EXPECT_EQ(header, kMaxPacketLength);
  // In stream mode there is no frame and no cap of this kind.
  ASSERT_EQ(SetNetPacketMode(h, 0), 0);
  EXPECT_EQ(NetSend(h, big.data(), kMaxPacketLength + 1), 0);
  ::close(raw);
}

TEST(NetPorts, ListenAndConnectPortsAtTheLimitAndOnePast) {
  NetScope scope;
  EXPECT_EQ(ListenNet(65536, kLoopback), -1);
  EXPECT_EQ(ListenNet(-1, kLoopback), -1);
  EXPECT_EQ(ConnectNet(kLoopback, 0), -1);
  EXPECT_EQ(ConnectNet(kLoopback, 65536), -1);
  EXPECT_EQ(ConnectNet(nullptr, 80), -1);
  // Port 65535 is a port: the connection starts (and fails later, as nobody
  // listens there).
  const int h = ConnectNet(kLoopback, 65535);
  ASSERT_GE(h, 0);
  uint8_t address[4] = {};
  int port = 0;
  ASSERT_EQ(GetNetPeerAddress(h, address, &port), 0);
  EXPECT_EQ(port, 65535);
  EXPECT_EQ(address[0], 127);
  CloseSocketHandle(h);
  // A connection refused by the peer fails: never connected, its error set.
  int closedPort = 0;
  ::close(RawListen(&closedPort));
  const int refused = ConnectNet(kLoopback, closedPort);
  ASSERT_GE(refused, 0);
  ASSERT_TRUE(PumpUntil([&] { return FindSocketRecord(refused)->error != 0; }));
  EXPECT_EQ(FindSocketRecord(refused)->connected, 0);
  EXPECT_EQ(GetNetAcceptState(refused), -1);
  CloseSocketHandle(refused);
  // Listening on port 0 takes a free port; a second listener is refused.
  const int listener = ListenNet(0, kLoopback);
  ASSERT_GE(listener, 0);
  GetNetPeerAddress(listener, nullptr, &port);
  EXPECT_GT(port, 0);
  EXPECT_LE(port, 65535);
  EXPECT_EQ(ListenNet(0, kLoopback), -1);
  EXPECT_EQ(StopListenNet(), 0);
}

TEST(HttpBodies, OnlyStatus200IsSuccess) {
  NetScope scope;
  for (const char* status : {"201 Created", "204 No Content", "299 Other", "200 OK"}) {
    SCOPED_TRACE(status);
    TinyServer server({Whole(std::string("HTTP/1.0 ") + status + "\r\n\r\nbody")});
    const Outcome o = Fetch(server.Url("/"), kHttpToMemory, &scope);
    if (std::string(status) == "200 OK") {
      EXPECT_EQ(o.result, kHttpDone);
      EXPECT_EQ(o.body, "body");
    } else {
      EXPECT_EQ(o.result, kHttpFailed);
      EXPECT_EQ(o.code, kHttpCodeStatus);
    }
  }
}

namespace {

// Descriptors the process holds, by the kernel's own count.
int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}

}  // namespace

TEST(HttpBodies, FileOutputIsClosedWithItsRequest) {
  NetScope scope;
  const std::string body = Pattern(5000, 31);
  for (const bool whole : {true, false}) {
    const int before = OpenDescriptors();
    TinyServer server({Whole(Head200(Length(whole ? body.size() : body.size() + 9)) + body)});
    const Outcome o = Fetch(server.Url("/"), kHttpToFile, &scope);
    server.Join();
    EXPECT_EQ(o.result, whole ? kHttpDone : kHttpFailed);
    EXPECT_EQ(OpenDescriptors(), before) << "the output file and the socket are closed";
  }
}

TEST(NetPeers, AcceptedPortsResetsAndTheHundredRequests) {
  NetScope scope;
  const int port = ListenLoopback();
  const int raw = RawConnect(port);
  ASSERT_GE(raw, 0);
  int h = -1;
  ASSERT_TRUE(PumpUntil([&] { return (h = GetNewAcceptNet()) >= 0; }));
  // The accepted connection knows its peer's address and port.
  sockaddr_in local{};
  socklen_t length = sizeof local;
  ASSERT_EQ(getsockname(raw, reinterpret_cast<sockaddr*>(&local), &length), 0);
  uint8_t address[4] = {};
  int peerPort = 0;
  ASSERT_EQ(GetNetPeerAddress(h, address, &peerPort), 0);
  EXPECT_EQ(peerPort, ntohs(local.sin_port));
  EXPECT_EQ(address[0], 127);
  EXPECT_EQ(address[3], 1);
  // A reset from the peer marks the connection as failed.
  const linger abortive{1, 0};
  setsockopt(raw, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  ::close(raw);
  EXPECT_TRUE(PumpUntil([&] { return GetNetDataLength(h) == -1; }));
  EXPECT_EQ(FindSocketRecord(h)->error, 1);

  // A hundred requests at once over connections of their own; the next one
  // is refused and its connection closed.
  HttpUrl url{};
  ASSERT_EQ(ParseHttpUrl(("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), &url), 0);
  std::vector<void*> blocks(kMaxHttpRequests + 1, nullptr);
  for (int i = 0; i < kMaxHttpRequests; ++i) {
    const int socket = ConnectNet(kLoopback, port);
    ASSERT_GE(socket, 0);
    ASSERT_EQ(StartHttpOnSocket(socket, kHttpGet, url, nullptr, 0, kHttpToMemory, nullptr, &blocks[i]), i);
  }
  EXPECT_EQ(GetHttpState().count, kMaxHttpRequests);
  const int extra = ConnectNet(kLoopback, port);
  ASSERT_GE(extra, 0);
  EXPECT_EQ(StartHttpOnSocket(extra, kHttpGet, url, nullptr, 0, kHttpToMemory, nullptr, &blocks[kMaxHttpRequests]), -1);
  EXPECT_EQ(FindSocketRecord(extra), nullptr);
  ASSERT_EQ(CloseHttpHandleByIndex(42), 0);
  const int again = ConnectNet(kLoopback, port);
  EXPECT_EQ(StartHttpOnSocket(again, kHttpGet, url, nullptr, 0, kHttpToMemory, nullptr, &blocks[42]), 42);
  CloseAllHttpHandles();
  EXPECT_EQ(GetHttpState().count, 0);
}

// Closing by index frees that slot and no other, whatever the slot's place
// in the table; an index at the table's size or past it, a negative one and
// an emptied slot are refused and change nothing.
TEST(HttpTable, ClosingByIndexFreesExactlyThatSlot) {
  NetScope scope;
  const int port = ListenLoopback();
  HttpUrl url{};
  ASSERT_EQ(ParseHttpUrl(("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), &url), 0);
  std::vector<void*> blocks(kMaxHttpRequests, nullptr);
  std::vector<int> sockets(kMaxHttpRequests, -1);
  for (int i = 0; i < kMaxHttpRequests; ++i) {
    sockets[i] = ConnectNet(kLoopback, port);
    ASSERT_GE(sockets[i], 0);
    ASSERT_EQ(StartHttpOnSocket(sockets[i], kHttpGet, url, nullptr, 0, kHttpToMemory, nullptr, &blocks[i]), i);
    blocks[i] = &blocks;  // the request must clear what the caller holds when it is cancelled
  }
  std::vector<bool> open(kMaxHttpRequests, true);
  auto tableMatches = [&](const char* when) {
    int live = 0;
    for (int i = 0; i < kMaxHttpRequests; ++i) {
      const HttpRequest& q = GetHttpState().requests[i];
      live += open[i];
      EXPECT_EQ(q.live, open[i] ? 1 : 0) << when << " slot " << i;
      EXPECT_EQ(FindSocketRecord(sockets[i]) != nullptr, open[i]) << when << " slot " << i;
      EXPECT_EQ(blocks[i] == nullptr, !open[i]) << when << " slot " << i;
      if (open[i]) {
        EXPECT_EQ(q.socket, sockets[i]) << when << " slot " << i;
      }
    }
    EXPECT_EQ(GetHttpState().count, live) << when;
  };
  for (const int index : {0, 57, kMaxHttpRequests - 1}) {
    EXPECT_EQ(CloseHttpHandleByIndex(index), 0) << index;
    open[index] = false;
    tableMatches("after a close");
  }
  for (const int index : {kMaxHttpRequests, kMaxHttpRequests + 1, -1, 57}) {
    EXPECT_EQ(CloseHttpHandleByIndex(index), -1) << index;
  }
  tableMatches("after the refusals");
  // The lowest freed slot is the next request's.
  sockets[0] = ConnectNet(kLoopback, port);
  ASSERT_EQ(StartHttpOnSocket(sockets[0], kHttpGet, url, nullptr, 0, kHttpToMemory, nullptr, &blocks[0]), 0);
  blocks[0] = &blocks;
  open[0] = true;
  tableMatches("after a new request");
  EXPECT_EQ(CloseAllHttpHandles(), 0);
  open.assign(kMaxHttpRequests, false);
  tableMatches("after closing all");
}
