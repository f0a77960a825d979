// The HTTP client against a tiny server of the test's own: the request
// bytes, bodies to file and memory, statuses, hostile servers, bad URLs.
#include <functional>

#include "framework/core/memory.h"
#include "http_server.h"

using namespace qor;
using namespace nettest;

namespace {

const char* const kKindNames[] = {"GET", "POST", "HEAD"};

struct Outcome {
  int result = -9, code = -9, length = -1;
  std::string body;  // memory output
};

// Runs one request to the end through the network pump and HTTP steps.
Outcome RunRequest(int kind, const std::string& url, const std::string& post, int output, const char* file = "out.bin") {
  Outcome o;
  void* block = reinterpret_cast<void*>(1);
  const int slot = StartHttpRequest(kind, url.c_str(), post.data(), static_cast<int>(post.size()), output, file, &block);
  if (slot < 0) return o;
  EXPECT_TRUE(PumpUntil([&] { return GetHttpRequestResult(slot, nullptr, nullptr, nullptr) == 0; }));
  GetHttpRequestResult(slot, &o.result, &o.code, &o.length);
  EXPECT_EQ(CloseHttpHandleByIndex(slot), 0);
  if (output == kHttpToMemory) {
    EXPECT_EQ(block != nullptr, o.result == kHttpDone) << "a failed request clears the caller's pointer";
    if (block != nullptr) {
      o.body.assign(static_cast<const char*>(block), static_cast<size_t>(o.length));
      EXPECT_EQ(static_cast<const char*>(block)[o.length], '\0');
      FreeMemory(block);
    }
  }
  return o;
}


TEST(Http, RequestTextsAreExactAndBodiesArriveWhole) {
  NetScope scope;
  const std::string served = Pattern(150000, 11);
  const std::string post = Pattern(5000, 12);
  for (int kind = kHttpGet; kind <= kHttpHead; ++kind) {
    for (int output = kHttpToFile; output <= kHttpToMemory; ++output) {
      for (const bool withLength : {true, false}) {
        SCOPED_TRACE(std::string(kKindNames[kind]) + (output ? " memory" : " file") + (withLength ? " length" : ""));
        const std::string head = Head200(withLength ? Length(served.size()) : "");
        TinyServer server({Whole(kind == kHttpHead ? head : head + served)});
        const Outcome o = RunRequest(kind, server.Url("/dir/file.bin?x=1"), post, output);
        const std::string port = std::to_string(server.port());
        const std::string request = server.Join().at(0);
        if (kind == kHttpGet) {
          EXPECT_EQ(request, "GET /dir/file.bin?x=1 HTTP/1.0\r\nHost: 127.0.0.1:" + port +
                                 "\r\nConnection: close\r\n\r\n");
        } else if (kind == kHttpPost) {
          EXPECT_EQ(request, "POST /dir/file.bin?x=1 HTTP/1.0\nHost: 127.0.0.1:" + port +
                                 "\nContent-Length: 5000\n\n" + post);
        } else {
          EXPECT_EQ(request, "HEAD /dir/file.bin?x=1 HTTP/1.0\n\n");
        }
        const std::string expected = kind == kHttpHead ? "" : served;
        EXPECT_EQ(o.result, kHttpDone);
        EXPECT_EQ(o.length, static_cast<int>(expected.size()));
        EXPECT_TRUE((output == kHttpToMemory ? o.body : scope.Read("out.bin")) == expected);
      }
    }
  }
  EXPECT_EQ(plat::OpenSocketCount(), 0);
}

TEST(Http, StatusesOtherThan200Fail) {
  NetScope scope;
  TinyServer server({Whole("HTTP/1.0 404 Not Found\r\n\r\ngone"), Whole("HTTP/1.1 302 Found\r\n\r\n")});
  Outcome o = RunRequest(kHttpGet, server.Url("/"), "", kHttpToMemory);
  EXPECT_EQ(o.result, kHttpFailed);
  EXPECT_EQ(o.code, kHttpCodeNotFound);
  EXPECT_TRUE(scope.Logged("接続に失敗しました (戻り値:404)"));
  o = RunRequest(kHttpGet, server.Url("/"), "", kHttpToFile);
  EXPECT_EQ(o.result, kHttpFailed);
  EXPECT_EQ(o.code, kHttpCodeStatus);
}

TEST(Http, HostileServersGiveFailuresWithoutLeaks) {
  NetScope scope;
  const int liveBlocks = GetAllocatorState().liveCount;
  const std::string body = Pattern(3000, 13);
  std::string manyHeaders;
  while (manyHeaders.size() <= static_cast<size_t>(kMaxHttpHeaderBytes)) manyHeaders += "X-Filler: 0123456789\r\n";
  struct Case {
    const char* name;
    Reply reply;
    int result, code;
  };
  const Case cases[] = {
      {"huge length", Whole(Head200("Content-Length: 99999999999\r\n") + body), 2, kHttpCodeLength},
      {"length past the cap", Whole(Head200(Length(kMaxHttpBody + 1u)) + body), 2, kHttpCodeLength},
      {"negative length", Whole(Head200("Content-Length: -5\r\n") + body), 2, kHttpCodeLength},
      {"garbage length", Whole(Head200("content-length: 12abc\r\n") + body), 2, kHttpCodeLength},
      {"two lengths", Whole(Head200(Length(10) + Length(20)) + body), 2, kHttpCodeLength},
      {"100 KB header line", Whole(Head200("X-Long: " + std::string(100000, 'z') + "\r\n") + body), 2,
       kHttpCodeTransfer},
      {"headers never end", Whole("HTTP/1.0 200 OK\r\n" + manyHeaders), 2, kHttpCodeTransfer},
      {"no line end", Whole("HTTP/1.0 200 OK"), 2, kHttpCodeTransfer},
      {"nothing at all", Whole(""), 2, kHttpCodeTransfer},
      {"early close", Whole(Head200(Length(1000)) + body.substr(0, 10)), 2, kHttpCodeTransfer},
      {"reset mid-body", Reply{{Head200(Length(body.size())), body.substr(0, 1000)}, 20, true}, 2,
       kHttpCodeTransfer},
      {"binary junk", Whole(Pattern(5000, 14)), 2, kHttpCodeStatus},
      {"trickled body, no length", Trickled(Head200(), body.substr(0, 300)), 0, 0},
      {"trickled body and length", Trickled(Head200(Length(300)), body.substr(0, 300)), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TinyServer server({c.reply});
    const Outcome o = RunRequest(kHttpGet, server.Url("/x"), "", kHttpToMemory);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.code, c.code);
    if (c.result == kHttpDone) {
      EXPECT_TRUE(o.body == body.substr(0, 300));
    }
    server.Join();
  }
  // An output file that cannot take the body.
  TinyServer full({Whole(Head200() + body)});
  const Outcome o = RunRequest(kHttpGet, full.Url("/"), "", kHttpToFile, "Z:\\dev\\full");
  EXPECT_EQ(o.result, kHttpFailed);
  EXPECT_EQ(o.code, kHttpCodeOutput);
  full.Join();

  EXPECT_EQ(plat::OpenSocketCount(), 0);
  EXPECT_EQ(GetAllocatorState().liveCount, liveBlocks);
  EXPECT_EQ(GetHttpState().count, 0);
}

TEST(Http, UrlsAndLengthsThatDoNotFitAreRefused) {
  NetScope scope;
  const std::string longHost(kHttpHostCapacity, 'h');
  const std::string longPath = "/" + std::string(kHttpPathCapacity - 1, 'p');
  const std::string refused[] = {
      "", "http://", "https://127.0.0.1/", "ftp://127.0.0.1/", "http//127.0.0.1/", "http://:80/",
      "http://127.0.0.1:/", "http://127.0.0.1:0/", "http://127.0.0.1:65536/", "http://127.0.0.1:-1/",
      "http://127.0.0.1:080000/", "http://127.0.0.1:80x/", "http://a b/", "http://127.0.0.1/a b",
      "http://127.0.0.1/\r\nX-Injected: 1", "http://127.0.0.1\x01/", "http://[::1]/", "http://user@127.0.0.1/",
      "http://127.0.0.1?q", "http://" + longHost + "/", "http://127.0.0.1" + longPath,
  };
  void* block = nullptr;
  for (const std::string& url : refused) {
    EXPECT_EQ(StartHttpRequest(kHttpGet, url.c_str(), nullptr, 0, kHttpToMemory, nullptr, &block), -1) << url;
  }
  EXPECT_EQ(StartHttpRequest(kHttpGet, nullptr, nullptr, 0, kHttpToMemory, nullptr, &block), -1);
  // Arguments that do not fit the kind or the output.
  EXPECT_EQ(StartHttpRequest(3, "http://127.0.0.1:9/", nullptr, 0, kHttpToMemory, nullptr, &block), -1);
  EXPECT_EQ(StartHttpRequest(kHttpPost, "http://127.0.0.1:9/", nullptr, -1, kHttpToMemory, nullptr, &block), -1);
  EXPECT_EQ(StartHttpRequest(kHttpGet, "http://127.0.0.1:9/", nullptr, 0, kHttpToFile, nullptr, nullptr), -1);
  EXPECT_EQ(StartHttpRequest(kHttpGet, "http://127.0.0.1:9/", nullptr, 0, kHttpToMemory, nullptr, nullptr), -1);
  EXPECT_EQ(plat::OpenSocketCount(), 0);

  HttpUrl parts;
  ASSERT_EQ(ParseHttpUrl("HTTP://Example-1.test", &parts), 0);
  EXPECT_STREQ(parts.host, "Example-1.test");
  EXPECT_EQ(parts.port, 80);
  EXPECT_STREQ(parts.path, "/");
  ASSERT_EQ(ParseHttpUrl(("http://" + longHost.substr(1) + ":65535" + longPath.substr(0, kHttpPathCapacity - 1)).c_str(), &parts), 0);
  EXPECT_EQ(parts.port, 65535);

  const std::pair<const char*, int32_t> lengths[] = {
      {" 0", 0}, {"17\r", 17}, {"\t42  ", 42}, {"67108864", kMaxHttpBody}, {"67108865", -1}, {"", -1},
      {"-1", -1}, {"+5", -1}, {"5 5", -1}, {"0x10", -1}, {"99999999999999999999", -1},
  };
  for (const auto& [text, value] : lengths) EXPECT_EQ(ParseContentLength(text), value) << text;
}

// A request to a connection that refuses: a failure, not a hang.
TEST(Http, RefusedConnectionFails) {
  NetScope scope;
  int port = 0;
  ::close(RawListen(&port));  // a port nobody listens on now
  const Outcome o = RunRequest(kHttpGet, "http://127.0.0.1:" + std::to_string(port) + "/", "", kHttpToMemory);
  EXPECT_EQ(o.result, kHttpFailed);
  EXPECT_EQ(o.code, kHttpCodeTransfer);
}

}  // namespace
