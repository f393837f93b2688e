#pragma once

#include <string>

#include "framework/stream.h"

namespace nitko {

class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// Each takes the file name and the system's reason.
inline constexpr const char* SFOpenError = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\". %s";
inline constexpr const char* SFReadError = "Cannot read file \"%s\". %s";
inline constexpr const char* SFWriteError = "Cannot write file \"%s\". %s";

enum TFileMode : unsigned {
  fmOpenRead = 0,
  fmOpenWrite = 1,
  fmOpenReadWrite = 2,
  // Creates the file, or empties it, for reading and writing.
  fmCreate = 0xFF00,
};

// A stream on a file, named by its native path. Failures of the system raise
// the messages above, with the name as shown (DisplayFileName); a folder
// does not open as a file.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, unsigned mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  long long Read(void* buffer, long long count) override;
  long long Write(const void* buffer, long long count) override;
  long long Seek(long long offset, TSeekOrigin origin) override;
  void SetSize(long long size) override;
  long long Size() override;

  const std::string& FileName() const { return fileName_; }

 private:
  // The filled pattern for a failure of the system.
  std::string Failure(const char* pattern, int error) const;

  std::string fileName_;
  int fd_ = -1;
};

}  // namespace nitko
