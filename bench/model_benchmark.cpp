// Iterating placed objects of the plan with a filter and reading parameters of each by name,
// inside the stand-in host with the add-on loaded; host lookups by index and GUID.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "model/drawing.h"
#include "model/element_kinds.h"
#include "model/project.h"
#include "platform/addon_exports.h"
#include "runtime/addon.h"

namespace {

constexpr int kParameters = 20;

// A host with the add-on loaded, a project of n placed objects with 20 parameters each.
struct Scene {
  explicit Scene(int n) {
    char pattern[] = "/tmp/trestlar-bench-XXXXXX";
    folder = ::mkdtemp(pattern);
    std::filesystem::create_directories(folder + "/library");
    std::ofstream(folder + "/library/Timber.gdl") << "! bench\n";
    host = std::make_unique<standin::Host>();
    host->setApplicationDataFolder(folder);
    std::string error;
    host->load(std::make_unique<standin::AddonModule>(&GetExportedFuncAddrs, &SetImportedFuncAddrs), error);
    host->newProject();
    host->addLibraryFolder(folder + "/library");
    std::vector<standin::ParameterValue> values;
    for (int i = 0; i < kParameters; ++i) {
      standin::ParameterValue v;
      v.name = "param" + std::to_string(i);
      v.type = platform::kParamLength;
      v.number = i;
      values.push_back(v);
    }
    for (int i = 0; i < n; ++i) host->model().placeObject("Timber", values, i, 0, 0, 0);
    for (int i = 0; i < kParameters; ++i) names.push_back("PARAM" + std::to_string(i));
  }
  ~Scene() {
    host.reset();
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  std::unique_ptr<standin::Host> host;
  std::vector<lunvik::CadString> names;
};

void BM_IterateAndReadParameters(benchmark::State& state) {
  const int n = int(state.range(0));
  Scene scene(n);
  lunvik::Plan& plan = lunvik::theAddon()->project()->plan();
  double sum = 0;
  int64_t visited = 0;
  for (auto _ : state) {
    lunvik::Drawing::Filter filter(platform::kFilterEditable, platform::kObject, false, true, false);
    for (auto it = plan.begin(filter); !it.atEnd(); ++it) {
      auto* object = it.as<lunvik::Object>();
      for (const lunvik::CadString& name : scene.names)
        if (auto* p = dynamic_cast<const lunvik::LengthParameter*>(object->parameter(name))) sum += p->get();
      ++visited;
    }
  }
  // Every element once per pass, every parameter read: 0 + 1 + ... + 19 per element.
  if (visited != int64_t(state.iterations()) * n || sum != double(visited) * 190.0)
    state.SkipWithError("the iteration missed elements or parameters");
  state.SetItemsProcessed(visited);
  state.counters["us_per_element"] =
      benchmark::Counter(double(visited), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                         benchmark::Counter::OneK::kIs1000);
  state.SetComplexityN(n);
}
BENCHMARK(BM_IterateAndReadParameters)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_HostLookupByGuid(benchmark::State& state) {
  const int n = int(state.range(0));
  Scene scene(n);
  std::vector<platform::Guid> guids;
  for (auto* e : scene.host->model().elements(scene.host->model().plan(), platform::kObject))
    guids.push_back(e->header().guid);
  std::size_t found = 0, i = 0;
  for (auto _ : state) {
    standin::HostElement* e = scene.host->model().find(guids[i++ % guids.size()]);
    found += e != nullptr;
    standin::HostElement* byIndex = scene.host->model().element(platform::kObject, int32_t(i % guids.size()) + 1);
    benchmark::DoNotOptimize(byIndex);
  }
  if (found != std::size_t(state.iterations())) state.SkipWithError("a GUID was not found");
  state.SetComplexityN(n);
}
BENCHMARK(BM_HostLookupByGuid)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::o1);

}  // namespace

BENCHMARK_MAIN();
