// Rows shared out among bands: each row handed out once, a band's own part first
// and in order, the rest taken from the back of the fullest part, and no row lost
// or doubled when many threads claim at once.
#include "thread/shared_rows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Layout {
  int32_t First, End, Parts, Chunk;
};

// Ranges, part counts beyond the rows and the cap, chunks of 0, 1 and more rows
// than a part holds, and empty or reversed ranges.
const Layout kLayouts[] = {
    {0, 256, 2, 4}, {256, 512, 2, 4}, {0, 7, 3, 2},    {5, 9, 8, 1},
    {0, 1, 1, 1},   {0, 100, 16, 3},  {0, 100, 40, 5}, {3, 3, 2, 4},
    {9, 4, 2, 4},   {0, 33, 0, 0},    {-4, 6, 2, 1},   {0, 512, 7, 1000},
};

int32_t RowsOf(const Layout& l) {
  const int32_t first = l.First < 0 ? 0 : l.First;
  return l.End > first ? l.End - first : 0;
}

}  // namespace

TEST(SharedRows, OwnPartInOrderThenTheBackOfTheFullest) {
  SharedRows rows(0, 10, 2, 2);  // parts [0, 5) and [5, 10)
  // Band 1 takes its own part from the front, then the back of part 0, whose
  // owner still starts at its front.
  const struct {
    int32_t Part, First, End;
  } kClaims[] = {{1, 5, 7}, {1, 7, 9}, {1, 9, 10}, {1, 3, 5}, {0, 0, 2}, {0, 2, 3}};
  int32_t first = 0, end = 0;
  for (const auto& claim : kClaims) {
    ASSERT_TRUE(rows.Next(claim.Part, first, end));
    EXPECT_EQ(first, claim.First);
    EXPECT_EQ(end, claim.End);
  }
  // None left, for owners and for part numbers out of range alike.
  for (int32_t part : {0, 1, -1, kMaxPoolThreads}) EXPECT_FALSE(rows.Next(part, first, end));
}

TEST(SharedRows, EveryRowOnceWhateverTheOrderOfClaims) {
  std::mt19937 random(5);
  for (const Layout& l : kLayouts) {
    for (int32_t trial = 0; trial < 20; ++trial) {
      SharedRows rows(l.First, l.End, l.Parts, l.Chunk);
      std::vector<int32_t> count(size_t(l.End > 0 ? l.End : 0), 0);
      int32_t first = 0, end = 0, handed = 0;
      std::vector<bool> done(size_t(rows.Parts()), false);
      for (int32_t left = rows.Parts(); left > 0;) {
        const int32_t part = int32_t(random() % uint32_t(rows.Parts()));
        if (done[size_t(part)]) continue;
        if (!rows.Next(part, first, end)) {
          done[size_t(part)] = true;
          --left;
          continue;
        }
        ASSERT_LT(first, end);
        ASSERT_GE(first, l.First < 0 ? 0 : l.First);
        ASSERT_LE(end, l.End);
        ASSERT_LE(end - first, l.Chunk < 1 ? 1 : l.Chunk);
        for (int32_t r = first; r < end; ++r) ++count[size_t(r)];
        handed += end - first;
      }
      EXPECT_EQ(handed, RowsOf(l)) << l.First << ".." << l.End << " in " << l.Parts;
      for (int32_t r = l.First < 0 ? 0 : l.First; r < l.End; ++r) {
        ASSERT_EQ(count[size_t(r)], 1) << "row " << r << " of " << l.First << ".." << l.End;
      }
    }
  }
}

// Threads claim at once, some slowed down so that others steal from them.
TEST(SharedRows, ThreadsClaimingAtOnceShareEveryRowOnce) {
  constexpr int32_t kRows = 4000;
  for (int32_t threads : {2, 3, 8}) {
    for (int32_t round = 0; round < 10; ++round) {
      SharedRows rows(0, kRows, threads, 3);
      std::vector<std::atomic<int32_t>> count(kRows);
      std::vector<std::thread> pool;
      for (int32_t t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
          int32_t first = 0, end = 0;
          while (rows.Next(t, first, end)) {
            for (int32_t r = first; r < end; ++r) count[size_t(r)].fetch_add(1);
            if (t == round % threads) std::this_thread::yield();
          }
        });
      }
      for (std::thread& thread : pool) thread.join();
      for (int32_t r = 0; r < kRows; ++r) {
        ASSERT_EQ(count[size_t(r)].load(), 1) << "row " << r << ", " << threads << " threads";
      }
    }
  }
}
