#pragma once
// Timing that the benchmarks with a baseline share: the program's way and the baseline run by turns
// in one process, so that a busy machine slows both alike, and both are reported by their fastest
// and their middle round, in wall time and in processor time of all the process's threads.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace movra::bench {

// Wall and processor time since it was made; std::clock counts every thread of the process.
class Stopwatch {
public:
    double Wall() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count(); }
    double Cpu() const { return static_cast<double>(std::clock() - cpu_) / CLOCKS_PER_SEC; }

private:
    std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
    std::clock_t cpu_ = std::clock();
};

// The rounds of one side.
struct Times {
    std::vector<double> wall, cpu;
    void Add(const Stopwatch& watch) {
        wall.push_back(watch.Wall());
        cpu.push_back(watch.Cpu());
    }
};

inline double Min(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// `name`_min_ms, `name`_median_ms and `name`_cpu_median_ms.
inline void ReportTimes(benchmark::State& state, const std::string& name, const Times& t) {
    state.counters[name + "_min_ms"] = Min(t.wall) * 1e3;
    state.counters[name + "_median_ms"] = Median(t.wall) * 1e3;
    state.counters[name + "_cpu_median_ms"] = Median(t.cpu) * 1e3;
}

// x_min and x_median: the program's time over the baseline's (above 1: the program is slower);
// x_cpu_median the same in processor time.
inline void ReportRatio(benchmark::State& state, const Times& ours, const Times& base) {
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
    state.counters["x_min"] = ratio(Min(ours.wall), Min(base.wall));
    state.counters["x_median"] = ratio(Median(ours.wall), Median(base.wall));
    state.counters["x_cpu_median"] = ratio(Median(ours.cpu), Median(base.cpu));
}

// Runs `ours` and `baseline` by turns, `rounds` times each, timing each call whole, and reports both
// and the ratio. Meant for a benchmark of one iteration with manual time (the program's median).
template <class Ours, class Baseline>
void Interleave(benchmark::State& state, int rounds, Ours&& ours, Baseline&& baseline) {
    Times a, b;
    for (auto _ : state) {
        for (int round = 0; round < rounds; ++round) {
            {
                const Stopwatch watch;
                ours();
                a.Add(watch);
            }
            {
                const Stopwatch watch;
                baseline();
                b.Add(watch);
            }
        }
        state.SetIterationTime(Median(a.wall));
    }
    ReportTimes(state, "ours", a);
    ReportTimes(state, "base", b);
    ReportRatio(state, a, b);
}

}  // namespace movra::bench
