// Registration of the thread class during static initialisation.
#include "core/class_registry.h"
#include "thread/thread.h"

namespace {

bool RegisterThreads() {
  EnsureClassRegistry();
  RegisterClass(class_id::Thread, MakeObject<C_Thread>);
  return true;
}

const bool threadsRegistered = RegisterThreads();

}  // namespace
