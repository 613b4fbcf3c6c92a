#include "core/spin_lock.h"

#include <chrono>
#include <thread>

void AcquireSpinLock(SpinLockWord& word) {
  for (;;) {
    int32_t expected = 0;
    if (word.compare_exchange_strong(expected, 1, std::memory_order_acquire)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void ReleaseSpinLock(SpinLockWord& word) {
  word.fetch_sub(1, std::memory_order_release);
}
