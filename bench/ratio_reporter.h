// A console reporter that also keeps each benchmark's time per iteration, so a program can
// print the ratio of two sizes at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // Named by the function and its argument alone: the full name also carries the
        // iteration count.
        for (const Run& run : runs) times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};
