// The process-wide last-error record and the error codes stored in it.
#pragma once

#include <cstdint>

enum ErrorCode : int32_t {
  ErrorFailed = -1,           // always stored last by the operation that reports a failure
  ErrorAllocation = 3,        // a buffer could not be allocated
  ErrorCopy = 5,              // a byte copy failed
  ErrorUnexpectedData = 10,   // wrong class id, short header, bad marker or hostile size
  ErrorCannotOpen = 11,       // a file could not be opened
  ErrorMissingArgument = 14,  // a required image or data block is missing
  ErrorNoFormat = 15,         // pixel-format code without description
  ErrorNoPaletteFormat = 16,  // palette-format code without description
};

struct ErrorRecord {
  int32_t Code = -1;    // last code stored; -1 after every reported failure
  int32_t Value1 = -1;  // 0 at every call site
  int32_t Value2 = -1;  // 0 at every call site
  // Kept beside the three values above: the last code stored other than -1, so that
  // a failure's reason survives the -1 stored after it. 0 until a code is stored;
  // `LastError = {}` clears it.
  int32_t Cause = 0;
};

// Written on every failure, never read by the system itself (tests and tools read it).
extern ErrorRecord LastError;

// Stores the three values and returns code.
int32_t SetError(int32_t code, int32_t value1 = 0, int32_t value2 = 0);

// Stores code, then -1, and returns false: the common way an operation fails.
bool Fail(int32_t code);

// Stores -1 alone and returns false.
bool Fail();

// A code's name as this header spells it ("ErrorUnexpectedData") and what it means
// in words, for the lines programs print; 0 is "no cause recorded", and a code
// without a name is "an unknown error" named "ErrorUnknown".
const char* ErrorName(int32_t code);
const char* ErrorMeaning(int32_t code);
