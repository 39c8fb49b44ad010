// The main of the benchmark programs: it fails when a benchmark reports an error or when none
// ran, so that the test run's smoke runs catch a benchmark that can no longer measure.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// Counts the runs that ended with an error: Google Benchmark 1.7 exits with 0 after one.
class ErrorCountingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred)
                ++errors;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    int errors = 0;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ErrorCountingReporter reporter;
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.errors > 0 || ran == 0) {
        std::fprintf(stderr, "%d benchmark(s) failed, %zu ran\n", reporter.errors, ran);
        return 1;
    }
    return 0;
}
