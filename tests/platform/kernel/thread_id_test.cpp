// Thread identities: the kernel's own thread id for each thread, asked of
// the kernel directly as the oracle, in threads and in a forked child
// (whose one thread must not keep its parent's identity).
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/kernel/thread_id.h"

namespace {

uint32_t KernelThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

void* ThreadIds(void* out) {
  uint32_t* ids = static_cast<uint32_t*>(out);
  ids[0] = plat::GetCurrentThreadId();
  ids[1] = plat::GetCurrentThreadId();
  ids[2] = KernelThreadId();
  return nullptr;
}

TEST(ThreadId, EachThreadAndAForkedChildHaveTheirOwn) {
  const uint32_t main = plat::GetCurrentThreadId();
  EXPECT_EQ(main, KernelThreadId());
  EXPECT_EQ(plat::GetCurrentThreadId(), main);

  uint32_t ids[3] = {};
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, nullptr, ThreadIds, ids), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  EXPECT_EQ(ids[0], ids[2]);
  EXPECT_EQ(ids[1], ids[2]);
  EXPECT_NE(ids[0], main);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const bool own = plat::GetCurrentThreadId() == KernelThreadId() && plat::GetCurrentThreadId() != main;
    _exit(own ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child kept its parent's thread identity";
}

}  // namespace
