// The options every program of the project answers alike:
//   --help      its usage (and details) on standard output, status 0
//   --version   its name and the project's version on standard output, status 0
// and its usage errors: an unknown option, a missing or bad value, wrong
// arguments print the problem and the usage on standard error, status 2.
#pragma once

inline constexpr int kUsageStatus = 2;

struct ProgramUsage {
  const char* Name;  // as typed: "imgconv"
  // The usage lines, each ending in '\n', the first beginning "usage: ".
  const char* Text;
  // Printed after the usage by --help alone (what the options mean); may be null.
  const char* Details = nullptr;
};

// The project's version, "major.minor".
const char* ProjectVersion();

// When any argument is --help or --version, answers it and returns true with the
// status the program ends with; false otherwise (status untouched).
bool AnswerStandardOptions(int argc, char** argv, const ProgramUsage& usage, int& status);

// For programs that take only names: answers --help and --version as
// AnswerStandardOptions does, and refuses any other option with UsageError's line.
// True, with the status to end with, when the program should end now.
bool AnswerNameOnlyOptions(int argc, char** argv, const ProgramUsage& usage, int& status);

// Prints "<name>: <problem>" (a printf format and its values) and the usage on
// standard error; returns kUsageStatus.
int UsageError(const ProgramUsage& usage, const char* problem, ...)
    __attribute__((format(printf, 2, 3)));
