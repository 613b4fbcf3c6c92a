// The worker pool: threads started once that share row work with the thread that
// asks for it. Each call splits a count of rows into contiguous bands, one per
// thread; the caller does the first band itself and returns when every band is
// done. Nothing is allocated per call.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/row_split.h"

// Most threads (the caller included) that share a call's rows.
inline constexpr int32_t kMaxPoolThreads = 16;

// The thread count for a DF_WORKERS setting and the machine's core count: the
// setting when it is a whole number from 1 on (kMaxPoolThreads at most), else one
// thread per core (at least 1, at most kMaxPoolThreads).
int32_t PoolThreadCount(const char* setting, uint32_t cores);
// The same for this process: DF_WORKERS and the machine's cores.
int32_t PoolThreadCount();

class WorkerPool {
 public:
  WorkerPool() = default;
  ~WorkerPool() { Stop(); }
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Starts threads - 1 workers (threads is clamped to 1..kMaxPoolThreads), so that
  // threads threads share every call. False when the pool runs already; a worker
  // that cannot be created leaves fewer threads (see Threads).
  bool Start(int32_t threads);
  // Ends the workers and waits for them. Not while a call runs.
  void Stop();

  bool Running() const { return running_; }
  // Threads that share a call: the workers and the caller (at most the count
  // Share allows); 1 when stopped.
  int32_t Threads() const { return workerCount_ < sharing_ ? workerCount_ + 1 : sharing_ + 1; }
  // Lets at most threads threads (1: the caller alone) share the calls from now
  // on, until Share is called again; the workers keep running. Between calls only.
  void Share(int32_t threads) { sharing_ = threads < 1 ? 0 : threads - 1; }

  // Runs task over rows 0..rows - 1 in min(Threads(), rows) contiguous bands of
  // near-equal size. The caller runs the first band, each worker that wakes in
  // time one of the others (the caller takes those left), and the call returns
  // once all are done. A call made while another runs (from a task, or
  // from another thread) runs all its rows on its own thread.
  void Run(int32_t rows, RowBandTask task, void* context);

  // Wakes the workers ahead of a call that is coming soon, so that it does not
  // wait for their wake-up; they spin for a while, then sleep again. Between calls.
  void Wake();

  // Run with a callable f(first, end).
  template <typename F>
  void Bands(int32_t rows, F& f) {
    Run(
        rows, [](void* c, int32_t first, int32_t end) { (*static_cast<F*>(c))(first, end); }, &f);
  }

 private:
  void DoBand(int32_t index);
  // Claims and runs bands of the current call until none is left.
  void DoBands();

  // The claim word: the call's number, its band count and the next band to hand out.
  static constexpr uint32_t kCallShift = 32;
  static constexpr uint32_t kBandsShift = 16;
  static constexpr uint64_t kClaimMask = 0xFFFF;

  // Published by a call before claim_ names it, read by the threads that claim
  // its bands.
  RowBandTask task_ = nullptr;
  void* context_ = nullptr;
  int32_t rows_ = 0;
  int32_t bands_ = 0;
  uint32_t call_ = 0;                  // calls made, the number in the claim word
  std::atomic<bool> stopping_{false};  // read by workers woken for a call, too
  bool spin_ = true;                   // waiting threads spin first: only when each has a core

  alignas(64) std::atomic<uint64_t> claim_{0};       // call, bands, next band
  alignas(64) std::atomic<uint32_t> generation_{0};  // advances once per call: wakes the workers
  alignas(64) std::atomic<int32_t> done_{0};         // bands of the call finished
  alignas(64) std::atomic<int32_t> busy_{0};         // 1 while a call uses the workers

  bool running_ = false;
  int32_t workerCount_ = 0;
  int32_t sharing_ = kMaxPoolThreads;  // workers a call may use
  std::thread workers_[kMaxPoolThreads - 1];
};

// The process's pool, which the frame's row work runs on. Not running until the
// application starts it; until then every call runs on the caller alone.
extern WorkerPool Workers;

// Workers.Run as a row splitter, for SetRowSplitter: the layers below this one
// share their rows on the process's pool through it.
void RunOnWorkers(int32_t rows, RowBandTask task, void* context);
