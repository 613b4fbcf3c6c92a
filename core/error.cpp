#include "core/error.h"

ErrorRecord LastError;

int32_t SetError(int32_t code, int32_t value1, int32_t value2) {
  LastError.Code = code;
  LastError.Value1 = value1;
  LastError.Value2 = value2;
  if (code != ErrorFailed) LastError.Cause = code;
  return code;
}

bool Fail(int32_t code) {
  SetError(code, 0, 0);
  SetError(ErrorFailed, 0, 0);
  return false;
}

bool Fail() {
  SetError(ErrorFailed, 0, 0);
  return false;
}
