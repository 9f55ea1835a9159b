#include "RealtimeSummary.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr const char* counterName = "x_realtime";
} // namespace

RealtimeSummary::RealtimeSummary() : benchmark::ConsoleReporter (OO_Tabular) {}

void RealtimeSummary::ReportRuns (const std::vector<Run>& runs)
{
    for (const auto& run : runs)
    {
        const auto counter = run.counters.find (counterName);
        if (run.error_occurred || counter == run.counters.end())
            continue;

        auto& entry = figures[run.run_name.function_name];
        const double value = counter->second.value;

        if (run.run_type == Run::RT_Iteration)
            entry.xRealtime = value; // superseded by the median when there are repetitions
        else if (run.aggregate_name == "median")
            entry.xRealtime = value;
        else if (run.aggregate_name == "mean")
            entry.mean = value;
        else if (run.aggregate_name == "stddev")
            entry.standardDeviation = value;
    }
    ConsoleReporter::ReportRuns (runs);
}

void RealtimeSummary::printRatio (const std::string& label, const std::string& numerator,
                                  const std::string& denominator) const
{
    const auto a = figures.find (numerator);
    const auto b = figures.find (denominator);
    if (a == figures.end() || b == figures.end() || b->second.xRealtime <= 0.0)
        return;

    const auto& top = a->second;
    const auto& bottom = b->second;
    std::printf ("%s: %.3f  (x_realtime %.0f / %.0f", label.c_str(), top.xRealtime / bottom.xRealtime,
                 top.xRealtime, bottom.xRealtime);

    if (top.hasSpread() && bottom.hasSpread())
    {
        // Independent relative spreads add in quadrature.
        const double spread = std::hypot (top.relativeSpread(), bottom.relativeSpread());
        std::printf ("; spread %.1f %% / %.1f %%, ratio +/- %.1f %%", 100.0 * top.relativeSpread(),
                     100.0 * bottom.relativeSpread(), 100.0 * spread);
    }
    std::printf (")\n");
}
