#include "core/class_registry.h"

#include <cstring>

#include "core/object.h"

// Zero-initialised before any dynamic initialiser runs, so the registration groups
// may run in any order.
ClassFactory ClassRegistry[kClassRegistrySize];
uint32_t RegistrySignature[4];
SpinLockWord RegistryLock{0};

void EnsureClassRegistry() {
  if (std::memcmp(RegistrySignature, kRegistrySignatureWords, sizeof RegistrySignature) == 0) {
    return;
  }
  for (ClassFactory& entry : ClassRegistry) entry = nullptr;
  std::memcpy(RegistrySignature, kRegistrySignatureWords, sizeof RegistrySignature);
}

void RegisterClass(uint32_t classId, ClassFactory factory) {
  EnsureClassRegistry();
  if (classId == 0 || classId >= kClassRegistrySize) return;
  ClassRegistry[classId] = factory;
}

C_Object* CreateObject(uint32_t classId) {
  if (classId >= kClassRegistrySize) return nullptr;
  SpinLockGuard hold(RegistryLock);
  ClassFactory factory = ClassRegistry[classId];
  return factory ? factory() : nullptr;
}
