#include "framework/strings.h"

#include "framework/file_stream.h"
#include "runtime/exception.h"

namespace nitko {

int TStrings::Add(const std::string& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (Get(i) == s) return i;
  return -1;
}

void TStrings::Assign(const std::vector<std::string>& lines) {
  Clear();
  for (const std::string& s : lines) Add(s);
}

void TStrings::Assign(const TStrings& other) {
  if (&other != this) Assign(other.ToVector());
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> v;
  v.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) v.push_back(Get(i));
  return v;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) out += Get(i) + "\r\n";
  return out;
}

void TStrings::SetText(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  Assign(lines);
}

void TStrings::LoadFromStream(TStream& stream) { SetText(stream.ReadRest()); }

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

std::string TStringList::Get(int index) const {
  CheckListIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
  CheckListIndex(index, Count());
  items_[static_cast<size_t>(index)] = s;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) RaiseListError(index);
  items_.insert(items_.begin() + index, s);
  Changed();
}

void TStringList::Delete(int index) {
  CheckListIndex(index, Count());
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

}  // namespace nitko
