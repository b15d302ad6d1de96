// Schedule benchmarks: a generated project of 1,000 to 10,000 framing members is scheduled
// through the host's save path (gather, recalculate, build, sort, then a cutting list and a
// schedule written to file). Beside it a bare pass in which the stand-in host reads the same
// members' parameters without the add-on; the "ratio" counter is the schedule's time over the
// bare pass's.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "host/core/host.h"
#include "host/model/stored_parameter.h"
#include "platform/addon_exports.h"
#include "platform/library_records.h"

namespace {

// A loaded host with a new project of n members of the timber library: posts, beams and
// braces of a few sizes and numbers, so that sorting and grouping have work to do.
class GeneratedProject {
 public:
  explicit GeneratedProject(int n) {
    char pattern[] = "/tmp/trestlar-bench-XXXXXX";
    folder_ = ::mkdtemp(pattern) ? pattern : "/tmp";
    host_.setApplicationDataFolder(folder_);
    std::string error;
    ok_ = host_.load(std::make_unique<standin::AddonModule>(&GetExportedFuncAddrs, &SetImportedFuncAddrs), error);
    if (!ok_) return;
    host_.newProject();
    ok_ = host_.addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library");
    const char* names[] = {"Post", "Beam", "Brace", "Rafter"};
    for (int i = 0; ok_ && i < n; ++i) ok_ = place(names[i % 4], 1 + i % 97, 1.0 + (i % 13) * 0.25, 0.1 + (i % 3) * 0.05, i);
  }
  ~GeneratedProject() {
    host_.unload();
    std::string command = "rm -rf '" + folder_ + "'";
    if (std::system(command.c_str()) != 0) return;
  }

  bool ok() const { return ok_; }
  standin::Host& host() { return host_; }
  std::string output() const { return folder_ + "/report.txt"; }

  // Saves a report through the host, answering the reporting dialog.
  bool report(bool cutlist) {
    standin::DialogAction type, headings;
    type.kind = standin::DialogAction::Kind::Click;
    type.item = cutlist ? 5 : 4;
    headings.kind = standin::DialogAction::Kind::Set;
    headings.item = 6;
    headings.args = {"on"};
    host_.dialogs().queueDialog(32512, {type, headings});
    std::string error;
    return host_.saveAs(output(), "Timber Schedule", error);
  }

  // The bare pass: the host reads every member's parameters (numbers and texts).
  double readParameters() {
    double sum = 0;
    for (standin::HostElement* e : host_.model().elements(host_.model().plan(), platform::kObject))
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

 private:
  bool place(const char* name, int number, double length, double width, int i) {
    standin::HostElement* e = host_.model().placeObject("Rectilinear", {}, i % 100, i / 100, 0, 0, nullptr,
                                                         platform::kObject);
    const standin::LibraryPart* part = e ? host_.library().part(e->record.part.libIndex) : nullptr;
    if (!part) return false;
    e->parameters.clear();
    for (standin::PartParameter p : part->parameters) {
      std::string key = p.name;
      if (key == "timberName") p.texts = {name};
      else if (key == "seasonType") p.texts = {"Green"};
      else if (!p.isArray && !p.numbers.empty()) {
        if (key == "length") p.numbers[0] = length;
        else if (key == "profWide") p.numbers[0] = width;
        else if (key == "profDeep") p.numbers[0] = width + 0.05;
        else if (key == "TimberNo") p.numbers[0] = number;
        else if (key == "IncInSched") p.numbers[0] = 1;
      }
      e->parameters.push_back(standin::storedParameter(p, int16_t(e->parameters.size())));
    }
    e->hasUserData = true;
    e->userData = "RECT";
    e->record.header.hasUserData = 1;
    host_.model().touch(*e);
    return true;
  }

  standin::Host host_;
  std::string folder_;
  bool ok_ = false;
};

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
  double scheduleSeconds = 0, bareSeconds = 0, sink = 0;
  bool written = true;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    written = project.report(true) && written;
    written = project.report(false) && written;
    scheduleSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    state.PauseTiming();
    Clock::time_point bare = Clock::now();
    sink += project.readParameters();
    bareSeconds += std::chrono::duration<double>(Clock::now() - bare).count();
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
