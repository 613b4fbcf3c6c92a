#include "bench/interleaved_runs.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// Repetitions of each measure, and the least time Google Benchmark spends on one
// repetition (in seconds): 5 x 0.1 s keeps a run of every frame mode near half a
// minute.
char kRepetitions[] = "--benchmark_repetitions=5";
char kInterleaving[] = "--benchmark_enable_random_interleaving=true";
char kAggregatesOnly[] = "--benchmark_report_aggregates_only=true";
char kMinTime[] = "--benchmark_min_time=0.1";

}  // namespace

int RunInterleaved(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  // Each default goes in front of the command line's own options unless one of
  // them sets the same flag.
  for (char* option : {kRepetitions, kInterleaving, kAggregatesOnly, kMinTime}) {
    const char* flagEnd = std::strchr(option, '=');
    bool given = false;
    for (int i = 1; i < argc; ++i) {
      given = given || std::strncmp(argv[i], option, size_t(flagEnd - option)) == 0;
    }
    if (!given) arguments.insert(arguments.begin() + 1, option);
  }
  int count = int(arguments.size());
  arguments.push_back(nullptr);
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
