#include "runtime/cpu_load.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace nitko {

std::optional<CpuTimes> ParseCpuTimes(std::string_view text) {
  constexpr std::string_view kTag = "cpu ";
  size_t at = 0;
  while (text.substr(at, kTag.size()) != kTag) {
    at = text.find('\n', at);
    if (at == std::string_view::npos) return std::nullopt;
    ++at;
  }
  const size_t end = text.find('\n', at);
  std::string_view line =
      text.substr(at + kTag.size(), end == std::string_view::npos ? end : end - at - kTag.size());
  // user nice system idle iowait irq softirq steal (guest guest_nice)
  unsigned long long f[8] = {};
  int n = 0;
  while (n < 8) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.empty()) break;
    const auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), f[n]);
    if (ec != std::errc()) break;
    line.remove_prefix(static_cast<size_t>(ptr - line.data()));
    ++n;
  }
  if (n < 4) return std::nullopt;
  CpuTimes t;
  t.user = f[0] + f[1];
  t.system = f[2] + f[5] + f[6];
  t.total = t.user + t.system + f[3] + f[4] + f[7];
  return t;
}

std::optional<CpuTimes> ReadCpuTimes(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return ParseCpuTimes(text.str());
}

CpuShares SharesBetween(const CpuTimes& before, const CpuTimes& after) {
  if (after.total <= before.total || after.user < before.user || after.system < before.system)
    return {};
  const unsigned long long total = after.total - before.total;
  auto perMille = [total](unsigned long long part) {
    return static_cast<int>(std::min(part, total) * 1000 / total);
  };
  return {perMille(after.user - before.user), perMille(after.system - before.system)};
}

std::optional<CpuShares> TCpuLoadMeter::Sample() {
  const std::optional<CpuTimes> now = ReadCpuTimes(path_);
  const std::optional<CpuTimes> before = last_;
  last_ = now;
  if (!now || !before) return std::nullopt;
  return SharesBetween(*before, *now);
}

}  // namespace nitko
