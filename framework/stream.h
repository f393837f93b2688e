#pragma once

#include <string>

#include "runtime/exception.h"

namespace nitko {

// A stream that cannot be read, written or positioned as asked.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SSeekError = "Stream seek error";

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// Bytes read and written at a position, which may lie past the end: a write
// there fills the gap with zeros.
class TStream {
 public:
  virtual ~TStream() = default;

  // Up to count bytes into buffer; returns how many (0 at the end).
  virtual long long Read(void* buffer, long long count) = 0;
  // Writes count bytes; returns how many.
  virtual long long Write(const void* buffer, long long count) = 0;
  // The new position; a position before the start raises SSeekError.
  virtual long long Seek(long long offset, TSeekOrigin origin) = 0;
  virtual void SetSize(long long size) = 0;
  virtual long long Size();

  long long Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(long long position) { Seek(position, TSeekOrigin::soBeginning); }

  // Exactly count bytes, or SReadError.
  void ReadBuffer(void* buffer, long long count);
  // All count bytes, or SWriteError.
  void WriteBuffer(const void* buffer, long long count);
  // Copies count bytes from source's position; count 0 copies the whole
  // source from its start. Returns the count copied.
  long long CopyFrom(TStream& source, long long count);
  // What is left from the position to the end, as bytes.
  std::string ReadRest();
};

}  // namespace nitko
