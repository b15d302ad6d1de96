// Draw benchmark: the plan of a generated project of 1,000 and 10,000 framing members drawn as
// trestlar draw does it (the picture from the members' bodies and marks, then the SVG document
// through Cairo), beside opening the same project file, in the same run. Each iteration opens
// the file, so the draw makes every body afresh, as the command does. The "ratio" counter is
// the draw's time over the open's; "open_ms" and "draw_ms" are one iteration's; "open_peak_mb"
// and "draw_peak_mb" the memory each adds at its peak, measured once after the timed loop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "generated_project.h"
#include "peak_memory.h"
#include "host/render/scene.h"
#include "host/render/svg_writer.h"

namespace {

void BM_DrawPlan(benchmark::State& state) {
  const int n = int(state.range(0));
  bench_support::GeneratedProject project(n);
  std::string error;
  const std::string path = project.folder() + "/generated.trestlar";
  if (!project.ok() || !project.host().saveProject(path, error)) {
    state.SkipWithError("the project could not be generated");
    return;
  }
  standin::Host& host = project.host();
  using Clock = std::chrono::steady_clock;
  double openSeconds = 0, drawSeconds = 0;
  std::size_t items = 0, bytes = 0;
  bool ok = true;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    ok = host.openProject(path, error) && ok;
    Clock::time_point opened = Clock::now();
    standin::ViewChoice view;
    ok = standin::findView(host.model(), "plan", view) && ok;
    standin::Picture picture = standin::drawView(host, view);
    std::string svg;
    ok = standin::writeSvg(picture, svg, error) && ok;
    Clock::time_point drawn = Clock::now();
    openSeconds += std::chrono::duration<double>(opened - start).count();
    drawSeconds += std::chrono::duration<double>(drawn - opened).count();
    items = picture.items().size();
    bytes = svg.size();
  }
  // Every member shows at least its top face.
  if (!ok || items < std::size_t(n)) {
    state.SkipWithError("the plan was not drawn in full");
    return;
  }
  bench_support::PeakMemory memory;
  memory.start();
  ok = host.openProject(path, error);
  const double openPeak = memory.addedMb();
  memory.start();
  {
    standin::ViewChoice view;
    ok = standin::findView(host.model(), "plan", view) && ok;
    standin::Picture picture = standin::drawView(host, view);
    std::string svg;
    ok = standin::writeSvg(picture, svg, error) && ok;
  }
  const double drawPeak = memory.addedMb();
  if (!ok) {
    state.SkipWithError("the plan was not drawn after the timed loop");
    return;
  }
  const double iterations = double(state.iterations());
  state.counters["open_peak_mb"] = openPeak;
  state.counters["draw_peak_mb"] = drawPeak;
  state.counters["members"] = n;
  state.counters["items"] = double(items);
  state.counters["svg_kb"] = double(bytes) / 1024;
  state.counters["open_ms"] = openSeconds / iterations * 1000;
  state.counters["draw_ms"] = drawSeconds / iterations * 1000;
  state.counters["ratio"] = openSeconds > 0 ? drawSeconds / openSeconds : 0;
  state.SetComplexityN(n);
}
BENCHMARK(BM_DrawPlan)->RangeMultiplier(10)->Range(1000, 10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
