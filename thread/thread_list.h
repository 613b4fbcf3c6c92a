// The process-wide thread list, its registration lock, and the start-up that runs
// every registered thread on an operating-system thread and waits for all of them.
#pragma once

#include <cstdint>

#include "core/spin_lock.h"
#include "thread/thread.h"

class C_Collection;

inline constexpr uint32_t kMaxThreads = 8;  // one handle place per list position

extern C_Collection* ThreadList;  // of C_Thread; created on first registration
extern SpinLockWord ThreadListLock;

// Appends a thread running procedure(argument) under ThreadListLock. False when
// eight threads are registered already or memory runs out.
bool RegisterThread(ThreadProcedure procedure, void* argument);

// Registers the application main with a null argument.
bool RegisterMainThread(ThreadProcedure applicationMain);

// Starts one operating-system thread per registered thread (at most eight, all of
// them running) and waits until every one has ended.
void StartThreads();

// What the operating-system thread of a list position runs: the registered
// procedure between MarkRunning and MarkStopped; 0 when the position is empty.
uint32_t RunThreadAt(uint32_t position);

// The program's entry sequence: registers the application main, runs the threads,
// and returns the process exit status, 1 whatever the main returned.
int RunApplication(ThreadProcedure applicationMain);

// Deletes the registered threads and the list (for tests; the program keeps them).
void ClearThreadList();
