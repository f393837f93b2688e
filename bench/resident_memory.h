#pragma once

// The process's resident memory as the kernel reports it, in KiB.

#include <fstream>
#include <string>

namespace nitko::bench {

inline long ResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string key; status >> key;) {
    long kib = 0;
    if (key == "VmRSS:" && status >> kib) return kib;
  }
  return 0;
}

}  // namespace nitko::bench
