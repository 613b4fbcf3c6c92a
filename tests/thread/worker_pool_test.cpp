// The worker pool: how rows are cut into bands, the thread count setting, and
// calls repeated, nested, made from two threads at once, and made on a stopped pool.
#include "thread/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
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
  for (int32_t threads : {1, 2, 3, 8, 16}) {
    WorkerPool pool;
    ASSERT_TRUE(pool.Start(threads));
    EXPECT_FALSE(pool.Start(threads));  // already running
    EXPECT_EQ(pool.Threads(), threads);
    for (int32_t rows : {1, 2, 5, 7, 512}) {
      Visits v(rows);
      pool.Run(rows, Visit, &v);
      const int32_t bands = rows < threads ? rows : threads;
      EXPECT_EQ(v.Bands.load(), bands) << threads << " threads, " << rows << " rows";
      EXPECT_TRUE(v.FirstBandOnCaller.load());
      for (int32_t row = 0; row < rows; ++row) {
        ASSERT_EQ(v.Count[size_t(row)].load(), 1) << threads << " threads, row " << row;
        // Band b starts at rows * b / bands: the row's band starts there.
        const int32_t band = int32_t((int64_t(row) + 1) * bands - 1) / rows;
        EXPECT_EQ(v.BandFirst[size_t(row)].load(), int32_t(int64_t(rows) * band / bands))
            << threads << " threads, " << rows << " rows, row " << row;
      }
    }
    Visits none(1);
    pool.Run(0, Visit, &none);
    EXPECT_EQ(none.Bands.load(), 0);
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

TEST(WorkerPool, ManyCallsReuseTheSameThreads) {
  for (int32_t threads : {2, 8}) {
    WorkerPool pool;
    ASSERT_TRUE(pool.Start(threads));
    std::atomic<int64_t> sum{0};
    auto add = [&](int32_t first, int32_t end) {
      int64_t part = 0;
      for (int32_t row = first; row < end; ++row) part += row;
      sum.fetch_add(part);
    };
    constexpr int32_t kCalls = 500;
    for (int32_t i = 0; i < kCalls; ++i) pool.Bands(100, add);
    EXPECT_EQ(sum.load(), int64_t(kCalls) * 99 * 100 / 2);
    pool.Stop();
    EXPECT_EQ(pool.Threads(), 1);
  }
}

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
  EXPECT_EQ(inner.load(), 80);  // every inner row ran on the thread that asked

  // Two threads calling at once: one gets the workers, the other runs alone.
  Visits a(300), b(300);
  std::thread other([&] {
    b.Caller = std::this_thread::get_id();
    for (int32_t i = 0; i < 50; ++i) pool.Run(300, Visit, &b);
  });
  for (int32_t i = 0; i < 50; ++i) pool.Run(300, Visit, &a);
  other.join();
  for (int32_t row = 0; row < 300; ++row) {
    EXPECT_EQ(a.Count[size_t(row)].load(), 50);
    EXPECT_EQ(b.Count[size_t(row)].load(), 50);
  }
}

TEST(WorkerPool, StoppedPoolRunsOnTheCallerAndStartsAgain) {
  WorkerPool pool;
  Visits before(64);
  pool.Run(64, Visit, &before);
  EXPECT_EQ(before.Bands.load(), 1);
  ASSERT_TRUE(pool.Start(3));
  pool.Stop();
  pool.Stop();  // a second stop does nothing
  ASSERT_TRUE(pool.Start(2));
  Visits after(64);
  pool.Run(64, Visit, &after);
  EXPECT_EQ(after.Bands.load(), 2);
}
