#include "program/failure_report.h"

#include <cstdio>

#include "core/error.h"

void ReportFailure(const char* program, const char* subject, const char* what) {
  const int32_t cause = LastError.Cause;
  std::fprintf(stderr, "%s: %s: %s: %s (%s)\n", program, subject, what, ErrorMeaning(cause),
               ErrorName(cause));
}
