#include "core/error.h"

namespace {

struct ErrorWords {
  int32_t Code;
  const char* Name;
  const char* Meaning;
};

constexpr ErrorWords kErrorWords[] = {
    {0, "no code", "no cause recorded"},
    {ErrorFailed, "ErrorFailed", "the operation failed"},
    {ErrorAllocation, "ErrorAllocation", "out of memory"},
    {ErrorCopy, "ErrorCopy", "a copy of bytes failed"},
    {ErrorUnexpectedData, "ErrorUnexpectedData",
     "unexpected data (a wrong class id, a short or cut file, a bad marker or size)"},
    {ErrorCannotOpen, "ErrorCannotOpen", "the file cannot be opened"},
    {ErrorMissingArgument, "ErrorMissingArgument", "a required image or data block is missing"},
    {ErrorNoFormat, "ErrorNoFormat", "a pixel format without description"},
    {ErrorNoPaletteFormat, "ErrorNoPaletteFormat", "a palette format without description"},
};

const ErrorWords* FindWords(int32_t code) {
  for (const ErrorWords& words : kErrorWords) {
    if (words.Code == code) return &words;
  }
  return nullptr;
}

}  // namespace

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

const char* ErrorName(int32_t code) {
  const ErrorWords* words = FindWords(code);
  return words ? words->Name : "ErrorUnknown";
}

const char* ErrorMeaning(int32_t code) {
  const ErrorWords* words = FindWords(code);
  return words ? words->Meaning : "an unknown error";
}
