#include "program/standard_options.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

const char* ProjectVersion() {
  return DF_PROJECT_VERSION;
}

bool AnswerStandardOptions(int argc, char** argv, const ProgramUsage& usage, int& status) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(usage.Text, stdout);
      if (usage.Details) std::fputs(usage.Details, stdout);
      status = 0;
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s %s\n", usage.Name, ProjectVersion());
      status = 0;
      return true;
    }
  }
  return false;
}

namespace {

// The first argument that looks like an option ("-x", "--x"; "-" alone is not), or null.
const char* FirstOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-' && argv[i][1] != '\0') return argv[i];
  }
  return nullptr;
}

}  // namespace

bool AnswerNameOnlyOptions(int argc, char** argv, const ProgramUsage& usage, int& status) {
  if (AnswerStandardOptions(argc, argv, usage, status)) return true;
  const char* option = FirstOption(argc, argv);
  if (!option) return false;
  status = UsageError(usage, "unknown option %s", option);
  return true;
}

int UsageError(const ProgramUsage& usage, const char* problem, ...) {
  std::fprintf(stderr, "%s: ", usage.Name);
  va_list values;
  va_start(values, problem);
  std::vfprintf(stderr, problem, values);
  va_end(values);
  std::fprintf(stderr, "\n%s", usage.Text);
  return kUsageStatus;
}
