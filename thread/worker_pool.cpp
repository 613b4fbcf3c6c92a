#include "thread/worker_pool.h"

#include <chrono>
#include <cstdlib>
#include <system_error>

WorkerPool Workers;

namespace {

// How long a waiting thread spins before it sleeps in the kernel. The calls of
// one frame follow each other within microseconds, and waking a sleeping thread
// costs more than that; a thread idle for longer sleeps. The polls only pause the
// processor: a yield is a system call, dear on virtual machines (it showed as a
// tenth of a two-thread frame's time on ours), and a pool spins only when every
// thread has a core of its own.
constexpr std::chrono::microseconds kSpinTime{50};
constexpr uint32_t kPausedPolls = 64;
constexpr uint32_t kPollsPerClockRead = 16;

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Waits until value is no longer old and returns the new value; polls first when
// spin is true (threads that have a core each), then sleeps.
template <typename T>
T WaitForChange(const std::atomic<T>& value, T old, bool spin) {
  if (spin) {
    std::chrono::steady_clock::time_point deadline{};
    for (uint32_t i = 1;; ++i) {
      const T now = value.load(std::memory_order_acquire);
      if (now != old) return now;
      if (i < kPausedPolls) {
        Pause();
        continue;
      }
      if (i % kPollsPerClockRead == 0) {
        const auto clock = std::chrono::steady_clock::now();
        if (i == kPausedPolls) {
          deadline = clock + kSpinTime;
        } else if (clock > deadline) {
          break;
        }
      }
      Pause();
    }
  }
  for (;;) {
    value.wait(old, std::memory_order_acquire);
    const T now = value.load(std::memory_order_acquire);
    if (now != old) return now;
  }
}

uint32_t Cores() {
  const uint32_t cores = std::thread::hardware_concurrency();
  return cores > 0 ? cores : 1;
}

}  // namespace

int32_t PoolThreadCount(const char* setting, uint32_t cores) {
  if (setting && *setting) {
    char* end = nullptr;
    const long value = std::strtol(setting, &end, 10);
    if (*end == '\0' && value >= 1)
      return value < kMaxPoolThreads ? int32_t(value) : kMaxPoolThreads;
  }
  if (cores < 1) return 1;
  return cores < uint32_t(kMaxPoolThreads) ? int32_t(cores) : kMaxPoolThreads;
}

int32_t PoolThreadCount() {
  return PoolThreadCount(std::getenv("DF_WORKERS"), Cores());
}

bool WorkerPool::Start(int32_t threads) {
  if (running_) return false;
  if (threads < 1) threads = 1;
  if (threads > kMaxPoolThreads) threads = kMaxPoolThreads;
  spin_ = uint32_t(threads) <= Cores();
  sharing_ = kMaxPoolThreads;
  stopping_.store(false, std::memory_order_relaxed);
  workerCount_ = 0;
  const uint32_t generation = generation_.load(std::memory_order_relaxed);
  for (int32_t i = 0; i < threads - 1; ++i) {
    // A thread that cannot be created leaves the others to share the rows.
    try {
      workers_[workerCount_] = std::thread([this, generation] {
        uint32_t seen = generation;
        for (;;) {
          seen = WaitForChange(generation_, seen, spin_);
          if (stopping_.load(std::memory_order_acquire)) return;
          DoBands();
        }
      });
      ++workerCount_;
    } catch (const std::system_error&) {
    }
  }
  running_ = true;
  return true;
}

void WorkerPool::Stop() {
  if (!running_) return;
  stopping_.store(true, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
  for (int32_t i = 0; i < workerCount_; ++i) workers_[i].join();
  workerCount_ = 0;
  running_ = false;
}

void WorkerPool::Wake() {
  if (!running_ || Threads() == 1) return;
  // The claim word still names the last call, whose bands are all taken: the
  // workers find nothing to claim and wait again, spinning for kSpinTime first.
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
}

void WorkerPool::DoBand(int32_t index) {
  // The call's fields are read before the band is counted as done: from then on
  // the caller may return and the next call rewrite them.
  const int32_t bands = bands_;
  const int32_t first = BandStart(rows_, bands, index);
  const int32_t end = BandStart(rows_, bands, index + 1);
  task_(context_, first, end);
  if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == bands) done_.notify_one();
}

void WorkerPool::DoBands() {
  uint64_t claim = claim_.load(std::memory_order_acquire);
  for (;;) {
    const uint32_t next = uint32_t(claim & kClaimMask);
    const uint32_t bands = uint32_t(claim >> kBandsShift & kClaimMask);
    if (next >= bands) return;
    // Taking band next of the call that claim names. The call waits for every band
    // it handed out, so its fields stay as they are until this band is done.
    if (claim_.compare_exchange_weak(claim, claim + 1, std::memory_order_acq_rel,
                                     std::memory_order_acquire)) {
      DoBand(int32_t(next));
      claim = claim_.load(std::memory_order_acquire);
    }
  }
}

void WorkerPool::Run(int32_t rows, RowBandTask task, void* context) {
  if (rows <= 0 || !task) return;
  int32_t idle = 0;
  if (Threads() == 1 || rows == 1 ||
      !busy_.compare_exchange_strong(idle, 1, std::memory_order_acquire)) {
    task(context, 0, rows);
    return;
  }
  task_ = task;
  context_ = context;
  rows_ = rows;
  bands_ = rows < Threads() ? rows : Threads();
  done_.store(0, std::memory_order_relaxed);
  // Band 0 is the caller's; the others go to whichever thread claims them first,
  // so that a worker that is slow to wake (its core busy elsewhere) holds up
  // nobody: the caller takes its band too.
  ++call_;
  claim_.store(uint64_t(call_) << kCallShift | uint64_t(bands_) << kBandsShift | 1,
               std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
  DoBand(0);
  DoBands();
  for (int32_t done = done_.load(std::memory_order_acquire); done != bands_;
       done = done_.load(std::memory_order_acquire)) {
    WaitForChange(done_, done, spin_);
  }
  busy_.store(0, std::memory_order_release);
}

void RunOnWorkers(int32_t rows, RowBandTask task, void* context) {
  Workers.Run(rows, task, context);
}
