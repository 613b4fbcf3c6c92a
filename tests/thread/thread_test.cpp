#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "core/class_registry.h"
#include "core/collection.h"
#include "thread/thread_list.h"

namespace {

std::atomic<int> calls{0};
std::atomic<bool> sawRunning{false};

uint32_t CountCall(void* argument) {
  calls.fetch_add(1);
  auto* self = static_cast<C_Thread*>(ThreadList->GetAt(0));
  if (argument == nullptr && self->IsRunning() == 1) sawRunning = true;
  return 0;  // a failed start-up: the entry point still ends with 1
}

class ThreadListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearThreadList();
    calls = 0;
  }
  void TearDown() override { ClearThreadList(); }
};

}  // namespace

TEST(SpinLock, AcquireAndRelease) {
  SpinLockWord word{0};
  AcquireSpinLock(word);
  EXPECT_EQ(word.load(), 1);
  ReleaseSpinLock(word);
  EXPECT_EQ(word.load(), 0);
}

TEST(SpinLock, ContendingThreadsNeverBothHoldIt) {
  SpinLockWord word{0};
  int holders = 0;  // plain on purpose: only the lock protects it
  int overlaps = 0;
  int total = 0;
  auto work = [&] {
    for (int i = 0; i < 200; ++i) {
      AcquireSpinLock(word);
      if (++holders != 1) ++overlaps;
      ++total;
      std::this_thread::yield();
      --holders;
      ReleaseSpinLock(word);
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(total, 400);
  EXPECT_EQ(word.load(), 0);
}

TEST_F(ThreadListTest, EntrySequenceRunsTheMainAndReturnsOne) {
  EXPECT_EQ(RunApplication(CountCall), 1);
  EXPECT_EQ(calls.load(), 1);
  EXPECT_TRUE(sawRunning.load());
  auto* thread = static_cast<C_Thread*>(ThreadList->GetAt(0));
  EXPECT_EQ(thread->IsRunning(), 0);
}

TEST_F(ThreadListTest, EveryRegisteredThreadRunsAndANinthIsRefused) {
  for (uint32_t i = 0; i < kMaxThreads; ++i) EXPECT_TRUE(RegisterThread(CountCall, &calls));
  EXPECT_FALSE(RegisterThread(CountCall, &calls));
  EXPECT_EQ(ThreadList->Count, kMaxThreads);
  StartThreads();
  EXPECT_EQ(calls.load(), static_cast<int>(kMaxThreads));
}

TEST_F(ThreadListTest, EmptyPositionsRunNothing) {
  EXPECT_EQ(RunThreadAt(0), 0u);  // no list at all
  RegisterThread(CountCall, nullptr);
  EXPECT_EQ(RunThreadAt(5), 0u);
  EXPECT_EQ(calls.load(), 0);
  StartThreads();
  EXPECT_EQ(calls.load(), 1);
}

TEST(ThreadClass, RegisteredAndNeverStored) {
  std::unique_ptr<C_Object> object(CreateObject(class_id::Thread));
  auto* thread = dynamic_cast<C_Thread*>(object.get());
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(thread->GetProcedure(), nullptr);
  EXPECT_EQ(thread->GetArgument(), nullptr);
  EXPECT_EQ(thread->IsRunning(), 0);
}
