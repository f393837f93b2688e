// A temporary folder of 100,000 sub-folders mapped to drive B:, shared by the
// folder listing and directory outline benchmarks.
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "runtime/drive_map.h"

namespace nitko::bench {

constexpr int kFolders = 100000;
inline const char* const kCollations[] = {"C", "pl_PL.UTF-8"};
inline std::string gRoot;

// Mixed case, some non-ASCII, some case twins; created in a shuffled order.
inline void MakeFolders() {
  char pattern[] = "/tmp/nitko-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  gRoot = pattern;
  std::vector<std::string> names;
  const char* stems[] = {"folder", "Folder", "ŻÓŁW", "zebra", "Ąbc", "data"};
  for (int i = 0; i < kFolders; ++i)
    names.push_back(std::string(stems[i % 6]) + "_" + std::to_string(i / 2 * 7919 % 1000003));
  std::shuffle(names.begin(), names.end(), std::mt19937(1));
  for (const std::string& n : names) mkdir((gRoot + "/" + n).c_str(), 0755);
  MapDrive('B', gRoot);
}

inline void RemoveFolders() {
  nftw(gRoot.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
}

}  // namespace nitko::bench
