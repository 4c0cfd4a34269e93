#pragma once
// What the benchmark programs share: a Prompter that answers without a user,
// readings of the process's memory, and timings summed up by their median.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompter.h"

namespace veltra::bench {

// Keeps every message (and shows it on standard error: a benchmark that
// reports a failure has measured nothing); a save dialog answers saveAnswer.
class BenchPrompter : public ui::Prompter {
 public:
  explicit BenchPrompter(std::optional<std::string> saveAnswer = {})
      : saveAnswer_(std::move(saveAnswer)) {}
  ui::Answer showMessage(std::string_view text, ui::Icon, ui::Buttons, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    messages.emplace_back(text);
    return ui::Answer::Ok;
  }
  std::optional<std::string> openFile(const ui::FileChoice&) override { return {}; }
  std::optional<std::string> saveFile(const ui::FileChoice&) override { return saveAnswer_; }
  void beginBusy(bool) override {}

  std::vector<std::string> messages;

 private:
  std::optional<std::string> saveAnswer_;
};

// A "VmRSS:"-style field of /proc/self/status, in KiB.
inline long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with(field)) return std::stol(line.substr(std::string(field).size()));
  return 0;
}

// Lets the next peak reading start from the current resident set.
inline void resetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// The middle of the figures (the mean of the two middle ones for an even
// count): one run slowed by a neighbour on the machine does not move it.
inline double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Time taken by work: on the clock, and of this process's processor time,
// which the other work on a busy machine does not lengthen.
struct Timing {
  double ms = 0.0;
  double cpuMs = 0.0;
};

inline double processCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <class Work>
Timing timingOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = processCpuMs();
  work();
  return {
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
      processCpuMs() - cpuStart};
}

struct Measure {
  Timing timing;
  long peakExtraKiB = 0;  // growth of the resident set over what it was before
};

inline Measure measure(const std::function<void()>& work) {
  // Heap kept from earlier work would hide the work's own growth.
  malloc_trim(0);
  const long before = statusKiB("VmRSS:");
  resetPeak();
  Measure result;
  result.timing = timingOf(work);
  result.peakExtraKiB = statusKiB("VmHWM:") - before;
  return result;
}

// Medians of a program's runs and of its baseline's, and their ratios.
struct Comparison {
  std::vector<Timing> program;
  std::vector<Timing> baseline;

  // Counters programName_ms, sqlite_ms, ratio and cpu_ratio, the ratios named after prefix.
  void report(benchmark::State& state, const std::string& programName,
              const std::string& prefix = "") const {
    const auto middle = [](const std::vector<Timing>& runs, double Timing::*part) {
      std::vector<double> values;
      for (const auto& run : runs) values.push_back(run.*part);
      return median(values);
    };
    state.counters[programName + "_ms"] = middle(program, &Timing::ms);
    state.counters["sqlite_ms"] = middle(baseline, &Timing::ms);
    state.counters[prefix + "ratio"] = middle(program, &Timing::ms) / middle(baseline, &Timing::ms);
    state.counters[prefix + "cpu_ratio"] =
        middle(program, &Timing::cpuMs) / middle(baseline, &Timing::cpuMs);
  }
};

}  // namespace veltra::bench
