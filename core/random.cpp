#include "core/random.h"

namespace {
RandomSource processSource;
}

int32_t Random() {
  return processSource.Next();
}
