// Any bytes as an outline's text, the first byte choosing the look and
// whether the loaded tree is expanded and painted:
// - LoadLines either replaces the tree or raises EOutlineError and leaves
//   the outline as it was; a loaded tree saves as text that loads back to
//   the same text, and its items are found by number and read back through
//   the string-list view as the saved lines;
// - the same lines given one by one to the string-list view's Add each land
//   at the depth the indentation asks (one step of extra indentation
//   tolerated, too deep refused, past level 256 shown by the handler), and
//   when the text loads and its first line is not indented, they build the
//   tree the load built.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "controls/outline.h"
#include "controls/outline_strings.h"
#include "framework/exception_handling.h"
#include "framework/form.h"
#include "framework/memory_stream.h"
#include "fuzz_qt.h"

using namespace nitko;

namespace {

constexpr int kMaxLevel = 256;
constexpr size_t kMaxAdded = 2000;

std::string Saved(TCustomOutline& o) {
  TMemoryStream out;
  o.SaveLines(out);
  out.SetPosition(0);
  return out.ReadRest();
}

bool Load(TCustomOutline& o, std::string_view text) {
  TMemoryStream in(text);
  try {
    o.LoadLines(in);
    return true;
  } catch (const EOutlineError&) {
    return false;
  }
}

// The lines as the loader splits them: at CR LF, a lone CR or a lone LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back(text.substr(begin, end - begin));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    begin = end + 1;
  }
  return lines;
}

size_t Indent(std::string_view s) {
  size_t d = 0;
  while (d < s.size() && (s[d] == '\t' || s[d] == ' ')) ++d;
  return d;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckLoaded(TCustomOutline& o, std::string_view text) {
  const std::string saved = Saved(o);
  const std::vector<std::string_view> lines = SplitLines(text), savedLines = SplitLines(saved);
  Check(o.ItemCount() == static_cast<int>(lines.size()));
  Check(savedLines.size() == lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    TOutlineNode* node = o.ItemAt(index);
    Check(node->Index() == index && !node->Expanded());
    Check(node->Text() == lines[i].substr(Indent(lines[i])));
    Check(o.Lines().Get(index - 1) == savedLines[i]);
  }
  TCustomOutline again(nullptr);
  Check(Load(again, saved) && Saved(again) == saved);
}

// Adds each line through the string-list view, checking where it lands.
void AddLines(TCustomOutline& o, const std::vector<std::string_view>& lines,
              std::vector<std::string>& shown) {
  for (std::string_view line : lines) {
    const int count = o.ItemCount();
    const int last = count == 0 ? 0 : o.ItemAt(count)->Level();
    const size_t depth = Indent(line);
    const int level = static_cast<int>(std::min<size_t>(depth, static_cast<size_t>(last))) + 1;
    const size_t shownBefore = shown.size();
    int index = 0;
    try {
      index = o.Lines().Add(std::string(line));
    } catch (const EOutlineError&) {
      Check(depth > static_cast<size_t>(last) + 1 && o.ItemCount() == count);
      continue;
    }
    Check(depth <= static_cast<size_t>(last) + 1);
    if (level > kMaxLevel) {
      Check(index == -1 && o.ItemCount() == count && shown.size() == shownBefore + 1 &&
            shown.back() == SOutlineMaxLevels);
      continue;
    }
    Check(index == count && o.ItemCount() == count + 1 && shown.size() == shownBefore);
    TOutlineNode* added = o.ItemAt(count + 1);
    Check(added->Level() == level && added->Text() == line.substr(depth));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::StartQt(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> shown;
  SetEventExceptionHandler(
      [&shown](std::exception_ptr e) { shown.push_back(DescribeException(e).message); });
  {
    TForm form(nullptr);
    form.SetBounds(0, 0, 240, 200);
    auto* o = new TCustomOutline(&form);
    o->SetParent(&form);
    o->SetBounds(0, 0, 200, 160);
    o->SetLook(static_cast<TOutlineLook>((flags & 7) % 6));
    Check(Load(*o, "kept\r\n\tas it was\r\n"));
    const std::string before = Saved(*o);
    const bool loaded = Load(*o, text);
    if (loaded) {
      CheckLoaded(*o, text);
    } else {
      Check(Saved(*o) == before && o->ItemCount() == 2);
    }
    if (flags & 8) {
      o->ExpandAll();
      o->Repaint();
    }

    std::vector<std::string_view> lines = SplitLines(text);
    if (lines.size() > kMaxAdded) lines.resize(kMaxAdded);
    TCustomOutline added(nullptr);
    AddLines(added, lines, shown);
    if (loaded && lines.size() == static_cast<size_t>(o->ItemCount()) &&
        (lines.empty() || Indent(lines.front()) == 0))
      Check(Saved(added) == Saved(*o));
  }
  SetEventExceptionHandler(nullptr);
  fuzz::FinishInput();
  return 0;
}
