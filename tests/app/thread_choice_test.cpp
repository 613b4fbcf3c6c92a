// The frame's thread count chosen by timing: the order of the trial frames, the
// settled choice and its renewal at doubling intervals, pairs kept apart, and that medians of the
// interleaved frames cannot settle on a way slower by a wide margin, whatever a
// minority of the frames measure.
#include "app/thread_choice.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Runs frames of pair, each timed by time(threads); returns the thread counts given.
template <typename Time>
std::vector<int32_t> RunFrames(ThreadChoice& choice, int32_t pair, int32_t frames, Time time) {
  std::vector<int32_t> given;
  for (int32_t i = 0; i < frames; ++i) {
    const int32_t threads = choice.Next(pair);
    given.push_back(threads);
    choice.Record(time(threads));
  }
  return given;
}

constexpr int32_t kTrial = 1 + 2 * kBlockFrames * kTrialRounds;

}  // namespace

TEST(ThreadChoice, TrialsAlternateThenTheFasterWayIsKeptAndTriedAgainLater) {
  ThreadChoice choice(2);
  const auto twoFaster = [](int32_t threads) { return threads == 2 ? 0.004 : 0.006; };
  const std::vector<int32_t> trial = RunFrames(choice, 4, kTrial, twoFaster);
  // A warm-up frame, then blocks of kBlockFrames (2) frames of each way.
  EXPECT_EQ(trial,
            (std::vector<int32_t>{2, 1, 1, 2, 2, 1, 1, 2, 2, 1, 1, 2, 2, 1, 1, 2, 2, 1, 1, 2, 2}));
  EXPECT_EQ(choice.Chosen(4), 2);
  // Settled for kFirstSettledFrames frames; the host turns slower on two threads
  // meanwhile.
  const auto oneFaster = [](int32_t threads) { return threads == 2 ? 0.008 : 0.006; };
  for (int32_t threads : RunFrames(choice, 4, kFirstSettledFrames, oneFaster))
    ASSERT_EQ(threads, 2);
  // The next trial finds it out.
  RunFrames(choice, 4, kTrial, oneFaster);
  EXPECT_EQ(choice.Chosen(4), 1);
  for (int32_t threads : RunFrames(choice, 4, 20, oneFaster)) EXPECT_EQ(threads, 1);
}

// A choice is tried again soon after it is made, then at doubling intervals while
// the trials confirm it, up to kMostSettledFrames; a trial that changes it starts
// the intervals over.
TEST(ThreadChoice, ConfirmedChoicesAreTriedAgainAtDoublingIntervals) {
  ThreadChoice choice(2);
  bool twoFaster = true;
  const auto time = [&](int32_t threads) { return (threads == 2) == twoFaster ? 0.004 : 0.006; };
  // The frames that run one thread: a trial's blocks of them, while two threads are
  // chosen. From the last of one trial's to the first of the next: the trial's
  // last block, the settled frames, the next trial's warm-up frame.
  const std::vector<int32_t> given = RunFrames(choice, 7, 12800, time);
  std::vector<size_t> ones;
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] == 1) ones.push_back(i);
  }
  constexpr size_t kOnes = kTrialRounds * kBlockFrames;  // per trial
  ASSERT_GE(ones.size(), 7 * kOnes);
  std::vector<size_t> waits;
  for (size_t k = kOnes; k < ones.size(); k += kOnes) {
    waits.push_back(ones[k] - ones[k - 1] - 2 - kBlockFrames);
  }
  const std::vector<size_t> expected = {kFirstSettledFrames,     2 * kFirstSettledFrames,
                                        4 * kFirstSettledFrames, 8 * kFirstSettledFrames,
                                        kMostSettledFrames,      kMostSettledFrames};
  EXPECT_EQ(std::vector<size_t>(waits.begin(), waits.begin() + 6), expected);
  // One thread turns faster: the next trial changes the choice, and the one after
  // it comes kFirstSettledFrames later.
  twoFaster = false;
  for (int32_t frame = 0; frame < 2 * kMostSettledFrames && choice.Chosen(7) != 1; ++frame) {
    choice.Record(time(choice.Next(7)));
  }
  ASSERT_EQ(choice.Chosen(7), 1);
  // The kFirstSettledFrames settled frames run one thread, then the warm-up frame
  // (the chosen way, one thread), then the trial's first block (one thread).
  int32_t alone = 0;
  for (int32_t threads : RunFrames(choice, 7, kFirstSettledFrames + 1 + kBlockFrames, time)) {
    if (threads == 1) ++alone;
  }
  EXPECT_EQ(alone, kFirstSettledFrames + 1 + kBlockFrames);
  EXPECT_EQ(choice.Next(7), 2);  // the trial's second block
}

