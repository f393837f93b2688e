#include "framework/stream.h"

#include <algorithm>
#include <vector>

namespace nitko {

long long TStream::Size() {
  const long long here = Position();
  const long long end = Seek(0, TSeekOrigin::soEnd);
  SetPosition(here);
  return end;
}

void TStream::ReadBuffer(void* buffer, long long count) {
  if (count != 0 && Read(buffer, count) != count) throw EStreamError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, long long count) {
  if (count != 0 && Write(buffer, count) != count) throw EStreamError(SWriteError);
}

long long TStream::CopyFrom(TStream& source, long long count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<char> chunk(static_cast<size_t>(std::min<long long>(count, 1 << 16)));
  for (long long left = count; left > 0;) {
    const long long n = std::min<long long>(left, static_cast<long long>(chunk.size()));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

std::string TStream::ReadRest() {
  const long long left = std::max<long long>(Size() - Position(), 0);
  std::string bytes(static_cast<size_t>(left), '\0');
  ReadBuffer(bytes.data(), left);
  return bytes;
}

}  // namespace nitko
