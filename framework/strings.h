#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/persistent.h"

namespace nitko {

class TStream;

// An ordered list of text lines.
class TStrings : public TPersistent {
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  int Add(const std::string& s);
  std::string operator[](int index) const { return Get(index); }
  int IndexOf(const std::string& s) const;
  void Assign(const std::vector<std::string>& lines);
  void Assign(const TStrings& other);
  std::vector<std::string> ToVector() const;
  // The lines, each followed by a line break.
  std::string Text() const;
  // Splits at CR LF, LF or CR.
  void SetText(const std::string& text);

  // The lines from the stream's position to its end, as SetText reads them.
  void LoadFromStream(TStream& stream);
  // Text() at the stream's position, whole, however long its lines.
  void SaveToStream(TStream& stream) const;
  // The same on a file named by its native path.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
};

class TStringList : public TStrings {
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

  // Fires after every change.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> items_;
};

}  // namespace nitko
