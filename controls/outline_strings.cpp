#include "controls/outline_strings.h"

#include "controls/outline.h"

namespace nitko {

int TOutlineStrings::Count() const {
  return outline_.ItemCount();
}

std::string TOutlineStrings::Get(int index) const {
  TOutlineNode* node = outline_.ItemAt(index + 1);
  return std::string(static_cast<size_t>(node->Level() - 1), '\t') + node->Text();
}

void TOutlineStrings::Put(int index, const std::string& s) {
  outline_.ItemAt(index + 1)->SetText(s);
}

void TOutlineStrings::Insert(int index, const std::string& s) {
  outline_.InsertBefore(index == Count() ? 0 : index + 1, s);
}

void TOutlineStrings::Delete(int index) {
  outline_.RemoveItem(index + 1);
}

void TOutlineStrings::Clear() {
  outline_.Clear();
}

int TOutlineStrings::Add(const std::string& s) {
  size_t depth = 0;
  while (depth < s.size() && (s[depth] == '\t' || s[depth] == ' ')) ++depth;
  const int d = static_cast<int>(depth);
  const int count = outline_.ItemCount();
  TOutlineNode* parent = count == 0 ? nullptr : outline_.ItemAt(count);
  const int level = parent == nullptr ? 0 : parent->Level();
  if (d > level + 1) throw EOutlineError(SOutlineFileLoad);
  for (int k = level - d; k > 0; --k) parent = parent->Parent();
  const int index = outline_.AppendChild(parent == nullptr ? 0 : parent->Index(), s.substr(depth));
  return index - 1;
}

void* TOutlineStrings::GetObject(int index) const {
  return outline_.ItemAt(index + 1)->Data();
}

void TOutlineStrings::PutObject(int index, void* data) {
  outline_.ItemAt(index + 1)->SetData(data);
}

}  // namespace nitko
