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

bool Names(const char* argument, const char* option) {
  return std::strncmp(argument, option, std::strlen(option)) == 0;
}

}  // namespace

int RunInterleaved(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  bool repeated = false, timed = false;
  for (int i = 1; i < argc; ++i) {
    repeated = repeated || Names(argv[i], "--benchmark_repetitions");
    timed = timed || Names(argv[i], "--benchmark_min_time");
  }
  if (!repeated) {
    arguments.insert(arguments.begin() + 1, {kRepetitions, kInterleaving, kAggregatesOnly});
    if (!timed) arguments.insert(arguments.begin() + 1, kMinTime);
  }
  int count = int(arguments.size());
  arguments.push_back(nullptr);
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
