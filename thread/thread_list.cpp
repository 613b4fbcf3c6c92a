#include "thread/thread_list.h"

#include <new>
#include <system_error>
#include <thread>

#include "core/collection.h"

C_Collection* ThreadList = nullptr;
SpinLockWord ThreadListLock{0};

bool RegisterThread(ThreadProcedure procedure, void* argument) {
  SpinLockGuard hold(ThreadListLock);
  if (!ThreadList) {
    ThreadList = new (std::nothrow) C_Collection();
    if (!ThreadList) return false;
  }
  // Only eight positions have a handle place; a ninth thread would never run.
  if (ThreadList->Count >= kMaxThreads) return false;
  auto* thread = new (std::nothrow) C_Thread();
  if (!thread) return false;
  thread->SetProcedure(procedure);
  thread->SetArgument(argument);
  if (!ThreadList->Append(thread)) {
    delete thread;
    return false;
  }
  return true;
}

bool RegisterMainThread(ThreadProcedure applicationMain) {
  return RegisterThread(applicationMain, nullptr);
}

uint32_t RunThreadAt(uint32_t position) {
  // Registration is over before the threads start, so the list is read unlocked.
  if (!ThreadList) return 0;
  auto* thread = static_cast<C_Thread*>(ThreadList->GetAt(position));
  if (!thread) return 0;
  ThreadProcedure procedure = thread->GetProcedure();
  if (!procedure) return 0;
  thread->MarkRunning();
  const uint32_t result = procedure(thread->GetArgument());
  thread->MarkStopped();
  return result;
}

void StartThreads() {
  if (!ThreadList) return;
  const uint32_t count = ThreadList->Count < kMaxThreads ? ThreadList->Count : kMaxThreads;
  std::thread handles[kMaxThreads];
  for (uint32_t i = 0; i < count; ++i) {
    // A thread that cannot be created is skipped: the others still run and are
    // waited for, and the entry sequence still returns its status.
    try {
      handles[i] = std::thread([i] { RunThreadAt(i); });
    } catch (const std::system_error&) {
    }
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (handles[i].joinable()) handles[i].join();
  }
}

int RunApplication(ThreadProcedure applicationMain) {
  RegisterMainThread(applicationMain);
  StartThreads();
  return 1;
}

void ClearThreadList() {
  SpinLockGuard hold(ThreadListLock);
  if (!ThreadList) return;
  ThreadList->DeleteItems();
  delete ThreadList;
  ThreadList = nullptr;
}
