#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, plus each benchmark's x_realtime counter (the median
// when it ran repeatedly), so that the cost of one benchmark relative to
// another of the same run can be printed after the table.
class RealtimeSummary : public benchmark::ConsoleReporter
{
public:
    RealtimeSummary();

    void ReportRuns (const std::vector<Run>& runs) override;

    // Prints x_realtime of `numerator` over that of `denominator`, with the
    // spread over repetitions; prints nothing unless both ran.
    void printRatio (const std::string& label, const std::string& numerator, const std::string& denominator) const;

private:
    struct Figures
    {
        double xRealtime = 0.0;
        double mean = 0.0;
        double standardDeviation = 0.0;

        bool hasSpread() const { return mean > 0.0; }
        double relativeSpread() const { return standardDeviation / mean; }
    };

    std::map<std::string, Figures> figures;
};
