// The process-wide class registry: factories indexed by class id, filled by the
// registration groups during static initialisation and read by CreateObject.
#pragma once

#include <cstdint>
#include <new>

#include "core/spin_lock.h"

class C_Object;

using ClassFactory = C_Object* (*)();

inline constexpr uint32_t kClassRegistrySize = 4096;
inline constexpr uint32_t kRegistrySignatureWords[4] = {0x10000, 0x78994F, 0x82D13B, 0x6799CB};

extern ClassFactory ClassRegistry[kClassRegistrySize];  // entry 0 is never used
extern uint32_t RegistrySignature[4];  // holds the four signature words once cleared
extern SpinLockWord RegistryLock;

// Clears the table once: when the signature is missing, nulls every entry and
// writes the signature. Every registration group calls it before storing.
void EnsureClassRegistry();

// Stores a factory at a class id (ignored for ids outside the table).
void RegisterClass(uint32_t classId, ClassFactory factory);

// A new object of the class registered at classId, or null when none is (ids of
// 4096 and above are never registered). Runs the factory under RegistryLock.
C_Object* CreateObject(uint32_t classId);

// The factory for a class: a new default-constructed object, null when out of memory.
template <class T>
C_Object* MakeObject() {
  return new (std::nothrow) T();
}
