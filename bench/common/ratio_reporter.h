// A console reporter for benchmarks that compare two ways of doing one thing
// in the same run: it keeps the fastest repetition of each benchmark, so the
// program can print their ratio once all have run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace prael_bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      const double time = run.GetAdjustedCPUTime();
      auto found = m_fastest.find(NameOf(run));
      if (found == m_fastest.end() || time < found->second) m_fastest[NameOf(run)] = time;
    }
  }

  // The fastest CPU time of a benchmark, by its function name followed by
  // "/" and its arguments when it has any ("BM_Copy", "BM_Fill/256"); 0 when
  // it did not run.
  double Fastest(const std::string& name) const {
    auto found = m_fastest.find(name);
    return found != m_fastest.end() ? found->second : 0.0;
  }

 private:
  static std::string NameOf(const Run& run) {
    if (run.run_name.args.empty()) return run.run_name.function_name;
    return run.run_name.function_name + "/" + run.run_name.args;
  }

  std::map<std::string, double> m_fastest;
};

}  // namespace prael_bench
