// The main of the benchmarks that compare thread counts. This host's speed drifts
// by tens of percent within a minute, so measures taken one after the other do
// not compare: every measure is repeated and the repetitions of all measures run
// in random order, and the medians are reported (each unless the command line
// sets it otherwise). One thread and all cores then see the same host.
#pragma once

// Google Benchmark's run of the registered benchmarks with those defaults; the
// exit status for main (2 for an argument Google Benchmark does not know).
int RunInterleaved(int argc, char** argv);
