// Writing and reading shipped trees as XML: a record holding a list of small records of four
// fields and a map from a length to a price, at 1x, 10x and 100x of 10,000 records and 1,000
// map entries. Reading is set beside pugixml's parse of the same text when pugixml is there.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "storage/data_buffer.h"
#include "storage/xml_reader.h"
#include "storage/xml_shipping.h"
#include "storage/xml_shipping_list.h"
#include "storage/xml_shipping_map.h"
#include "storage/xml_shipping_proxies.h"
#include "storage/xml_shipping_units.h"
#include "storage/xml_writer.h"

#ifdef TRESTLAR_HAVE_PUGIXML
#include <pugixml.hpp>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

using lunvik::CadString;
using lunvik::Shipping;

// One entry of the list: four fields of the four plain types.
class Member : public lunvik::XMLShippingAssembly {
 public:
  CadString name;
  short pieces = 0;
  double length = 0;
  bool scheduled = false;

  // Sets the fields directly, as the product's records do to give their defaults.
  void reset() override {
    name.clear();
    pieces = 0;
    length = 0;
    scheduled = false;
  }
  std::size_t count() const override { return 4; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    switch (index) {
      case 0: return std::make_unique<lunvik::XMLShippingProxyUnit<CadString>>(&name, "name");
      case 1: return std::make_unique<lunvik::XMLShippingProxyUnit<short>>(&pieces, "count");
      case 2: return std::make_unique<lunvik::XMLShippingProxyUnit<double>>(&length, "length");
      case 3: return std::make_unique<lunvik::XMLShippingProxyUnit<bool>>(&scheduled, "scheduled");
      default: return nullptr;
    }
  }
  const CadString& tagName() const override {
    static const CadString tag("member");
    return tag;
  }
};

// The tree: a list of members and a map of prices.
class Frame : public lunvik::XMLShippingAssembly {
 public:
  lunvik::XMLShippingList<Member> members{"memberList"};
  lunvik::XMLShippingUnitMap<double, double> prices{"priceList", "price", "keyLength", "cost"};

  std::size_t count() const override { return 2; }
  std::unique_ptr<Shipping> child(std::size_t index) override {
    if (index == 0) return lunvik::shippingProxy(members);
    if (index == 1) return lunvik::shippingProxy(prices);
    return nullptr;
  }
  const CadString& tagName() const override {
    static const CadString tag("frame");
    return tag;
  }
};

std::unique_ptr<Frame> makeFrame(int scale) {
  auto frame = std::make_unique<Frame>();
  const int members = 10000 * scale;
  frame->members.items().reserve(std::size_t(members));
  for (int i = 0; i < members; ++i) {
    auto m = std::make_unique<Member>();
    m->name = CadString(("Rafter & purlin " + std::to_string(i)).c_str());
    m->pieces = short(i % 30000);
    m->length = 0.125 * (i % 4000) + 1.0 / 3;
    m->scheduled = i % 3 == 0;
    frame->members.items().push_back(std::move(m));
  }
  for (int i = 0; i < 1000 * scale; ++i) frame->prices.put(0.01 * i, 12.5 + i);
  return frame;
}

std::string writeFrame(Frame& frame) {
  lunvik::DataBufferOut out;
  if (!lunvik::XMLWriter().write(frame, out, true)) return std::string();
  return out.takeBytes();
}

// The text of each scale, made once.
const std::string& frameText(int scale) {
  static std::string texts[101];
  if (texts[scale].empty()) texts[scale] = writeFrame(*makeFrame(scale));
  return texts[scale];
}

void BM_Write(benchmark::State& state) {
  const int scale = int(state.range(0));
  auto frame = makeFrame(scale);
  std::size_t bytes = 0;
  {
    // One untimed pass first, so that a single timed pass at the largest size does not pay
    // for the memory the process takes from the system the first time.
    lunvik::DataBufferOut warmUp;
    lunvik::XMLWriter().write(*frame, warmUp, true);
  }
  for (auto _ : state) {
    lunvik::DataBufferOut out;
    if (!lunvik::XMLWriter().write(*frame, out, true)) state.SkipWithError("write failed");
    bytes = out.size();
    benchmark::DoNotOptimize(out.bytes().data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
  state.counters["bytes"] = double(bytes);
  state.counters["ns_per_byte"] =
      benchmark::Counter(double(bytes) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

void BM_Read(benchmark::State& state) {
  const int scale = int(state.range(0));
  const std::string& text = frameText(scale);
  {
    Frame warmUp;  // untimed, as for writing
    lunvik::XMLReader().read(warmUp, text.data(), text.size());
  }
  for (auto _ : state) {
    auto frame = std::make_unique<Frame>();
    lunvik::DataBufferIn in(text);
    if (!lunvik::XMLReader().read(*frame, in)) state.SkipWithError("read failed");
    if (frame->members.items().size() != std::size_t(10000 * scale))
      state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(frame->members.items().size());
    state.PauseTiming();
    frame.reset();  // deleting the tree is not part of the read
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
  state.counters["bytes"] = double(text.size());
  state.counters["ns_per_byte"] =
      benchmark::Counter(double(text.size()) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

#ifdef TRESTLAR_HAVE_PUGIXML
void BM_PugixmlParse(benchmark::State& state) {
  const int scale = int(state.range(0));
  const std::string& text = frameText(scale);
  for (auto _ : state) {
    pugi::xml_document document;
    auto result = document.load_buffer(text.data(), text.size());
    if (!result) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(document.first_child());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// Our read (into the shipped tree) over pugixml's parse (into its DOM) of the same text, each
// the best of 20 runs taken in turns.
void BM_ReadOverPugixml(benchmark::State& state) {
  const int scale = int(state.range(0));
  const std::string& text = frameText(scale);
  using Clock = std::chrono::steady_clock;
  double ratio = 0;
  for (auto _ : state) {
    double ours = 1e300, theirs = 1e300;
    for (int run = 0; run < 20; ++run) {
      {
        Frame frame;
        auto start = Clock::now();
        lunvik::DataBufferIn in(text);
        bool ok = lunvik::XMLReader().read(frame, in);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!ok) state.SkipWithError("read failed");
        if (seconds < ours) ours = seconds;
      }
      {
        pugi::xml_document document;
        auto start = Clock::now();
        auto result = document.load_buffer(text.data(), text.size());
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!result) state.SkipWithError("pugixml failed");
        if (seconds < theirs) theirs = seconds;
      }
    }
    ratio = ours / theirs;
    state.counters["ours_ms"] = ours * 1e3;
    state.counters["pugixml_ms"] = theirs * 1e3;
  }
  state.counters["ours_over_pugixml"] = ratio;
}
#endif

}  // namespace

BENCHMARK(BM_Write)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
#ifdef TRESTLAR_HAVE_PUGIXML
BENCHMARK(BM_PugixmlParse)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOverPugixml)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Freed memory stays with the allocator, so no run pays for fresh pages from the system; this
  // matters most to pugixml, whose page-sized blocks otherwise go back after every parse.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
