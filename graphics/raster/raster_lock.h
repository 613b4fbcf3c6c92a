// RasterLock: the process-wide spin lock that every pixel-writing routine of the
// renderer holds for one drawing call, because the span table is shared.
#pragma once

#include "core/spin_lock.h"

// 0 free, 1 held. Never taken twice by one thread: no drawing routine calls
// another while holding it.
extern SpinLockWord RasterLock;

// Holds RasterLock for a scope; every exit of a drawing routine releases it.
class RasterLockGuard {
 public:
  RasterLockGuard() { AcquireSpinLock(RasterLock); }
  ~RasterLockGuard() { ReleaseSpinLock(RasterLock); }
  RasterLockGuard(const RasterLockGuard&) = delete;
  RasterLockGuard& operator=(const RasterLockGuard&) = delete;
};
