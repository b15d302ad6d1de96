// Numbering benchmarks: "Enumerate Timbers" over a generated project of 1,000 to 10,000
// framing members, run through the Schedule menu as a user does (gather, recalculate, sort,
// number, store). The complexity fit reports the growth; the "per_member_us" counter the
// cost of one member.
#include <benchmark/benchmark.h>

#include <strings.h>

#include <string>
#include <vector>

#include "generated_project.h"

namespace {

bool enumerate(standin::Host& host, bool newOnly) {
  standin::MenuItem item;
  if (!host.findMenuItem("Framing/Schedule/Enumerate Timbers", item)) return false;
  using standin::DialogAction;
  host.dialogs().queueDialog(32518, {DialogAction::check(3, newOnly), DialogAction::of(DialogAction::Kind::Ok, 1)});
  host.chooseMenuItem(item.menuList, item.itemIndex);
  return host.dialogs().scriptError().empty() && host.dialogs().pendingAnswers().empty();
}

// The members' numbers after a run: every scheduled member numbered, from 1 up.
bool numberedFromOne(standin::Host& host, int& highest) {
  highest = 0;
  for (standin::HostElement* e : host.model().elements(host.model().plan(), platform::kObject)) {
    int number = 0;
    for (const standin::StoredParameter& p : e->parameters)
      if (strcasecmp(p.record.name, "TimberNo") == 0) number = int(p.record.value.real);
    if (number < 1) return false;
    if (number > highest) highest = number;
  }
  return highest > 0;
}

void BM_EnumerateTimbers(benchmark::State& state) {
  const int n = int(state.range(0));
  bench_support::GeneratedProject project(n);
  if (!project.ok()) {
    state.SkipWithError("the project could not be generated");
    return;
  }
  bool ran = true;
  for (auto _ : state) ran = enumerate(project.host(), false) && ran;
  int highest = 0;
  if (!ran || !numberedFromOne(project.host(), highest)) {
    state.SkipWithError("the members were not all numbered");
    return;
  }
  state.counters["members"] = n;
  state.counters["numbers"] = highest;
  state.counters["per_member_us"] =
      benchmark::Counter(double(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetComplexityN(n);
}
BENCHMARK(BM_EnumerateTimbers)
    ->RangeMultiplier(10)
    ->Range(1000, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace

BENCHMARK_MAIN();
