// The frame's thread count, chosen per mode pair by measuring. Sharing a frame's
// rows among cores pays in most modes, but on hosts whose cores share their
// bandwidth a light frame can take longer on two threads than on one: the rows a
// worker makes must then move to the core that draws them. So each pair's frames
// are timed both ways, alternating, and the faster way is kept. The trial is
// repeated, as the host's state changes: soon after a choice that is new (it may
// have been made while another program held a core), then at doubling intervals
// while the trials keep confirming it.
#pragma once

#include <cstdint>

// Timed frames of each way in one trial; the medians decide.
inline constexpr int32_t kTrialRounds = 5;
// Frames of one way in a row in a trial, of which the last is timed.
inline constexpr int32_t kBlockFrames = 2;
// Frames run the chosen way between two trials: first kFirstSettledFrames, twice
// as many after each trial that confirms the way, at most kMostSettledFrames. A
// trial runs the other way in about 10 of its 21 frames: trials far apart keep
// that a small share of all frames.
inline constexpr int32_t kFirstSettledFrames = 200;
inline constexpr int32_t kMostSettledFrames = 3200;
// Mode pairs told apart (shape * 3 + view); others share the last slot.
inline constexpr int32_t kThreadChoicePairs = 10;

class ThreadChoice {
 public:
  // threads: the most threads a frame can use (the pool's); 1 leaves nothing to choose.
  explicit ThreadChoice(int32_t threads);

  // The threads for the next frame of pair (any int; out-of-range pairs share a slot).
  int32_t Next(int32_t pair);
  // The seconds that frame took, run with the threads Next gave.
  void Record(double seconds);

  // What pair is settled on now (1 or all), or 0 while it is still untried.
  int32_t Chosen(int32_t pair) const;

 private:
  struct PairState {
    double Times[2][kTrialRounds] = {};  // [0]: one thread, [1]: all
    int32_t Step = 0;    // frames since the trial began (or, when settled, since it ended)
    int32_t Chosen = 0;  // 0 untried, else the settled count
    int32_t Wait = kFirstSettledFrames;  // frames settled before the next trial
    bool Settled = false;
  };
  static int32_t Slot(int32_t pair);

  int32_t threads_;
  PairState pairs_[kThreadChoicePairs];
  int32_t current_ = -1;  // the slot Next last answered for
  int32_t way_ = 0;       // and the way (index into Times) it gave, or -1 untimed
  int32_t round_ = 0;     // and for a timed frame, the round (the other index)
};
