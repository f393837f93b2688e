#include "runtime/system_path.h"

namespace nitko {

bool IsPathDelimiter(std::string_view s, size_t index) {
  return index < s.size() && IsPathDelimiterChar(s[index]);
}

char PathDriveLetter(std::string_view path) {
  return (path.size() >= 2 && path[1] == ':') ? DriveLetter(path[0]) : 0;
}

std::vector<std::string_view> SplitPathNames(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && !IsPathDelimiterChar(path[i])) continue;
    if (i > start) names.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  return names;
}

std::vector<std::string_view> ResolveDotNames(const std::vector<std::string_view>& names) {
  std::vector<std::string_view> kept;
  kept.reserve(names.size());
  for (std::string_view n : names) {
    if (n == ".") continue;
    if (n == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(n);
  }
  return kept;
}

std::string JoinSystemPath(char drive, const std::vector<std::string_view>& names,
                           bool trailingDelimiter) {
  const std::vector<std::string_view> kept = ResolveDotNames(names);
  std::string out{drive, ':', '\\'};
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += '\\';
    out.append(kept[i]);
  }
  if (trailingDelimiter && !kept.empty()) out += '\\';
  return out;
}

}  // namespace nitko
