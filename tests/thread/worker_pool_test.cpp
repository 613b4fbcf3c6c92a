// The worker pool: how rows are cut into bands, the thread count setting, and
// calls repeated, nested and made from two threads at once.
#include "thread/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// What one call saw: how often each row was visited, by which band start, and
// whether the first band ran on the calling thread.
struct Visits {
  explicit Visits(int32_t rows) : Count(size_t(rows)), BandFirst(size_t(rows)) {}
  std::vector<std::atomic<int32_t>> Count;
  std::vector<std::atomic<int32_t>> BandFirst;
  std::atomic<int32_t> Bands{0};
  std::thread::id Caller = std::this_thread::get_id();
  std::atomic<bool> FirstBandOnCaller{false};
};

void Visit(void* context, int32_t first, int32_t end) {
  auto* v = static_cast<Visits*>(context);
  v->Bands.fetch_add(1);
  if (first == 0) v->FirstBandOnCaller = std::this_thread::get_id() == v->Caller;
  for (int32_t row = first; row < end; ++row) {
    v->Count[size_t(row)].fetch_add(1);
    v->BandFirst[size_t(row)].store(first);
  }
}

}  // namespace

TEST(WorkerPool, EveryRowOnceInContiguousBands) {
  WorkerPool pool;
  for (int32_t threads : {0, 1, 2, 3, 8, 16}) {
    // 0: a pool never started, where the caller does all.
    if (threads > 0) {
      ASSERT_TRUE(pool.Start(threads));
      EXPECT_FALSE(pool.Start(threads));  // already running
    }
    const int32_t bandsAtMost = threads > 0 ? threads : 1;
    EXPECT_EQ(pool.Threads(), bandsAtMost);
    for (int32_t rows : {0, 1, 2, 5, 7, 512}) {
      Visits v(rows);
      pool.Run(rows, Visit, &v);
      const int32_t bands = rows < bandsAtMost ? rows : bandsAtMost;
      EXPECT_EQ(v.Bands.load(), bands) << threads << " threads, " << rows << " rows";
      EXPECT_TRUE(rows == 0 || v.FirstBandOnCaller.load());
      for (int32_t row = 0; row < rows; ++row) {
        ASSERT_EQ(v.Count[size_t(row)].load(), 1) << threads << " threads, row " << row;
        // Band b starts at rows * b / bands: the row's band starts there.
        const int32_t band = int32_t((int64_t(row) + 1) * bands - 1) / rows;
        EXPECT_EQ(v.BandFirst[size_t(row)].load(), int32_t(int64_t(rows) * band / bands))
            << threads << " threads, " << rows << " rows, row " << row;
      }
    }
    pool.Stop();
    EXPECT_EQ(pool.Threads(), 1);
  }
}

TEST(WorkerPool, ThreadCountFromTheSettingOrTheCores) {
  const struct {
    const char* Setting;
    uint32_t Cores;
    int32_t Threads;
  } cases[] = {
      {nullptr, 2, 2}, {"1", 2, 1},
      {"8", 2, 8},     {"100", 2, kMaxPoolThreads},
      {"0", 4, 4},     {"-3", 4, 4},
      {"abc", 4, 4},   {"3x", 4, 4},
      {"", 0, 1},      {nullptr, 64, kMaxPoolThreads},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PoolThreadCount(c.Setting, c.Cores), c.Threads)
        << (c.Setting ? c.Setting : "(none)") << " on " << c.Cores << " cores";
  }
}

// A call from inside a task, or from a second thread while a call runs, does its
// rows on its own thread; many calls in a row reuse the same workers.
TEST(WorkerPool, NestedAndConcurrentCallsRunOnTheirCaller) {
  WorkerPool pool;
  ASSERT_TRUE(pool.Start(4));
  std::atomic<int32_t> inner{0};
  auto nested = [&](int32_t first, int32_t end) {
    const std::thread::id self = std::this_thread::get_id();
    auto count = [&](int32_t a, int32_t b) {
      if (std::this_thread::get_id() == self) inner.fetch_add(b - a);
    };
    for (int32_t row = first; row < end; ++row) pool.Bands(10, count);
  };
  pool.Bands(8, nested);
  EXPECT_EQ(inner.load(), 80);

  constexpr int32_t kCalls = 200;
  Visits a(300), b(300);
  std::thread other([&] {
    b.Caller = std::this_thread::get_id();
    for (int32_t i = 0; i < kCalls; ++i) pool.Run(300, Visit, &b);
  });
  for (int32_t i = 0; i < kCalls; ++i) pool.Run(300, Visit, &a);
  other.join();
  for (int32_t row = 0; row < 300; ++row) {
    ASSERT_EQ(a.Count[size_t(row)].load(), kCalls) << row;
    ASSERT_EQ(b.Count[size_t(row)].load(), kCalls) << row;
  }
}

TEST(WorkerPool, ShareLimitsTheBandsOfTheCallsThatFollow) {
  WorkerPool pool;
  ASSERT_TRUE(pool.Start(4));
  struct Case {
    int32_t Share, Bands;
  };
  // 0 and below count as the caller alone; more than the pool has, as all of it.
  for (const Case c : {Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{9, 4}, Case{0, 1}, Case{4, 4}}) {
    pool.Share(c.Share);
    EXPECT_EQ(pool.Threads(), c.Bands) << c.Share;
    Visits v(64);
    pool.Run(64, Visit, &v);
    EXPECT_EQ(v.Bands.load(), c.Bands) << c.Share;
    EXPECT_TRUE(v.FirstBandOnCaller.load());
    for (int32_t row = 0; row < 64; ++row) ASSERT_EQ(v.Count[size_t(row)].load(), 1);
  }
  pool.Share(1);
  pool.Stop();
  ASSERT_TRUE(pool.Start(3));  // a new start shares among all again
  EXPECT_EQ(pool.Threads(), 3);
  pool.Stop();
}

// Waking the workers ahead of calls changes only when they start: every call still
// visits each of its rows once, whether none, one or several wakes come before it,
// and a pool that is stopped, never started or shared by the caller alone ignores
// the wake.
TEST(WorkerPool, WakesBetweenCallsLeaveEveryRowToItsCall) {
  WorkerPool idle;
  idle.Wake();
  EXPECT_EQ(idle.Threads(), 1);

  WorkerPool pool;
  ASSERT_TRUE(pool.Start(3));
  constexpr int32_t kCalls = 300;
  Visits v(97);
  for (int32_t i = 0; i < kCalls; ++i) {
    for (int32_t k = 0; k < i % 4; ++k) pool.Wake();
    if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
    pool.Share(i % 7 == 0 ? 1 : 3);
    pool.Run(97, Visit, &v);
  }
  for (int32_t row = 0; row < 97; ++row) ASSERT_EQ(v.Count[size_t(row)].load(), kCalls) << row;
  pool.Wake();
  pool.Stop();
  pool.Wake();
  EXPECT_EQ(pool.Threads(), 1);
}
