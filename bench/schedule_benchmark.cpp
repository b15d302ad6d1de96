// Schedule benchmarks: a generated project of 1,000 to 10,000 framing members is scheduled
// through the host's save path (gather, recalculate, build, sort, then a cutting list and a
// schedule written to file). Beside it a bare pass in which the stand-in host reads the same
// members' parameters without the add-on; the "ratio" counter is the schedule's time over the
// bare pass's. The "memo_ratio" counter sets it against the host handing out every member's
// parameters once through its own memo operation, in the records the add-on reads.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "generated_project.h"

namespace {

// The generated project with the report saved through the host and the bare pass.
class GeneratedProject : public bench_support::GeneratedProject {
 public:
  using bench_support::GeneratedProject::GeneratedProject;
  std::string output() const { return folder() + "/report.txt"; }

  // Saves a report through the host, answering the reporting dialog.
  bool report(bool cutlist) {
    standin::DialogAction type, headings;
    type.kind = standin::DialogAction::Kind::Click;
    type.item = cutlist ? 5 : 4;
    headings.kind = standin::DialogAction::Kind::Set;
    headings.item = 6;
    headings.args = {"on"};
    host().dialogs().queueDialog(32512, {type, headings});
    std::string error;
    return host().saveAs(output(), "Timber Schedule", error);
  }

  // The bare pass: the host reads every member's parameters (numbers and texts).
  double readParameters() {
    double sum = 0;
    for (standin::HostElement* e : host().model().elements(host().model().plan(), platform::kObject))
      for (const standin::StoredParameter& p : e->parameters) {
        if (p.record.shape == platform::kShapeArray) {
          for (double v : p.numbers) sum += v;
        } else if (p.record.typeID == platform::kParamString) {
          sum += p.record.value.text[0];
        } else {
          sum += p.record.value.real;
        }
      }
    return sum;
  }
};

// The host's own read of every member's parameters: each member's parameter memo handed out
// through the host's operations, in the records the add-on receives, summed and disposed of.
double readParameterMemos(GeneratedProject& project) {
  standin::Host& host = project.host();
  const auto& table = host.table();
  double sum = 0;
  for (standin::HostElement* e : host.model().elements(host.model().plan(), platform::kObject)) {
    platform::ElementMemoRecord memo{};
    if (table.HostGetElementMemo(host.token(), &e->header().guid, &memo, platform::kMemoParams) != platform::kNoError)
      continue;
    if (memo.params) {
      const auto* records = reinterpret_cast<const platform::HostParameterRecord*>(*memo.params);
      const int64_t count = table.MemGetHandleSize(memo.params) / int64_t(sizeof(platform::HostParameterRecord));
      for (int64_t i = 0; i < count; ++i) {
        const platform::HostParameterRecord& r = records[i];
        if (r.shape == platform::kShapeArray) {
          if (r.value.array) {
            sum += double(table.MemGetHandleSize(r.value.array));
            table.MemDisposeHandle(r.value.array);
          }
        } else if (r.typeID == platform::kParamString) {
          sum += r.value.text[0];
        } else {
          sum += r.value.real;
        }
      }
    }
    platform::GSHandle* handles = reinterpret_cast<platform::GSHandle*>(&memo);
    for (std::size_t i = 0; i < sizeof memo / sizeof(platform::GSHandle); ++i)
      if (handles[i]) table.MemDisposeHandle(handles[i]);
  }
  return sum;
}

std::size_t lineCount(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

void BM_Schedule(benchmark::State& state) {
  const int n = int(state.range(0));
  GeneratedProject project(n);
  if (!project.ok()) {
    state.SkipWithError("the project could not be generated");
    return;
  }
  using Clock = std::chrono::steady_clock;
  double scheduleSeconds = 0, bareSeconds = 0, memoSeconds = 0, sink = 0;
  bool written = true;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    written = project.report(true) && written;
    written = project.report(false) && written;
    scheduleSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    state.PauseTiming();
    Clock::time_point bare = Clock::now();
    sink += project.readParameters();
    Clock::time_point memos = Clock::now();
    bareSeconds += std::chrono::duration<double>(memos - bare).count();
    sink += readParameterMemos(project);
    memoSeconds += std::chrono::duration<double>(Clock::now() - memos).count();
    state.ResumeTiming();
  }
  benchmark::DoNotOptimize(sink);
  // One heading line and one line per member in the schedule written last.
  if (!written || lineCount(project.output()) != std::size_t(n) + 1) {
    state.SkipWithError("the schedule was not written in full");
    return;
  }
  state.counters["members"] = n;
  state.counters["ratio"] = bareSeconds > 0 ? scheduleSeconds / bareSeconds : 0;
  state.counters["memo_ratio"] = memoSeconds > 0 ? scheduleSeconds / memoSeconds : 0;
  state.SetComplexityN(n);
}
BENCHMARK(BM_Schedule)->RangeMultiplier(10)->Range(1000, 10000)->Unit(benchmark::kMillisecond)->Complexity();

// The bare pass alone.
void BM_BareParameterRead(benchmark::State& state) {
  const int n = int(state.range(0));
  GeneratedProject project(n);
  if (!project.ok()) {
    state.SkipWithError("the project could not be generated");
    return;
  }
  double sum = 0;
  for (auto _ : state) sum = project.readParameters();
  if (!(sum > 0)) state.SkipWithError("no parameters were read");
  state.SetComplexityN(n);
}
BENCHMARK(BM_BareParameterRead)->RangeMultiplier(10)->Range(1000, 10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
