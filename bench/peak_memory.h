// Peak resident memory of this process over one phase of a benchmark: the kernel's high-water
// mark (VmHWM) is reset before the phase and read after it, beside the resident size (VmRSS)
// it started from, so a phase's figure is what it added at its worst.
#pragma once

#include <malloc.h>

#include <fstream>
#include <string>

namespace bench_support {

// A field of /proc/self/status in kilobytes, 0 when it cannot be read.
inline double statusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.compare(0, field.size() + 1, field + ":") == 0) return std::stod(line.substr(field.size() + 1));
  return 0;
}

// Measures the peak memory one phase adds to what the process held when it started.
class PeakMemory {
 public:
  // Starts a phase: hands freed memory back to the system (so that memory the allocator kept
  // from earlier work does not hide the phase's own), then resets the high-water mark to the
  // current resident size.
  void start() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    startKb_ = statusKb("VmRSS");
  }
  // Megabytes the phase added at its peak.
  double addedMb() const {
    double peak = statusKb("VmHWM");
    return peak > startKb_ ? (peak - startKb_) / 1024 : 0;
  }

 private:
  double startKb_ = 0;
};

}  // namespace bench_support
