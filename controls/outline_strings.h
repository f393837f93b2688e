#pragma once

#include <string>

#include "framework/strings.h"

namespace nitko {

class TCustomOutline;

// The items of an outline as a string list: line i is item i + 1 written
// as (level - 1) tabs and its text; a line's object is the item's Data.
class TOutlineStrings : public TStrings {
 public:
  explicit TOutlineStrings(TCustomOutline& outline) : outline_(outline) {}

  int Count() const override;
  std::string Get(int index) const override;
  // The text of item index + 1, taken as it is.
  void Put(int index, const std::string& s) override;
  // Before item index + 1 (at the end of the top level for index = Count),
  // the indentation taken as text.
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Leading tabs and spaces give the depth: the last item's level or one
  // more adds a child of the last item, less climbs to that depth; deeper
  // raises "File load error". Returns the new line's index.
  int Add(const std::string& s) override;

  void* GetObject(int index) const;
  void PutObject(int index, void* data);

 private:
  TCustomOutline& outline_;
};

}  // namespace nitko
