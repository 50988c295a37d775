#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console output, and each benchmark's real and CPU time per iteration kept for the
// ratios against the baseline printed after the run.
class CRunTimes : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                real[run.benchmark_name()] = run.GetAdjustedRealTime();
                cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> real;
    std::map<std::string, double> cpu;
};
