// The failure line: the cause the error record kept, by name and in words, even
// after the -1 that every failure stores last.
#include "program/failure_report.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"

namespace {

TEST(FailureReport, NamesTheCauseBehindTheMinusOne) {
  LastError = {};
  Fail(ErrorCannotOpen);
  ASSERT_EQ(LastError.Code, ErrorFailed);
  testing::internal::CaptureStderr();
  ReportFailure("tool", "a.pak", "cannot be read");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tool: a.pak: cannot be read: the file cannot be opened (ErrorCannotOpen)\n");

  LastError = {};
  testing::internal::CaptureStderr();
  ReportFailure("tool", "b.pak", "cannot be read");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tool: b.pak: cannot be read: no cause recorded (no code)\n");
}

TEST(FailureReport, EveryCodeHasANameAndWords) {
  for (int32_t code :
       {ErrorFailed, ErrorAllocation, ErrorCopy, ErrorUnexpectedData, ErrorCannotOpen,
        ErrorMissingArgument, ErrorNoFormat, ErrorNoPaletteFormat}) {
    EXPECT_STRNE(ErrorName(code), "ErrorUnknown") << code;
    EXPECT_STRNE(ErrorMeaning(code), ErrorMeaning(12345)) << code;
  }
  EXPECT_STREQ(ErrorName(12345), "ErrorUnknown");
}

}  // namespace
