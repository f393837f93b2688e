#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nitko {

// Processor time of the whole machine since boot, in clock ticks, from the
// first line of /proc/stat. Guest time is already part of user time there.
struct CpuTimes {
  unsigned long long user = 0;    // user + nice
  unsigned long long system = 0;  // system + irq + softirq
  unsigned long long total = 0;   // every state, idle and iowait included
};

// The "cpu" line of a /proc/stat text; nothing when there is none or it
// holds fewer than the four fields every kernel writes.
std::optional<CpuTimes> ParseCpuTimes(std::string_view procStat);
std::optional<CpuTimes> ReadCpuTimes(const std::string& path = "/proc/stat");

// Per mille of the processor time that passed between two readings.
struct CpuShares {
  int user = 0;
  int system = 0;
};

// 0 and 0 when no time passed or a counter went back (processors taken
// offline can lower the sums).
CpuShares SharesBetween(const CpuTimes& before, const CpuTimes& after);

// The load since the previous sample: the first one has nothing to compare
// with and gives nothing, as does a failed reading.
class TCpuLoadMeter {
 public:
  explicit TCpuLoadMeter(std::string path = "/proc/stat") : path_(std::move(path)) {}
  std::optional<CpuShares> Sample();

 private:
  std::string path_;
  std::optional<CpuTimes> last_;
};

}  // namespace nitko
