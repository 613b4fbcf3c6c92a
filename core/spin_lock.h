// Sleep-spin locks: a word taken by compare-exchange 0 -> 1, released by decrement.
// Not re-entrant: a thread that takes a word it already holds waits forever.
#pragma once

#include <atomic>
#include <cstdint>

using SpinLockWord = std::atomic<int32_t>;

// Loops on compare-exchange from 0 to 1, sleeping 1 ms between attempts.
void AcquireSpinLock(SpinLockWord& word);
// Atomically decrements the word (1 -> 0).
void ReleaseSpinLock(SpinLockWord& word);

// Holds a spin lock for the life of a scope.
class SpinLockGuard {
 public:
  explicit SpinLockGuard(SpinLockWord& word) : word_(word) { AcquireSpinLock(word_); }
  ~SpinLockGuard() { ReleaseSpinLock(word_); }
  SpinLockGuard(const SpinLockGuard&) = delete;
  SpinLockGuard& operator=(const SpinLockGuard&) = delete;

 private:
  SpinLockWord& word_;
};