TEST(ThreadChoice, PairsAreChosenApartAndOneThreadLeavesNothingToChoose) {
  ThreadChoice choice(8);
  RunFrames(choice, 0, kTrial, [](int32_t t) { return t == 1 ? 1.0 : 2.0; });
  RunFrames(choice, 8, kTrial, [](int32_t t) { return t == 1 ? 2.0 : 1.0; });
  // Equal times keep the caller alone; modes out of range share one slot.
  RunFrames(choice, -5, kTrial, [](int32_t) { return 1.0; });
  EXPECT_EQ(choice.Chosen(0), 1);
  EXPECT_EQ(choice.Chosen(8), 8);
  EXPECT_EQ(choice.Chosen(99), 1);
  EXPECT_EQ(choice.Chosen(3), 0);  // never run
  EXPECT_EQ(choice.Next(0), 1);
  choice.Record(1.0);
  EXPECT_EQ(choice.Next(8), 8);
  choice.Record(1.0);

  ThreadChoice alone(1);
  for (int32_t threads : RunFrames(alone, 2, 40, [](int32_t t) { return t == 1 ? 9.0 : 1.0; }))
    EXPECT_EQ(threads, 1);
  EXPECT_EQ(alone.Chosen(2), 0);
}

// Frames of each way measure within 4 % of the way's true time, except up to two
// of a trial's five, which measure anything (a preemption, a page fault, a frame
// that measured nothing). Whatever those are, the settled way is never more than
// 1.04 / 0.96 slower than the other.
TEST(ThreadChoice, OutliersCannotSettleOnAMuchSlowerWay) {
  std::mt19937 random(23);
  std::uniform_real_distribution<double> jitter(0.96, 1.04);
  std::uniform_int_distribution<int32_t> pick(0, 9);
  const double ratios[] = {0.5, 0.8, 0.9, 0.95, 1.0, 1.05, 1.1, 1.25, 2.0};
  const double wild[] = {0.0, 1e-9, 1e3, -1.0};
  constexpr double kMargin = 1.04 / 0.96;
  for (double ratio : ratios) {  // true time of all threads against one thread
    for (int32_t run = 0; run < 300; ++run) {
      ThreadChoice choice(2);
      // Up to two of each way's five trial frames measure a wild value.
      bool wildFrame[2][kTrialRounds] = {};
      for (auto& way : wildFrame) {
        for (int32_t k = pick(random) % 3; k > 0; --k) way[pick(random) % kTrialRounds] = true;
      }
      int32_t frame = 0;
      RunFrames(choice, 1, kTrial, [&](int32_t threads) {
        const int32_t way = threads == 1 ? 0 : 1;
        // Frame 0 warms up; then the last frame of each block is the timed one.
        const int32_t step = frame - 1;
        const bool timed = frame > 0 && step % kBlockFrames == kBlockFrames - 1;
        const int32_t round = step / kBlockFrames / 2;
        ++frame;
        const double truth = threads == 1 ? 1.0 : ratio;
        if (timed && wildFrame[way][round]) return wild[pick(random) % 4];
        return truth * jitter(random);
      });
      const double chosen = choice.Chosen(1) == 1 ? 1.0 : ratio;
      const double best = ratio < 1.0 ? ratio : 1.0;
      ASSERT_LE(chosen, best * kMargin) << "ratio " << ratio << ", run " << run;
    }
  }
}
