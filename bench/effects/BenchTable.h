// Collects the medians of a benchmark run and writes them as a markdown table of times and ratios.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// Benchmarks are named "<format>/<size>/<job>"; the jobs "memcpy" and "libyuv-zoomN" are the
// baselines of the other jobs of the same format and size.
class BenchTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // One row per format, size and job: median time, ratio to memcpy, ratio to libyuv's zoom.
    void write(std::ostream& out) const;

private:
    std::map<std::string, double> m_medianMicroseconds;
    std::vector<std::string> m_order;
};
