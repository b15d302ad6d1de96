// Body generation: a rectilinear member clipped by 0 to 16 cuts, round members of 8 to 512
// facets and profile parts of 4 to 256 points; the volume is checked after each run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/bodies/body_generator.h"
#include "platform/parameter_records.h"

namespace {

using standin::PartParameter;

constexpr double kPi = 3.14159265358979323846;

PartParameter number(const char* name, double value) {
  PartParameter p;
  p.name = name;
  p.typeID = platform::kParamLength;
  p.numbers = {value};
  return p;
}

PartParameter array(const char* name, int rows, int columns, std::vector<double> values) {
  PartParameter p = number(name, 0);
  p.isArray = true;
  p.rows = rows;
  p.columns = columns;
  p.numbers = std::move(values);
  return p;
}

void BM_RectilinearWithCuts(benchmark::State& state) {
  int cuts = int(state.range(0));
  std::vector<double> angles, offsets;
  // Alternate bevels at both ends, each a little further in.
  for (int i = 0; i < cuts; ++i) {
    angles.push_back(0.1 * i);
    angles.push_back(i % 2 ? -kPi / 3 : kPi / 3);
    offsets.push_back(0.01 * i);
  }
  std::vector<PartParameter> p = {number("length", 4), number("profWide", 0.2), number("profDeep", 0.3),
                                  number("numCuts", cuts), array("cutAngle", std::max(cuts, 1), 2, angles),
                                  array("cutOffset", std::max(cuts, 1), 1, offsets)};
  standin::ParameterValues values(p);
  double volume = 0;
  for (auto _ : state) {
    standin::GeneratedModel model = standin::generateBodies("RECT", values, standin::BodyPlacement{1, 2, 3, 0.5, false});
    volume = model.volume;
    benchmark::DoNotOptimize(model);
  }
  if (!(volume > 0 && volume <= 0.24 + 1e-9)) state.SkipWithError("wrong volume");
}
BENCHMARK(BM_RectilinearWithCuts)->RangeMultiplier(2)->Range(1, 16)->Arg(0);

void BM_RoundFacets(benchmark::State& state) {
  int facets = int(state.range(0));
  std::vector<PartParameter> p = {number("length", 3), number("profWide", 0.2), number("profDeep", 0.2),
                                  number("resol", facets), number("numCuts", 1), array("cutAngle", 1, 2, {0, kPi / 4}),
                                  array("cutOffset", 1, 1, {0})};
  standin::ParameterValues values(p);
  double volume = 0;
  for (auto _ : state) {
    standin::GeneratedModel model = standin::generateBodies("ROUN", values, standin::BodyPlacement{});
    volume = model.volume;
    benchmark::DoNotOptimize(model);
  }
  double prism = facets / 2.0 * 0.01 * std::sin(2 * kPi / facets) * 3;
  if (!(volume > prism * 0.9 && volume < prism)) state.SkipWithError("wrong volume");
}
BENCHMARK(BM_RoundFacets)->RangeMultiplier(4)->Range(8, 512);

void BM_ProfilePoints(benchmark::State& state) {
  int points = int(state.range(0));
  // A star-shaped (not convex) profile.
  std::string script = "put ";
  for (int i = 0; i < points; ++i) {
    double r = i % 2 ? 0.05 : 0.1, a = 2 * kPi * i / points;
    script += std::to_string(r * std::cos(a)) + ", " + std::to_string(r * std::sin(a)) + ", 15" +
              (i + 1 < points ? ",\n" : "\n");
  }
  std::vector<PartParameter> p = {number("length", 2)};
  standin::ParameterValues values(p);
  double volume = 0;
  for (auto _ : state) {
    standin::GeneratedModel model = standin::generateBodies("EXTR", values, standin::BodyPlacement{}, script);
    volume = model.volume;
    benchmark::DoNotOptimize(model);
  }
  if (!(volume > 0)) state.SkipWithError("no volume");
}
BENCHMARK(BM_ProfilePoints)->RangeMultiplier(4)->Range(4, 256);

}  // namespace

BENCHMARK_MAIN();
