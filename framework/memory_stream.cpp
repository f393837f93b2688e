#include "framework/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace nitko {

long long TMemoryStream::Read(void* buffer, long long count) {
  const long long n = std::clamp<long long>(Size() - position_, 0, std::max<long long>(count, 0));
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

long long TMemoryStream::Write(const void* buffer, long long count) {
  if (count <= 0) return 0;
  if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

long long TMemoryStream::Seek(long long offset, TSeekOrigin origin) {
  const long long from = origin == TSeekOrigin::soBeginning ? 0
                         : origin == TSeekOrigin::soCurrent ? position_
                                                            : Size();
  if (from + offset < 0) throw EStreamError(SSeekError);
  position_ = from + offset;
  return position_;
}

void TMemoryStream::SetSize(long long size) {
  if (size < 0) throw EStreamError(SSeekError);
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const long long size = stream.Size();
  std::vector<char> bytes(static_cast<size_t>(size));
  stream.ReadBuffer(bytes.data(), size);
  data_.swap(bytes);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(data_.data(), static_cast<long long>(data_.size()));
}

}  // namespace nitko
