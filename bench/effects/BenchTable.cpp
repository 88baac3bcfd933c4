#include "BenchTable.h"

#include <cstdio>

namespace {

std::string part(const std::string& name, int index)
{
    size_t begin = 0;
    for (int i = 0; i < index; ++i)
        begin = name.find('/', begin) + 1;
    const size_t end = name.find('/', begin);
    return name.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

// The libyuv job that does the same zoom as a job of ours, if any.
std::string libyuvBaselineOf(const std::string& job)
{
    if (job == "zoom1")
        return "libyuv-zoom1";
    if (job == "zoom2" || job == "zoom2+overlay")
        return "libyuv-zoom2";
    return "";
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

void BenchTable::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        // With repetitions only the median counts; a single run counts as its own median.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.error_occurred || !(median || single))
            continue;
        const std::string name = run.run_name.function_name;
        if (!m_medianMicroseconds.count(name))
            m_order.push_back(name);
        m_medianMicroseconds[name] = run.GetAdjustedRealTime() *
                                     benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond) /
                                     benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
}

void BenchTable::write(std::ostream& out) const
{
    out << "| format | size | job | median time (us) | x memcpy | x libyuv zoom |\n"
        << "|---|---|---|---:|---:|---:|\n";
    for (const std::string& name : m_order) {
        const std::string prefix = part(name, 0) + "/" + part(name, 1) + "/";
        const std::string job = part(name, 2);
        const double time = m_medianMicroseconds.at(name);
        std::string memcpyRatio = "", libyuvRatio = "";
        const auto floor = m_medianMicroseconds.find(prefix + "memcpy");
        if (floor != m_medianMicroseconds.end() && job != "memcpy")
            memcpyRatio = format("%.2f", time / floor->second);
        const std::string baselineJob = libyuvBaselineOf(job);
        const auto baseline = m_medianMicroseconds.find(prefix + baselineJob);
        if (!baselineJob.empty() && baseline != m_medianMicroseconds.end())
            libyuvRatio = format("%.2f", time / baseline->second);
        out << "| " << part(name, 0) << " | " << part(name, 1) << " | " << job << " | "
            << format("%.1f", time) << " | " << memcpyRatio << " | " << libyuvRatio << " |\n";
    }
}
