// C_Thread: a registered unit of work (a procedure and its argument) that the
// entry point runs on its own operating-system thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/object.h"

using ThreadProcedure = uint32_t (*)(void* argument);

class C_Thread : public C_Object {
 public:
  uint16_t GetClassId() const override { return class_id::Thread; }

  virtual void MarkStopped() { Running.store(0); }
  virtual void MarkRunning() { Running.store(1); }
  virtual void SetProcedure(ThreadProcedure procedure) { Procedure = procedure; }
  virtual void SetArgument(void* argument) { Argument = argument; }
  virtual uint8_t IsRunning() const { return Running.load(); }
  virtual ThreadProcedure GetProcedure() const { return Procedure; }
  virtual void* GetArgument() const { return Argument; }

  std::atomic<uint8_t> Running{0};      // 1 while the procedure runs; read from other threads
  ThreadProcedure Procedure = nullptr;  // what the thread runs
  int32_t Reserved = 0;                 // unused
  void* Argument = nullptr;             // handed to Procedure
};
