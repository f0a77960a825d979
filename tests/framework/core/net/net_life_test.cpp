// The network inside a running framework: requests step from the frame's
// message processing, and shut-down closes every socket and request.
#include "life_test_support.h"
#include "framework/core/memory.h"
#include "http_server.h"

using namespace qor;
using namespace nettest;

namespace {

struct Started : lifetest::LifeScope {
  Started() {
    ResetNet();
    EXPECT_EQ(InitFramework(), 0);
  }
  ~Started() {
    EndFramework();
    ResetNet();
  }
};

TEST(NetworkLife, RequestsStepFromTheFramePumpAndShutDownClosesAll) {
  Started s;
  const std::string body = Pattern(2000, 21);
  TinyServer server({Trickled(Head200(Length(40)), body.substr(0, 40)), Reply{{}, 0, false, false}});
  void* block = nullptr;
  const int slot =
      StartHttpRequest(kHttpGet, server.Url("/a").c_str(), nullptr, 0, kHttpToMemory, nullptr, &block);
  ASSERT_GE(slot, 0);
  int frames = 0;
  while (GetHttpRequestResult(slot, nullptr, nullptr, nullptr) == 1 && frames < 5000) {
    ASSERT_EQ(ProcessFrameMessages(), 0);  // returns each frame: the request never blocks it
    plat::SleepRealMs(1);
    ++frames;
  }
  int result = -9, length = 0;
  GetHttpRequestResult(slot, &result, nullptr, &length);
  EXPECT_EQ(result, kHttpDone);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(block), static_cast<size_t>(length)), body.substr(0, 40));
  FreeMemory(block);
  CloseHttpHandleByIndex(slot);

  // Left open at the end: a listener, a connection both ways and a request
  // whose server never answers.
  const int client = ConnectNet(kLoopback, ListenLoopback());
  ASSERT_GE(client, 0);
  void* pending = reinterpret_cast<void*>(1);
  const int waiting =
      StartHttpRequest(kHttpPost, server.Url("/b").c_str(), "q", 1, kHttpToMemory, nullptr, &pending);
  ASSERT_GE(waiting, 0);
  for (int i = 0; i < 2000 && GetNetworkState().table.liveCount < 4; ++i) {
    ProcessFrameMessages();
    plat::SleepRealMs(1);
  }
  EXPECT_EQ(GetNetworkState().table.liveCount, 4);  // listener, client, accepted, request
  EXPECT_EQ(EndFramework(), 0);
  EXPECT_EQ(plat::OpenSocketCount(), 0);
  EXPECT_EQ(GetHttpRequestResult(waiting, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(pending, nullptr);
  const std::string log = s.Log();
  const size_t begin = log.find("ネットワーク関連の終了処理を行います \r\n");
  ASSERT_NE(begin, std::string::npos);
  EXPECT_NE(log.find("ネットワーク関連の終了処理は完了しました\r\n", begin), std::string::npos);
  server.Join();
}

}  // namespace
