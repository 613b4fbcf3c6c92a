// Counts every allocation made through the language's operator new in a test
// program, so that a pass or frame loop that allocates is caught. The
// replacements below are definitions: exactly one source file of a program
// includes this header.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

// Every operator new of the program.
std::atomic<uint64_t> g_newCalls{0};

// The replacement pair allocates with malloc, so free is the matching release.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  ++g_newCalls;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  ++g_newCalls;
  return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}
