#pragma once

#include <string_view>
#include <vector>

#include "framework/stream.h"

namespace nitko {

// A stream on bytes held in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  // Holds a copy of the bytes, positioned at the start.
  explicit TMemoryStream(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}

  long long Read(void* buffer, long long count) override;
  long long Write(const void* buffer, long long count) override;
  long long Seek(long long offset, TSeekOrigin origin) override;
  void SetSize(long long size) override;
  long long Size() override { return static_cast<long long>(data_.size()); }

  const char* Memory() const { return data_.data(); }
  char* Memory() { return data_.data(); }
  void Clear();
  // Replaces the contents with the whole of the stream; the position is 0.
  void LoadFromStream(TStream& stream);
  // Writes the whole contents at the stream's position.
  void SaveToStream(TStream& stream) const;

 private:
  std::vector<char> data_;
  long long position_ = 0;
};

}  // namespace nitko
