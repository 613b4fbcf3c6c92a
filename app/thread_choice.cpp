#include "app/thread_choice.h"

#include <algorithm>

namespace {

// The first frame of a trial only warms up (a new mode's images, caches) and is
// not timed; then one thread and all threads alternate in blocks of frames. Only
// the last frame of a block is timed: the first frame after a change of way moves
// the rows that the other way left on other cores, a cost that steady frames of
// either way do not pay.
constexpr int32_t kWarmUpFrames = 1;
constexpr int32_t kTrialFrames = kWarmUpFrames + 2 * kBlockFrames * kTrialRounds;

double Median(const double (&times)[kTrialRounds]) {
  double sorted[kTrialRounds];
  std::copy(times, times + kTrialRounds, sorted);
  std::nth_element(sorted, sorted + kTrialRounds / 2, sorted + kTrialRounds);
  return sorted[kTrialRounds / 2];
}

}  // namespace

ThreadChoice::ThreadChoice(int32_t threads) : threads_(std::max(threads, 1)) {}

int32_t ThreadChoice::Slot(int32_t pair) {
  return pair >= 0 && pair < kThreadChoicePairs - 1 ? pair : kThreadChoicePairs - 1;
}

int32_t ThreadChoice::Next(int32_t pair) {
  current_ = Slot(pair);
  way_ = -1;
  if (threads_ == 1) return 1;
  PairState& p = pairs_[current_];
  if (p.Settled) {
    if (p.Step < p.Wait) return p.Chosen;
    p.Settled = false;  // time for another trial
    p.Step = 0;
  }
  if (p.Step < kWarmUpFrames) return p.Chosen > 0 ? p.Chosen : threads_;
  const int32_t step = p.Step - kWarmUpFrames;
  const int32_t block = step / kBlockFrames;
  const int32_t way = block % 2;
  if (step % kBlockFrames == kBlockFrames - 1) {
    way_ = way;
    round_ = block / 2;
  }
  return way == 0 ? 1 : threads_;
}

void ThreadChoice::Record(double seconds) {
  if (current_ < 0 || threads_ == 1) return;
  PairState& p = pairs_[current_];
  if (way_ >= 0) p.Times[way_][round_] = seconds;
  ++p.Step;
  if (p.Settled || p.Step < kTrialFrames) return;
  // Ties go to one thread: it leaves the other cores free.
  const int32_t chosen = Median(p.Times[1]) < Median(p.Times[0]) ? threads_ : 1;
  p.Wait = chosen == p.Chosen ? std::min(2 * p.Wait, kMostSettledFrames) : kFirstSettledFrames;
  p.Chosen = chosen;
  p.Settled = true;
  p.Step = 0;
}

int32_t ThreadChoice::Chosen(int32_t pair) const {
  return pairs_[Slot(pair)].Chosen;
}
